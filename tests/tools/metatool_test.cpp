// The vistado-meta program, run as users run it: against ExifTool's values for
// the sample camera files, on files that ExifTool writes, and its own rules.

#include "jpegbuilder.h"
#include "realjpeg.h"
#include "runprogram.h"
#include "testfiles.h"
#include "tiffbuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
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

ProgramResult meta(std::vector<std::string> arguments)
{
    arguments.insert(arguments.begin(), kTool);
    return runProgram(arguments);
}

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> fields;
    std::stringstream stream(text);
    std::string field;
    while (std::getline(stream, field, separator))
        fields.push_back(field);
    return fields;
}

std::string trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The rows of ExifTool's values, by file, then by column name.
std::map<std::string, std::map<std::string, std::string>> expectedValues(const std::string& corpus)
{
    const std::vector<std::string> lines = split(readFile(corpus + "/expected-exiftool.tsv"), '\n');
    const std::vector<std::string> header = split(lines.at(0), '\t');
    std::map<std::string, std::map<std::string, std::string>> rows;
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::vector<std::string> fields = split(lines[i], '\t');
        for (size_t c = 1; c < fields.size() && c < header.size(); ++c)
            rows[fields[0]][header[c]] = fields[c];
    }
    return rows;
}

// The tool's output for several files: the lines after each "FILE:" line.
std::map<std::string, std::vector<std::string>> blocksByFile(const std::string& out)
{
    std::map<std::string, std::vector<std::string>> blocks;
    std::vector<std::string>* current = nullptr;
    for (const std::string& line : split(out, '\n')) {
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
    const std::string corpus = corpusDir();
    if (corpus.empty())
        GTEST_SKIP() << "no sample files";
    const auto expected = expectedValues(corpus);
    ASSERT_FALSE(expected.empty());
    std::vector<std::string> arguments = {"--gps"};
    for (const auto& [file, values] : expected)
        arguments.push_back(corpus + "/" + file);
    const ProgramResult result = meta(arguments);
    const auto blocks = blocksByFile(result.out);

    for (const auto& [file, values] : expected) {
        SCOPED_TRACE(file);
        const auto block = blocks.find(corpus + "/" + file);
        const bool hasGps = values.at("GPSLatitude") != "-";
        if (block == blocks.end() || block->second.empty()) {
            EXPECT_FALSE(hasGps);
            continue;
        }
        ASSERT_TRUE(hasGps) << block->second[0];
        const std::vector<std::string> position = split(block->second[0], ',');
        ASSERT_EQ(position.size(), 2u);
        EXPECT_NEAR(std::stod(position[0]), std::stod(values.at("GPSLatitude")), 1e-6);
        EXPECT_NEAR(std::stod(position[1]), std::stod(values.at("GPSLongitude")), 1e-6);
    }
}

TEST(MetaTool, CameraAndDateAgreeWithExifTool)
{
    const std::string corpus = corpusDir();
    if (corpus.empty())
        GTEST_SKIP() << "no sample files";
    // Its date stands in a maker-specific segment, not in Exif data.
    const std::set<std::string> dateOutsideExif = {"jpeg/et_CasioQVCI.jpg"};
    for (const auto& [file, values] : expectedValues(corpus)) {
        SCOPED_TRACE(file);
        const ProgramResult result = meta({"--tags", corpus + "/" + file});
        std::map<std::string, std::string> tags;
        for (const std::string& line : split(result.out, '\n')) {
            const size_t tab = line.find('\t');
            if (tab != std::string::npos)
                tags.emplace(line.substr(0, tab), trimmed(line.substr(tab + 1)));
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
    if (!programAvailable("exiftool") || !programAvailable("djpeg"))
        GTEST_SKIP() << "exiftool or djpeg missing";
    const WrittenPosition positions[] = {
        {48.142933, 11.575278, "MM"},
        {-33.856784, 151.215297, "II"},
        {54.989667, -1.914167, "II"},
        {-22.906847, -43.172897, "MM"},
        {47.5, 8.25, "II"},          // seconds zero
        {0.016667, -0.5, "MM"},      // near the equator and the prime meridian
    };
    TempDir dir;
    const std::string original = realJpeg(64, 48);
    for (const WrittenPosition& p : positions) {
        SCOPED_TRACE(std::to_string(p.latitude) + "," + std::to_string(p.longitude) + " " + p.byteOrder);
        const std::string path = dir.file("written.jpg");
        writeFile(path, original);
        const ProgramResult written = runProgram({
            "exiftool", "-q", "-overwrite_original", std::string("-ExifByteOrder=") + p.byteOrder,
            "-GPSLatitude=" + std::to_string(std::fabs(p.latitude)),
            std::string("-GPSLatitudeRef=") + (p.latitude < 0 ? "S" : "N"),
            "-GPSLongitude=" + std::to_string(std::fabs(p.longitude)),
            std::string("-GPSLongitudeRef=") + (p.longitude < 0 ? "W" : "E"), path});
        ASSERT_EQ(written.exitStatus, 0) << written.err;
        ASSERT_EQ(runProgram({"djpeg", "-outfile", dir.file("decoded.ppm"), path}).exitStatus, 0);

        const ProgramResult read = meta({"--gps", path});
        ASSERT_EQ(read.exitStatus, 0) << read.err;
        const std::vector<std::string> position = split(trimmed(read.out.substr(0, read.out.find('\n'))), ',');
        ASSERT_EQ(position.size(), 2u) << read.out;
        EXPECT_NEAR(std::stod(position[0]), p.latitude, 1e-6);
        EXPECT_NEAR(std::stod(position[1]), p.longitude, 1e-6);
        EXPECT_EQ(position[0][0] == '-', p.latitude < 0);
        EXPECT_EQ(position[1][0] == '-', p.longitude < 0);

        const std::string bytes = readFile(path);
        const size_t tiff = bytes.find(std::string("Exif\0\0", 6));
        ASSERT_NE(tiff, std::string::npos);
        EXPECT_EQ(bytes.substr(tiff + 6, 2), p.byteOrder);
    }
}

// One ExifTool run that writes each file its own values: an argument file,
// one argument a line, one -execute per file.
void exifToolWrites(const TempDir& dir, const std::vector<std::pair<std::string, std::vector<std::string>>>& files)
{
    std::string arguments;
    for (const auto& [file, values] : files) {
        arguments += "-q\n-overwrite_original\n";
        for (const std::string& value : values)
            arguments += value + "\n";
        arguments += file + "\n-execute\n";
    }
    const std::string argumentFile = dir.file("arguments.txt");
    writeFile(argumentFile, arguments);
    const ProgramResult written = runProgram({"exiftool", "-@", argumentFile});
    ASSERT_EQ(written.exitStatus, 0) << written.err;
}

struct WrittenValue {
    std::vector<std::string> written;  // ExifTool's arguments
    std::string tag;
    std::string text;  // what --tags shows
};

// Values as ExifTool writes them, each into a photo of its own: whole texts
// however long, and every value the Exif standard defines in words.
TEST(MetaTool, ShowsTheValuesThatExifToolWrites)
{
    if (!programAvailable("exiftool"))
        GTEST_SKIP() << "no exiftool";
    const std::string description = "Blick vom Gipfel nach Osten " + std::string(391, 'x');
    const std::string copyright = "Copyright 2019 Anna Beispiel, Fotografie am See. Alle Rechte";
    const WrittenValue values[] = {
        {{"-ImageDescription=" + description}, "ImageDescription", description},
        {{"-Copyright=" + copyright}, "Copyright", copyright},
        {{"-Orientation#=1"}, "Orientation", "Normal"},
        {{"-Orientation#=2"}, "Orientation", "Mirrored horizontally"},
        {{"-Orientation#=3"}, "Orientation", "Rotated 180°"},
        {{"-Orientation#=4"}, "Orientation", "Mirrored vertically"},
        {{"-Orientation#=5"}, "Orientation", "Mirrored horizontally and CounterClockwise 90°"},
        {{"-Orientation#=6"}, "Orientation", "CounterClockwise 90°"},
        {{"-Orientation#=7"}, "Orientation", "Mirrored horizontally and Clockwise 90°"},
        {{"-Orientation#=8"}, "Orientation", "Clockwise 90°"},
        {{"-GPSAltitudeRef#=1", "-GPSAltitude=12"}, "GPSAltitudeRef", "Below sealevel"},
        {{"-GPSLatitudeRef=S", "-GPSLatitude=33.5"}, "GPSLatitudeRef", "S"},
        {{"-GPSStatus#=V"}, "GPSStatus", "Measurement interrupted"},
        {{"-GPSMeasureMode#=3"}, "GPSMeasureMode", "3-dimensional"},
        {{"-GPSSpeedRef#=K"}, "GPSSpeedRef", "km/h"},
        {{"-GPSDestDistanceRef#=N"}, "GPSDestDistanceRef", "Nautical miles"},
        {{"-GPSDifferential#=1"}, "GPSDifferential", "Differential corrected"},
        {{"-MeteringMode#=255"}, "MeteringMode", "Other"},
        {{"-LightSource#=24"}, "LightSource", "ISO studio tungsten"},
        {{"-ColorSpace#=65535"}, "ColorSpace", "Uncalibrated"},
        {{"-FileSource#=3"}, "FileSource", "Digital Still Camera"},
        {{"-SceneType#=1"}, "SceneType", "Directly Photographed"},
    };
    TempDir dir;
    const std::string original = realJpeg(16, 16);
    std::vector<std::pair<std::string, std::vector<std::string>>> files;
    for (const WrittenValue& value : values) {
        files.emplace_back(dir.file(std::to_string(files.size()) + ".jpg"), value.written);
        writeFile(files.back().first, original);
    }
    exifToolWrites(dir, files);
    std::vector<std::string> arguments = {"--tags"};
    for (const auto& file : files)
        arguments.push_back(file.first);
    const auto blocks = blocksByFile(meta(arguments).out);
    for (size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(values[i].written[0]);
        const std::vector<std::string>& lines = blocks.at(files[i].first);
        EXPECT_NE(std::find(lines.begin(), lines.end(), values[i].tag + "\t" + values[i].text), lines.end());
    }
}

// Texts padded with zero bytes, as cameras write them, end where ExifTool ends them.
TEST(MetaTool, PaddedTextsEndWhereExifToolEndsThem)
{
    if (!programAvailable("exiftool"))
        GTEST_SKIP() << "no exiftool";
    TempDir dir;
    TiffBuilder tiff(false);
    tiff.addEntry(0, 0x010F, 2, 6, std::string("SONY\0\0", 6));
    tiff.addEntry(0, 0x0110, 2, 14, std::string("CYBERSHOT\0\0\0\0\0", 14));
    tiff.addEntry(0, 0x0131, 2, 8, std::string("ION230\0F", 8));
    const std::string file = dir.file("padded.jpg");
    writeFile(file, jpegFile({exifSegment(tiff.build()), quantTableSegment(), scanSegment()}));
    const std::vector<std::string> theirs = split(runProgram({"exiftool", "-T", "-Make", "-Model", "-Software", file}).out, '\t');
    ASSERT_EQ(theirs.size(), 3u);
    EXPECT_EQ(meta({"--tags", file}).out, "Make\t" + theirs[0] + "\nModel\t" + theirs[1] + "\nSoftware\t" + theirs[2]);
    EXPECT_EQ(theirs[0], "SONY");
}

// The JPEG with its first APP13 segment moved in front of the scan, behind
// the tables and the frame header.
std::string withIptcInFrontOfTheScan(const std::string& jpeg)
{
    std::string front = jpeg.substr(0, 2);
    std::string iptc;
    size_t pos = 2;
    while (pos + 4 <= jpeg.size() && static_cast<uint8_t>(jpeg[pos + 1]) != 0xDA) {
        const size_t end = pos + 2 + static_cast<uint8_t>(jpeg[pos + 2]) * 256u + static_cast<uint8_t>(jpeg[pos + 3]);
        (static_cast<uint8_t>(jpeg[pos + 1]) == 0xED && iptc.empty() ? iptc : front) += jpeg.substr(pos, end - pos);
        pos = end;
    }
    return front + iptc + jpeg.substr(pos);
}

// IPTC data without Exif data, behind every other segment of a JPEG, and in
// the IPTC-NAA tag of TIFF and NEF files: what ExifTool wrote, --iptc and
// --json show.
TEST(MetaTool, IptcWhereverItStands)
{
    if (!programAvailable("exiftool"))
        GTEST_SKIP() << "no exiftool";
    TempDir dir;
    const std::string caption(300, 'c');
    const std::vector<std::string> written = {"-IPTC:City=Kingston", "-IPTC:Country-PrimaryLocationName=Canada",
                                              "-IPTC:Caption-Abstract=" + caption, "-Comment=nur IPTC"};
    TiffBuilder tiff(true);
    tiff.addAscii(0, 0x010F, "Epson");
    const std::string jpeg = dir.file("agency.jpg");
    const std::string tif = dir.file("scan.tif");
    writeFile(jpeg, realJpeg(16, 16));
    writeFile(tif, tiff.build());
    exifToolWrites(dir, {{jpeg, written}, {tif, {written.begin(), written.end() - 1}}});
    writeFile(jpeg, withIptcInFrontOfTheScan(readFile(jpeg)));
    const std::string nef = dir.file("raw.nef");
    writeFile(nef, readFile(tif));

    for (const std::string& file : {jpeg, tif, nef}) {
        SCOPED_TRACE(file);
        const ProgramResult iptc = meta({"--iptc", file});
        EXPECT_EQ(iptc.exitStatus, 0) << iptc.err;
        EXPECT_EQ(iptc.out, "City\tKingston\nLocationName\tCanada\nImageCaption\t" + caption + "\n");
        const ProgramResult json = meta({"--json", file});
        EXPECT_NE(json.out.find("\"IPTC:City\": \"Kingston\""), std::string::npos) << json.out;
    }
    EXPECT_EQ(meta({"--show-comment", jpeg}).out, "nur IPTC\n");
    EXPECT_EQ(runProgram({"exiftool", "-s3", "-City", jpeg}).out, "Kingston\n");
}

TEST(MetaTool, ModesAndErrors)
{
    TempDir dir;
    const std::string good = dir.file("good.jpg");
    writeFile(good, jpegFile({commentSegment("only a comment"), scanSegment()}));
    const std::string text = dir.file("notes.txt");
    writeFile(text, "hello");

    const ProgramResult summary = meta({dir.file("absent.jpg"), good, text});
    EXPECT_EQ(summary.exitStatus, 1);
    EXPECT_EQ(summary.err, dir.file("absent.jpg") + ": not found\n" + text + ": Not an EXIF file\n");
    EXPECT_EQ(summary.out, good + ":\n\n");

    const ProgramResult gps = meta({"--gps", good});
    EXPECT_EQ(gps.exitStatus, 0);
    EXPECT_EQ(gps.out, "\n");

    const ProgramResult unknown = meta({"--colour", good});
    EXPECT_EQ(unknown.exitStatus, 1);
    EXPECT_NE(unknown.err.find("unknown option --colour"), std::string::npos);

    EXPECT_EQ(meta({}).exitStatus, 1);
    EXPECT_EQ(meta({"--help"}).exitStatus, 0);
}

TEST(MetaTool, TagsAndReportOfOneFile)
{
    const std::string corpus = corpusDir();
    if (corpus.empty())
        GTEST_SKIP() << "no sample files";
    const std::string file = corpus + "/jpeg/DSCN0010.jpg";
    const ProgramResult tags = meta({"--tags", file});
    ASSERT_EQ(tags.exitStatus, 0);
    EXPECT_NE(tags.out.find("Make\tNIKON\n"), std::string::npos);
    EXPECT_NE(tags.out.find("GPSLatitudeRef\tN\n"), std::string::npos);
    EXPECT_NE(tags.out.find("GPSLatitude\t43.467448\n"), std::string::npos);
    EXPECT_NE(tags.out.find("FNumber\tF5.9\n"), std::string::npos);
    for (const std::string& line : split(tags.out, '\n'))
        EXPECT_NE(line.find('\t'), std::string::npos) << line;

    const ProgramResult report = meta({"--report", file});
    ASSERT_EQ(report.exitStatus, 0);
    EXPECT_TRUE(report.out.starts_with("Image Description = ")) << report.out.substr(0, 40);
    EXPECT_NE(report.out.find("\nMake = NIKON\n"), std::string::npos);
    EXPECT_NE(report.out.find("\nGPSLatitude = 43.467448\n"), std::string::npos);
    EXPECT_EQ(report.out.find('\r'), std::string::npos);

    const ProgramResult summary = meta({file});
    EXPECT_TRUE(summary.out.starts_with("File Name: DSCN0010.jpg\nFile Size: 157k\n")) << summary.out;
    EXPECT_NE(summary.out.find("Make (Model): NIKON (COOLPIX P6000)\n"), std::string::npos);
}


// A JPEG that libjpeg parses, with some image data worth writing.
std::string taggableJpeg(const std::string& comment, size_t dataSize = 100)
{
    TiffBuilder tiff(false);
    tiff.addAscii(0, 0x010F, "Maker");
    std::string file = jpegFile({exifSegment(tiff.build()), commentSegment(comment), quantTableSegment(),
                                 frameSegment(8, 8), huffmanTableSegment(), scanSegment()});
    file.insert(file.size() - 2, std::string(dataSize, '\x55'));
    return file;
}

TEST(MetaTool, CommentIsReplacedInEachFileAndShownAsItsBytes)
{
    TempDir dir;
    const std::string first = dir.file("first.jpg");
    const std::string second = dir.file("second.JPG");
    writeFile(first, taggableJpeg("old one"));
    writeFile(second, taggableJpeg("old two"));

    const std::string text = "Gr\xFC\xDF" "e\taus Rom";
    const ProgramResult written = meta({"--comment", text, first, second});
    EXPECT_EQ(written.exitStatus, 0) << written.err;
    EXPECT_EQ(written.out, "");
    const ProgramResult shown = meta({"--show-comment", first, second});
    EXPECT_EQ(shown.exitStatus, 0);
    EXPECT_EQ(shown.out, first + ":\n" + text + "\n\n" + second + ":\n" + text + "\n");

    EXPECT_EQ(meta({"--comment"}).exitStatus, 1);
    EXPECT_EQ(meta({"--comment", "text"}).exitStatus, 1);
}

TEST(MetaTool, FileThatCannotBeWrittenStaysAsItWas)
{
    TempDir dir;
    const std::string locked = dir.file("locked.jpg");
    const std::string open = dir.file("open.jpg");
    const std::string notJpeg = dir.file("notes.jpg");
    writeFile(locked, taggableJpeg("old"));
    writeFile(open, taggableJpeg("old"));
    writeFile(notJpeg, "just text");
    ASSERT_EQ(::chmod(locked.c_str(), 0444), 0);

    const ProgramResult result = meta({"--comment", "new", locked, open, notJpeg, dir.file("absent.jpg")});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err, "Datei \"" + locked + "\" kann nicht erstellt werden. Permission denied\n"
                          "JPEG-Fehler #" + std::to_string(JERR_NO_SOI) + "\n" + dir.file("absent.jpg") + ": not found\n");
    EXPECT_EQ(readFile(locked), taggableJpeg("old"));
    EXPECT_EQ(readFile(notJpeg), "just text");
    EXPECT_EQ(meta({"--show-comment", open}).out, "new\n");
}

TEST(MetaTool, WriteFailingHalfWayLeavesTheFileAndNoTemporaryFile)
{
    if (!programAvailable("bash"))
        GTEST_SKIP() << "no bash";
    TempDir dir;
    const std::string file = dir.file("big.jpg");
    const std::string original = taggableJpeg("old", 20000);
    writeFile(file, original);
    // Files may not grow beyond 4 KiB: the write fails as on a full disk.
    const ProgramResult result = runProgram(
        {"bash", "-c", "trap '' XFSZ; ulimit -f 4; exec \"$0\" \"$@\"", kTool, "--comment", "new", file});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err, "Datei \"" + file + "\" kann nicht erstellt werden. File too large\n");
    EXPECT_EQ(readFile(file), original);
    size_t entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        entries += entry.is_regular_file();
    EXPECT_EQ(entries, 1u);
}

// A read that fails (here its first read of the photo, with an I/O error)
// leaves the photo unwritten, however well the writer's own read would go.
TEST(MetaTool, CommentIsNotWrittenWhenTheReadFailed)
{
    TempDir dir;
    const std::string file = dir.file("eio.jpg");
    const std::string original = taggableJpeg("old");
    writeFile(file, original);
    ProgramOptions options;
    options.environment["LD_PRELOAD"] = VISTADO_FAIL_FIRST_READ;
    options.environment["ASAN_OPTIONS"] = "verify_asan_link_order=0";
    const ProgramResult result = runProgram({kTool, "--comment", "new", file}, options);
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err, file + ": Illegal Exif construction\n");
    EXPECT_EQ(readFile(file), original);
}

TEST(MetaTool, IptcRecords)
{
    TempDir dir;
    const std::string file = dir.file("iptc.jpg");
    writeFile(file, jpegFile({iptcSegmentWith(iptcDataset(2, 25, "Berge") + iptcDataset(2, 25, "see") +
                                              iptcDataset(2, 25, "See") + iptcDataset(2, 120, "Zwei\nZeilen") +
                                              iptcDataset(2, 200, "eigen")),
                              scanSegment()}));
    const ProgramResult result = meta({"--iptc", file});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out, "Keywords\tBerge,see\nImageCaption\tZwei.Zeilen\nCustom_200\teigen\n");
}

}  // namespace
}  // namespace vistado::test
