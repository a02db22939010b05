// vistado-meta on maker notes and on places from the offline lookup, run
// as users run it.

#include "jpegbuilder.h"
#include "realjpeg.h"
#include "runprogram.h"
#include "testfiles.h"
#include "tiffbuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace vistado::test {
namespace {

const std::string kTool = VISTADO_META_TOOL;

// Runs the tool with environment settings such as "LC_ALL=C.UTF-8" (or "-u
// NAME" to unset one) in front of its arguments.
ProgramResult metaIn(const std::vector<std::string>& environment, const std::vector<std::string>& arguments)
{
    std::vector<std::string> command = {"env"};
    command.insert(command.end(), environment.begin(), environment.end());
    command.push_back(kTool);
    command.insert(command.end(), arguments.begin(), arguments.end());
    return runProgram(command);
}

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

TEST(MetaToolMakerNotes, TagsAndReportShowMakerNoteTags)
{
    const std::string corpus = corpusDir();
    if (corpus.empty())
        GTEST_SKIP() << "no sample files";
    const std::string canon = corpus + "/jpeg/Canon_PowerShot_S40.jpg";
    const ProgramResult tags = metaIn({}, {"--tags", canon});
    ASSERT_EQ(tags.exitStatus, 0) << tags.err;
    EXPECT_TRUE(contains(tags.out, "\nFirmwareVersion\t\"Firmware Version 1.10\"\n"));
    EXPECT_TRUE(contains(tags.out, "\nOwnerName\t\"Andreas Huggel\"\n"));
    EXPECT_TRUE(contains(tags.out, "\nMacro mode\tNormal\n"));
    EXPECT_TRUE(contains(tags.out, "\nAF Point\tCenter\n"));
    EXPECT_TRUE(contains(tags.out, "\nExposureInfo1\t80, 2, 0, 5, 1,"));

    const ProgramResult report = metaIn({}, {"--report", canon});
    ASSERT_EQ(report.exitStatus, 0) << report.err;
    EXPECT_TRUE(contains(report.out, "\nMacro mode = Normal\nSelf Timer =  2\n"));
    EXPECT_TRUE(contains(report.out, "\nFocus Mode = Single\nExposureInfo1 = 80, 2, 0, 5, 1,"));
    EXPECT_TRUE(contains(report.out, "\nImageNumber = 1171771\n"));

    const ProgramResult nikon = metaIn({}, {"--report", corpus + "/jpeg/DSCN0010.jpg"});
    EXPECT_TRUE(contains(nikon.out, "\nQuality = \"FINE   \"\n"));
}

// A JPEG with a GPS position, written as cameras write it.
std::string photoAt(double latitude, double longitude)
{
    auto rational = [](double degrees) {
        const double whole = std::floor(degrees);
        const double minutes = (degrees - whole) * 60;
        return std::vector<std::pair<uint32_t, uint32_t>>{
            {static_cast<uint32_t>(whole), 1},
            {static_cast<uint32_t>(std::floor(minutes)), 1},
            {static_cast<uint32_t>(std::lround((minutes - std::floor(minutes)) * 60 * 100)), 100}};
    };
    TiffBuilder tiff(false);
    tiff.addAscii(0, 0x010F, "NIKON");
    const int gps = tiff.addDirectory();
    tiff.addPointer(0, 0x8825, gps);
    tiff.addAscii(gps, 0x0001, latitude < 0 ? "S" : "N");
    tiff.addRationals(gps, 0x0002, rational(std::fabs(latitude)));
    tiff.addAscii(gps, 0x0003, longitude < 0 ? "W" : "E");
    tiff.addRationals(gps, 0x0004, rational(std::fabs(longitude)));
    return jpegFile({exifSegment(tiff.build()), quantTableSegment(), scanSegment()});
}

// The same position in front of a real image, which a writer can rewrite.
std::string rewritablePhotoAt(double latitude, double longitude)
{
    const std::string photo = photoAt(latitude, longitude);
    const size_t exifLength = static_cast<uint8_t>(photo[4]) * 256u + static_cast<uint8_t>(photo[5]);
    return photo.substr(0, 4 + exifLength) + realJpeg(16, 16).substr(2);
}

class MetaToolPlaceTest : public testing::Test {
protected:
    std::string photo(const std::string& name, const std::string& bytes)
    {
        const std::string path = dir.file(name);
        writeFile(path, bytes);
        return path;
    }

    TempDir dir;
};

TEST_F(MetaToolPlaceTest, NamesFollowTheMessagesLocale)
{
    const std::string arezzo = photo("arezzo.jpg", photoAt(43.4633, 11.8796));
    const std::string newburn = photo("newburn.jpg", photoAt(54.9875, -1.7417));
    const ProgramResult german = metaIn({"LC_ALL=C.UTF-8", "LANGUAGE=de"}, {"--place", arezzo, newburn});
    EXPECT_EQ(german.exitStatus, 0) << german.err;
    EXPECT_EQ(german.out, arezzo + ":\n>Arezzo<>Toskana<>Italien<>IT<\n\n" + newburn +
                              ":\n>Newburn<>England<>Vereinigtes Königreich<>GB<\n");

    // Taken from LANG when nothing more particular is set.
    const ProgramResult fromLang = metaIn(
        {"-u", "LC_ALL", "-u", "LC_MESSAGES", "-u", "LC_CTYPE", "LANG=C.UTF-8", "LANGUAGE=de"},
        {"--place", arezzo});
    EXPECT_EQ(fromLang.out, ">Arezzo<>Toskana<>Italien<>IT<\n");

    // The "C" locale has no translations: English names.
    const ProgramResult english = metaIn({"LC_ALL=C", "LANGUAGE=de"}, {"--place", arezzo, newburn});
    EXPECT_EQ(english.out, arezzo + ":\n>Arezzo<>Tuscany<>Italy<>IT<\n\n" + newburn +
                               ":\n>Newburn<>England<>United Kingdom<>GB<\n");
}

TEST_F(MetaToolPlaceTest, EmptyLineWithoutAPlace)
{
    const std::string ocean = photo("ocean.jpg", photoAt(0.5, -30.5));
    const std::string noGps = photo("nogps.jpg", jpegFile({commentSegment("no Exif"), scanSegment()}));
    const ProgramResult result = metaIn({"LC_ALL=C.UTF-8"}, {"--place", ocean, noGps});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.out, ocean + ":\n\n\n" + noGps + ":\n\n");
}

TEST_F(MetaToolPlaceTest, SampleFilesFromArezzo)
{
    const std::string corpus = corpusDir();
    if (corpus.empty())
        GTEST_SKIP() << "no sample files";
    std::vector<std::string> arguments = {"--place"};
    std::string expected;
    for (const char* name : {"DSCN0010.jpg", "DSCN0012.jpg", "DSCN0021.jpg", "DSCN0025.jpg", "DSCN0027.jpg",
                             "DSCN0029.jpg", "DSCN0038.jpg", "DSCN0040.jpg", "DSCN0042.jpg"}) {
        const std::string path = corpus + "/jpeg/" + name;
        arguments.push_back(path);
        expected += (expected.empty() ? "" : "\n") + path + ":\n>Arezzo<>Toskana<>Italien<>IT<\n";
    }
    const ProgramResult arezzo = metaIn({"LC_ALL=C.UTF-8", "LANGUAGE=de"}, arguments);
    EXPECT_EQ(arezzo.exitStatus, 0) << arezzo.err;
    EXPECT_EQ(arezzo.out, expected);

    const ProgramResult withoutGps =
        metaIn({"LC_ALL=C.UTF-8"}, {"--place", corpus + "/jpeg/Canon_PowerShot_S40.jpg"});
    EXPECT_EQ(withoutGps.exitStatus, 0);
    EXPECT_EQ(withoutGps.out, "\n");
}

// --place --write puts the place into the location fields, in the language of the
// messages locale; --iptc, --xmp, --json and the peers read them back.
TEST_F(MetaToolPlaceTest, WriteFillsTheLocationFields)
{
    const std::string munich = photo("muenchen.jpg", rewritablePhotoAt(48.1374, 11.5755));
    const std::string vienna = photo("wien.jpg", rewritablePhotoAt(48.2082, 16.3738));
    const std::vector<std::string> german = {"LC_ALL=C.UTF-8", "LANGUAGE=de"};
    const ProgramResult written = metaIn(german, {"--place", "--write", munich, vienna});
    EXPECT_EQ(written.exitStatus, 0) << written.err;
    EXPECT_EQ(written.out, munich + ":\n>M\xC3\xBCnchen<>Bayern<>Deutschland<>DE<\n\n" + vienna +
                               ":\n>Wien<>Wien<>\xC3\x96sterreich<>AT<\n");

    EXPECT_EQ(metaIn(german, {"--iptc", vienna}).out, "City\tWien\nState\tWien\nLocationCode\tAUT\nLocationName\t\xC3\x96sterreich\n");
    EXPECT_EQ(metaIn(german, {"--xmp", munich}).out,
              "XMP-photoshop:City\tM\xC3\xBCnchen\nXMP-photoshop:State\tBayern\nXMP-photoshop:Country\tDeutschland\n"
              "XMP-iptcCore:CountryCode\tDEU\nXMP-iptcExt:LocationCreatedCity\tM\xC3\xBCnchen\n"
              "XMP-iptcExt:LocationCreatedProvinceState\tBayern\nXMP-iptcExt:LocationCreatedCountryName\tDeutschland\n"
              "XMP-iptcExt:LocationCreatedCountryCode\tDEU\n");
    EXPECT_TRUE(contains(metaIn(german, {"--json", vienna}).out, "\"XMP-iptcExt:LocationCreatedCountryName\": \"\xC3\x96sterreich\""));
    EXPECT_EQ(runProgram({"exiftool", "-s3", "-IPTC:City", "-XMP-iptcExt:LocationCreatedCountryName", vienna}).out,
              "Wien\n\xC3\x96sterreich\n");
    if (programAvailable("exiv2")) {
        EXPECT_TRUE(contains(runProgram({"exiv2", "-pi", munich}).out, "M\xC3\xBCnchen"));
    }

    // A file that holds fields keeps them: nothing is written.
    const std::string before = readFile(munich);
    const ProgramResult again = metaIn(german, {"--place", "--write", munich});
    EXPECT_EQ(again.exitStatus, 0);
    EXPECT_EQ(again.err, munich + ": Ortsfelder vorhanden\n");
    EXPECT_EQ(readFile(munich), before);
    EXPECT_EQ(metaIn(german, {"--write", munich}).exitStatus, 1);
}

// Installed, the tool finds the gazetteer in the data folder beside its own; a damaged one is
// said once, and libgeonames' cities answer instead.
TEST_F(MetaToolPlaceTest, FindsTheGazetteerWhereItIsInstalled)
{
    const std::filesystem::path built = VISTADO_GAZETTEER_FILE;
    if (!std::filesystem::exists(built))
        GTEST_SKIP() << "no gazetteer built at " << built;
    const std::string montepulciano = photo("montepulciano.jpg", photoAt(43.0932, 11.7806));
    const std::string arezzo = photo("arezzo.jpg", photoAt(43.4633, 11.8796));
    const std::filesystem::path prefix = dir.file("usr");
    std::filesystem::create_directories(prefix / "bin");
    std::filesystem::create_directories(prefix / "share/vistado");
    const std::filesystem::path installedTool = prefix / "bin/vistado-meta";
    const std::filesystem::path installedGazetteer = prefix / "share/vistado" / built.filename();
    std::filesystem::copy_file(kTool, installedTool);
    std::filesystem::copy_file(built, installedGazetteer);
    const std::vector<std::string> command{"env", "LC_ALL=C", installedTool, "--place", montepulciano, arezzo};

    const ProgramResult installed = runProgram(command);
    EXPECT_EQ(installed.exitStatus, 0) << installed.err;
    EXPECT_EQ(installed.err, "");
    EXPECT_EQ(installed.out, montepulciano + ":\n>Montepulciano<>Tuscany<>Italy<>IT<\n\n" + arezzo +
                                 ":\n>Arezzo<>Tuscany<>Italy<>IT<\n");

    writeFile(installedGazetteer, readFile(built).substr(0, 100));
    const ProgramResult damaged = runProgram(command);
    EXPECT_EQ(damaged.exitStatus, 0) << damaged.err;
    EXPECT_EQ(damaged.out, montepulciano + ":\n>Arezzo<>Tuscany<>Italy<>IT<\n\n" + arezzo +
                               ":\n>Arezzo<>Tuscany<>Italy<>IT<\n");
    EXPECT_TRUE(damaged.err.starts_with("offline places: " + installedGazetteer.string() + ": ")) << damaged.err;
    EXPECT_EQ(std::count(damaged.err.begin(), damaged.err.end(), '\n'), 1) << damaged.err;
}

}  // namespace
}  // namespace vistado::test
