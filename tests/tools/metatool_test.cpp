// The vistado-meta program, run as users run it: against ExifTool's values for
// the sample camera files, on files that ExifTool writes, and its own rules.

#include "jpegbuilder.h"
#include "realjpeg.h"
#include "runprogram.h"
#include "testfiles.h"
#include "tiffbuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on
#include <map>
#include <set>
#include <sstream>
#include <sys/stat.h>

namespace vistado::test {
namespace {

const std::string kTool = VISTADO_META_TOOL;

TProgramResult Meta(std::vector<std::string> arguments)
{
    arguments.insert(arguments.begin(), kTool);
    return RunProgram(arguments);
}

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> fields;
    std::stringstream stream(text);
    std::string field;
    while (std::getline(stream, field, separator))
        fields.push_back(field);
    return fields;
}

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The rows of ExifTool's values, by file, then by column name.
std::map<std::string, std::map<std::string, std::string>> ExpectedValues(const std::string& corpus)
{
    const std::vector<std::string> lines = Split(ReadFile(corpus + "/expected-exiftool.tsv"), '\n');
    const std::vector<std::string> header = Split(lines.at(0), '\t');
    std::map<std::string, std::map<std::string, std::string>> rows;
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::vector<std::string> fields = Split(lines[i], '\t');
        for (size_t c = 1; c < fields.size() && c < header.size(); ++c)
            rows[fields[0]][header[c]] = fields[c];
    }
    return rows;
}

// The tool's output for several files: the lines after each "FILE:" line.
std::map<std::string, std::vector<std::string>> Blocks(const std::string& out)
{
    std::map<std::string, std::vector<std::string>> blocks;
    std::vector<std::string>* current = nullptr;
    for (const std::string& line : Split(out, '\n')) {
        if (!line.empty() && line.back() == ':' && line.find('\t') == std::string::npos &&
            line.find('/') != std::string::npos)
            current = &blocks[line.substr(0, line.size() - 1)];
        else if (current != nullptr && !line.empty())
            current->push_back(line);
    }
    return blocks;
}

TEST(MetaTool, GpsAgreesWithExifToolOnTheSampleFiles)
{
    const std::string corpus = CorpusDir();
    if (corpus.empty())
        GTEST_SKIP() << "no sample files";
    const auto expected = ExpectedValues(corpus);
    ASSERT_FALSE(expected.empty());
    std::vector<std::string> arguments = {"--gps"};
    for (const auto& [file, values] : expected)
        arguments.push_back(corpus + "/" + file);
    const TProgramResult result = Meta(arguments);
    const auto blocks = Blocks(result.out);

    for (const auto& [file, values] : expected) {
        SCOPED_TRACE(file);
        const auto block = blocks.find(corpus + "/" + file);
        const bool hasGps = values.at("GPSLatitude") != "-";
        if (block == blocks.end() || block->second.empty()) {
            EXPECT_FALSE(hasGps);
            continue;
        }
        ASSERT_TRUE(hasGps) << block->second[0];
        const std::vector<std::string> position = Split(block->second[0], ',');
        ASSERT_EQ(position.size(), 2u);
        EXPECT_NEAR(std::stod(position[0]), std::stod(values.at("GPSLatitude")), 1e-6);
        EXPECT_NEAR(std::stod(position[1]), std::stod(values.at("GPSLongitude")), 1e-6);
    }
}

TEST(MetaTool, CameraAndDateAgreeWithExifTool)
{
    const std::string corpus = CorpusDir();
    if (corpus.empty())
        GTEST_SKIP() << "no sample files";
    // Its date stands in a maker-specific segment, not in Exif data.
    const std::set<std::string> dateOutsideExif = {"jpeg/et_CasioQVCI.jpg"};
    for (const auto& [file, values] : ExpectedValues(corpus)) {
        SCOPED_TRACE(file);
        const TProgramResult result = Meta({"--tags", corpus + "/" + file});
        std::map<std::string, std::string> tags;
        for (const std::string& line : Split(result.out, '\n')) {
            const size_t tab = line.find('\t');
            if (tab != std::string::npos)
                tags.emplace(line.substr(0, tab), Trimmed(line.substr(tab + 1)));
        }
        for (const char* name : {"Make", "Model", "DateTimeOriginal"}) {
            if (name == std::string("DateTimeOriginal") && dateOutsideExif.contains(file))
                continue;
            const std::string& want = values.at(name);
            const auto found = tags.find(name);
            EXPECT_EQ(found == tags.end() ? "-" : found->second, want) << name;
        }
    }
}

struct WrittenPosition {
    double latitude;  // signed: negative for S
    double longitude; // signed: negative for W
    const char* byteOrder;
};

TEST(MetaTool, ReadsPositionsThatExifToolWrites)
{
    if (!ProgramAvailable("exiftool") || !ProgramAvailable("djpeg"))
        GTEST_SKIP() << "exiftool or djpeg missing";
    const WrittenPosition positions[] = {
        {48.142933, 11.575278, "MM"},
        {-33.856784, 151.215297, "II"},
        {54.989667, -1.914167, "II"},
        {-22.906847, -43.172897, "MM"},
        {47.5, 8.25, "II"},          // seconds zero
        {0.016667, -0.5, "MM"},      // near the equator and the prime meridian
    };
    TTempDir dir;
    const std::string original = RealJpeg(64, 48);
    for (const WrittenPosition& p : positions) {
        SCOPED_TRACE(std::to_string(p.latitude) + "," + std::to_string(p.longitude) + " " + p.byteOrder);
        const std::string path = dir.File("written.jpg");
        WriteFile(path, original);
        const TProgramResult written = RunProgram({
            "exiftool", "-q", "-overwrite_original", std::string("-ExifByteOrder=") + p.byteOrder,
            "-GPSLatitude=" + std::to_string(std::fabs(p.latitude)),
            std::string("-GPSLatitudeRef=") + (p.latitude < 0 ? "S" : "N"),
            "-GPSLongitude=" + std::to_string(std::fabs(p.longitude)),
            std::string("-GPSLongitudeRef=") + (p.longitude < 0 ? "W" : "E"), path});
        ASSERT_EQ(written.exitStatus, 0) << written.err;
        ASSERT_EQ(RunProgram({"djpeg", "-outfile", dir.File("decoded.ppm"), path}).exitStatus, 0);

        const TProgramResult read = Meta({"--gps", path});
        ASSERT_EQ(read.exitStatus, 0) << read.err;
        const std::vector<std::string> position = Split(Trimmed(read.out.substr(0, read.out.find('\n'))), ',');
        ASSERT_EQ(position.size(), 2u) << read.out;
        EXPECT_NEAR(std::stod(position[0]), p.latitude, 1e-6);
        EXPECT_NEAR(std::stod(position[1]), p.longitude, 1e-6);
        EXPECT_EQ(position[0][0] == '-', p.latitude < 0);
        EXPECT_EQ(position[1][0] == '-', p.longitude < 0);

        const std::string bytes = ReadFile(path);
        const size_t tiff = bytes.find(std::string("Exif\0\0", 6));
        ASSERT_NE(tiff, std::string::npos);
        EXPECT_EQ(bytes.substr(tiff + 6, 2), p.byteOrder);
    }
}

TEST(MetaTool, ModesAndErrors)
{
    TTempDir dir;
    const std::string good = dir.File("good.jpg");
    WriteFile(good, JpegFile({CommentSegment("only a comment"), ScanSegment()}));
    const std::string text = dir.File("notes.txt");
    WriteFile(text, "hello");

    const TProgramResult summary = Meta({dir.File("absent.jpg"), good, text});
    EXPECT_EQ(summary.exitStatus, 1);
    EXPECT_EQ(summary.err, dir.File("absent.jpg") + ": not found\n" + text + ": Not an EXIF file\n");
    EXPECT_EQ(summary.out, good + ":\n\n");

    const TProgramResult gps = Meta({"--gps", good});
    EXPECT_EQ(gps.exitStatus, 0);
    EXPECT_EQ(gps.out, "\n");

    const TProgramResult unknown = Meta({"--colour", good});
    EXPECT_EQ(unknown.exitStatus, 1);
    EXPECT_NE(unknown.err.find("unknown option --colour"), std::string::npos);

    EXPECT_EQ(Meta({}).exitStatus, 1);
    EXPECT_EQ(Meta({"--help"}).exitStatus, 0);
}

TEST(MetaTool, TagsAndReportOfOneFile)
{
    const std::string corpus = CorpusDir();
    if (corpus.empty())
        GTEST_SKIP() << "no sample files";
    const std::string file = corpus + "/jpeg/DSCN0010.jpg";
    const TProgramResult tags = Meta({"--tags", file});
    ASSERT_EQ(tags.exitStatus, 0);
    EXPECT_NE(tags.out.find("Make\tNIKON\n"), std::string::npos);
    EXPECT_NE(tags.out.find("GPSLatitudeRef\tN\n"), std::string::npos);
    EXPECT_NE(tags.out.find("GPSLatitude\t43.467448\n"), std::string::npos);
    EXPECT_NE(tags.out.find("FNumber\tF5.9\n"), std::string::npos);
    for (const std::string& line : Split(tags.out, '\n'))
        EXPECT_NE(line.find('\t'), std::string::npos) << line;

    const TProgramResult report = Meta({"--report", file});
    ASSERT_EQ(report.exitStatus, 0);
    EXPECT_TRUE(report.out.starts_with("Image Description = ")) << report.out.substr(0, 40);
    EXPECT_NE(report.out.find("\nMake = NIKON\n"), std::string::npos);
    EXPECT_NE(report.out.find("\nGPSLatitude = 43.467448\n"), std::string::npos);
    EXPECT_EQ(report.out.find('\r'), std::string::npos);

    const TProgramResult summary = Meta({file});
    EXPECT_TRUE(summary.out.starts_with("File Name: DSCN0010.jpg\nFile Size: 157k\n")) << summary.out;
    EXPECT_NE(summary.out.find("Make (Model): NIKON (COOLPIX P6000)\n"), std::string::npos);
}


// A JPEG that libjpeg parses, with some image data worth writing.
std::string TaggableJpeg(const std::string& comment, size_t dataSize = 100)
{
    TTiffBuilder tiff(false);
    tiff.AddAscii(0, 0x010F, "Maker");
    std::string file = JpegFile({ExifSegment(tiff.Build()), CommentSegment(comment), QuantTableSegment(),
                                 FrameSegment(8, 8), HuffmanTableSegment(), ScanSegment()});
    file.insert(file.size() - 2, std::string(dataSize, '\x55'));
    return file;
}

TEST(MetaTool, CommentIsReplacedInEachFileAndShownAsItsBytes)
{
    TTempDir dir;
    const std::string first = dir.File("first.jpg");
    const std::string second = dir.File("second.JPG");
    WriteFile(first, TaggableJpeg("old one"));
    WriteFile(second, TaggableJpeg("old two"));

    const std::string text = "Gr\xFC\xDF" "e\taus Rom";
    const TProgramResult written = Meta({"--comment", text, first, second});
    EXPECT_EQ(written.exitStatus, 0) << written.err;
    EXPECT_EQ(written.out, "");
    const TProgramResult shown = Meta({"--show-comment", first, second});
    EXPECT_EQ(shown.exitStatus, 0);
    EXPECT_EQ(shown.out, first + ":\n" + text + "\n\n" + second + ":\n" + text + "\n");

    EXPECT_EQ(Meta({"--comment"}).exitStatus, 1);
    EXPECT_EQ(Meta({"--comment", "text"}).exitStatus, 1);
}

TEST(MetaTool, FileThatCannotBeWrittenStaysAsItWas)
{
    TTempDir dir;
    const std::string locked = dir.File("locked.jpg");
    const std::string open = dir.File("open.jpg");
    const std::string notJpeg = dir.File("notes.jpg");
    WriteFile(locked, TaggableJpeg("old"));
    WriteFile(open, TaggableJpeg("old"));
    WriteFile(notJpeg, "just text");
    ASSERT_EQ(::chmod(locked.c_str(), 0444), 0);

    const TProgramResult result = Meta({"--comment", "new", locked, open, notJpeg, dir.File("absent.jpg")});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err, "Datei \"" + locked + "\" kann nicht erstellt werden. Permission denied\n"
                          "JPEG-Fehler #" + std::to_string(JERR_NO_SOI) + "\n" + dir.File("absent.jpg") + ": not found\n");
    EXPECT_EQ(ReadFile(locked), TaggableJpeg("old"));
    EXPECT_EQ(ReadFile(notJpeg), "just text");
    EXPECT_EQ(Meta({"--show-comment", open}).out, "new\n");
}

TEST(MetaTool, WriteFailingHalfWayLeavesTheFileAndNoTemporaryFile)
{
    if (!ProgramAvailable("bash"))
        GTEST_SKIP() << "no bash";
    TTempDir dir;
    const std::string file = dir.File("big.jpg");
    const std::string original = TaggableJpeg("old", 20000);
    WriteFile(file, original);
    // Files may not grow beyond 4 KiB: the write fails as on a full disk.
    const TProgramResult result = RunProgram(
        {"bash", "-c", "trap '' XFSZ; ulimit -f 4; exec \"$0\" \"$@\"", kTool, "--comment", "new", file});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err, "Datei \"" + file + "\" kann nicht erstellt werden. File too large\n");
    EXPECT_EQ(ReadFile(file), original);
    size_t entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        entries += entry.is_regular_file();
    EXPECT_EQ(entries, 1u);
}

TEST(MetaTool, IptcRecords)
{
    TTempDir dir;
    const std::string file = dir.File("iptc.jpg");
    WriteFile(file, JpegFile({IptcSegmentWith(IptcDataset(2, 25, "Berge") + IptcDataset(2, 25, "see") +
                                              IptcDataset(2, 25, "See") + IptcDataset(2, 120, "Zwei\nZeilen") +
                                              IptcDataset(2, 200, "eigen")),
                              ScanSegment()}));
    const TProgramResult result = Meta({"--iptc", file});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out, "Keywords\tBerge,see\nImageCaption\tZwei.Zeilen\nCustom_200\teigen\n");
}

}  // namespace
}  // namespace vistado::test
