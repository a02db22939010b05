// The writer checked by other programs: after the comment is replaced in
// place, ExifTool reads the new comment and the same metadata as before, the
// bytes from the scan on are unchanged, and djpeg decodes the same pixels.

#include "meta/imagefiletest.h"
#include "realjpeg.h"
#include "runprogram.h"

#include <gmock/gmock.h>

#include <filesystem>
#include <map>
#include <sstream>

namespace vistado::test {
namespace {

// Offset of the SOS marker that starts the image's first scan, found by
// walking the segments (an Exif thumbnail holds a scan of its own);
// npos when there is none.
size_t scanOffset(const std::string& jpeg)
{
    size_t pos = 2;
    while (pos + 3 < jpeg.size() && static_cast<uint8_t>(jpeg[pos]) == 0xFF) {
        size_t marker = pos + 1;
        while (marker < jpeg.size() && static_cast<uint8_t>(jpeg[marker]) == 0xFF)
            ++marker;
        if (marker + 2 >= jpeg.size())
            break;
        if (static_cast<uint8_t>(jpeg[marker]) == 0xDA)
            return marker - 1;
        pos = marker + 1 + static_cast<uint8_t>(jpeg[marker + 1]) * 256u + static_cast<uint8_t>(jpeg[marker + 2]);
    }
    return std::string::npos;
}

// ExifTool reports these as positions in the file, which move with the Exif
// segment when a segment in front of it is left out; the values stored in
// the Exif data stay the same.
bool isFilePosition(const std::string& line)
{
    for (const char* name : {" ThumbnailOffset ", " PreviewImageStart "})
        if (line.find(name) != std::string::npos)
            return true;
    return false;
}

// ExifTool's lines of the metadata the writer must keep, per file: group,
// name and value, and its warnings.
std::map<std::string, std::string> exifToolMetadata(const std::vector<std::string>& files)
{
    std::vector<std::string> command = {"exiftool", "-a", "-G1", "-s", "-n", "-EXIF:all", "-MakerNotes:all",
                                        "-IPTC:all", "-XMP:all", "-Warning"};
    command.insert(command.end(), files.begin(), files.end());
    const ProgramResult result = runProgram(command);
    std::map<std::string, std::string> metadata;
    std::string* current = files.size() == 1 ? &metadata[files[0]] : nullptr;
    std::istringstream lines(result.out);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.starts_with("======== "))
            current = &metadata[line.substr(9)];
        else if (current != nullptr && line.starts_with("[") && !isFilePosition(line))
            *current += line + "\n";
    }
    return metadata;
}

std::string exifToolComment(const std::string& file)
{
    const ProgramResult result = runProgram({"exiftool", "-b", "-Comment", file});
    return result.out;
}

std::string decoded(const std::string& file, const std::string& ppm)
{
    const ProgramResult result = runProgram({"djpeg", "-outfile", ppm, file});
    EXPECT_EQ(result.exitStatus, 0) << file << ": " << result.err;
    return readFile(ppm);
}

class WriterPeerTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (!programAvailable("exiftool") || !programAvailable("djpeg"))
            GTEST_SKIP() << "exiftool or djpeg missing";
        setDecimalSeparator('.');
    }
    void TearDown() override { setDecimalSeparator(','); }

    // Replaces the comment of every file in place as the place run does and
    // checks each against its state before.
    void rewriteAndCompare(const std::vector<std::string>& files)
    {
        const auto before = exifToolMetadata(files);
        std::map<std::string, std::string> pixels;
        std::map<std::string, std::string> sources;
        std::map<std::string, std::string> comments;
        for (const std::string& file : files) {
            sources[file] = readFile(file);
            pixels[file] = decoded(file, dir.file("before.ppm"));
            TimgData image(kDecodeAll);
            ASSERT_TRUE(image.OpenImage(file)) << file;
            comments[file] = ">>>> Ort, Land  " + image.CommentText();
            image.DropCommentAndHeader();
            image.SetCommentText(comments[file]);
            image.SaveJpeg(file);
        }
        const auto after = exifToolMetadata(files);
        for (const std::string& file : files) {
            SCOPED_TRACE(file);
            EXPECT_FALSE(before.at(file).empty());
            EXPECT_EQ(after.at(file), before.at(file));
            EXPECT_EQ(exifToolComment(file), comments[file]);
            const std::string written = readFile(file);
            const size_t scanBefore = scanOffset(sources[file]);
            const size_t scanAfter = scanOffset(written);
            ASSERT_NE(scanBefore, std::string::npos);
            ASSERT_NE(scanAfter, std::string::npos);
            EXPECT_TRUE(written.compare(scanAfter, std::string::npos, sources[file], scanBefore) == 0)
                << "the bytes from the scan on differ";
            EXPECT_TRUE(decoded(file, dir.file("after.ppm")) == pixels[file]) << "the pixels differ";
        }
    }

    TempDir dir;
};

TEST_F(WriterPeerTest, FileThatExifToolWrote)
{
    const std::string file = dir.file("tagged.jpg");
    writeFile(file, realJpeg(96, 64));
    const ProgramResult tagged = runProgram(
        {"exiftool", "-q", "-overwrite_original", "-Make=Vistado Test", "-Model=Camera 1",
         "-DateTimeOriginal=2023:07:14 10:20:30", "-Orientation#=6", "-ExifImageWidth=96", "-ExifImageHeight=64",
         "-GPSLatitude=48.1375", "-GPSLatitudeRef=N", "-GPSLongitude=11.575", "-GPSLongitudeRef=E",
         "-IPTC:Keywords=Berge", "-IPTC:Keywords=See", "-XMP:Title=Ausblick", "-Comment=Urlaub 2023", file});
    ASSERT_EQ(tagged.exitStatus, 0) << tagged.err;
    rewriteAndCompare({file});
    TimgData image(kDecodeAll);
    ASSERT_TRUE(image.OpenImage(file));
    EXPECT_EQ(image.CommentText(), ">>>> Ort, Land  Urlaub 2023");
    EXPECT_EQ(image.exifDecoder->TagValueText("GPSLatitude"), "48.137500");
}

TEST_F(WriterPeerTest, SampleCameraFiles)
{
    const std::string corpus = corpusDir();
    if (corpus.empty())
        GTEST_SKIP() << "no sample files";
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(corpus + "/jpeg")) {
        TimgData image(kDecodeAll);
        // The place run writes only images it could read.
        if (!image.OpenImage(entry.path().string()))
            continue;
        const std::string copy = dir.file(entry.path().filename().string());
        writeFile(copy, readFile(entry.path().string()));
        files.push_back(copy);
    }
    ASSERT_GT(files.size(), 20u);
    rewriteAndCompare(files);
}

}  // namespace
}  // namespace vistado::test
