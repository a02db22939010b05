// The writer checked by other programs: after the comment is replaced in
// place, ExifTool reads the new comment and the same metadata as before, the
// bytes from the scan on are unchanged, and djpeg decodes the same pixels.

#include "imagefiletest.h"
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
size_t ScanOffset(const std::string& jpeg)
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
bool IsFilePosition(const std::string& line)
{
    for (const char* name : {" ThumbnailOffset ", " PreviewImageStart "})
        if (line.find(name) != std::string::npos)
            return true;
    return false;
}

// ExifTool's lines of the metadata the writer must keep, per file: group,
// name and value, and its warnings.
std::map<std::string, std::string> ExifToolMetadata(const std::vector<std::string>& files)
{
    std::vector<std::string> command = {"exiftool", "-a", "-G1", "-s", "-n", "-EXIF:all", "-MakerNotes:all",
                                        "-IPTC:all", "-XMP:all", "-Warning"};
    command.insert(command.end(), files.begin(), files.end());
    const TProgramResult result = RunProgram(command);
    std::map<std::string, std::string> metadata;
    std::string* current = files.size() == 1 ? &metadata[files[0]] : nullptr;
    std::istringstream lines(result.out);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.starts_with("======== "))
            current = &metadata[line.substr(9)];
        else if (current != nullptr && line.starts_with("[") && !IsFilePosition(line))
            *current += line + "\n";
    }
    return metadata;
}

std::string ExifToolComment(const std::string& file)
{
    const TProgramResult result = RunProgram({"exiftool", "-b", "-Comment", file});
    return result.out;
}

std::string Decoded(const std::string& file, const std::string& ppm)
{
    const TProgramResult result = RunProgram({"djpeg", "-outfile", ppm, file});
    EXPECT_EQ(result.exitStatus, 0) << file << ": " << result.err;
    return ReadFile(ppm);
}

class WriterPeerTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (!ProgramAvailable("exiftool") || !ProgramAvailable("djpeg"))
            GTEST_SKIP() << "exiftool or djpeg missing";
        SetDecimalSeparator('.');
    }
    void TearDown() override { SetDecimalSeparator(','); }

    // Replaces the comment of every file in place as the place run does and
    // checks each against its state before.
    void RewriteAndCompare(const std::vector<std::string>& files)
    {
        const auto before = ExifToolMetadata(files);
        std::map<std::string, std::string> pixels;
        std::map<std::string, std::string> sources;
        std::map<std::string, std::string> comments;
        for (const std::string& file : files) {
            sources[file] = ReadFile(file);
            pixels[file] = Decoded(file, dir.File("before.ppm"));
            TimgData image(kDecodeAll);
            ASSERT_TRUE(image.OpenImage(file)) << file;
            comments[file] = ">>>> Ort, Land  " + image.CommentText();
            image.DropCommentAndHeader();
            image.SetCommentText(comments[file]);
            image.SaveJpeg(file);
        }
        const auto after = ExifToolMetadata(files);
        for (const std::string& file : files) {
            SCOPED_TRACE(file);
            EXPECT_FALSE(before.at(file).empty());
            EXPECT_EQ(after.at(file), before.at(file));
            EXPECT_EQ(ExifToolComment(file), comments[file]);
            const std::string written = ReadFile(file);
            const size_t scanBefore = ScanOffset(sources[file]);
            const size_t scanAfter = ScanOffset(written);
            ASSERT_NE(scanBefore, std::string::npos);
            ASSERT_NE(scanAfter, std::string::npos);
            EXPECT_TRUE(written.compare(scanAfter, std::string::npos, sources[file], scanBefore) == 0)
                << "the bytes from the scan on differ";
            EXPECT_TRUE(Decoded(file, dir.File("after.ppm")) == pixels[file]) << "the pixels differ";
        }
    }

    TTempDir dir;
};

TEST_F(WriterPeerTest, FileThatExifToolWrote)
{
    const std::string file = dir.File("tagged.jpg");
    WriteFile(file, RealJpeg(96, 64));
    const TProgramResult tagged = RunProgram(
        {"exiftool", "-q", "-overwrite_original", "-Make=Vistado Test", "-Model=Camera 1",
         "-DateTimeOriginal=2023:07:14 10:20:30", "-Orientation#=6", "-ExifImageWidth=96", "-ExifImageHeight=64",
         "-GPSLatitude=48.1375", "-GPSLatitudeRef=N", "-GPSLongitude=11.575", "-GPSLongitudeRef=E",
         "-IPTC:Keywords=Berge", "-IPTC:Keywords=See", "-XMP:Title=Ausblick", "-Comment=Urlaub 2023", file});
    ASSERT_EQ(tagged.exitStatus, 0) << tagged.err;
    RewriteAndCompare({file});
    TimgData image(kDecodeAll);
    ASSERT_TRUE(image.OpenImage(file));
    EXPECT_EQ(image.CommentText(), ">>>> Ort, Land  Urlaub 2023");
    EXPECT_EQ(image.exifDecoder->TagValueText("GPSLatitude"), "48.137500");
}

TEST_F(WriterPeerTest, SampleCameraFiles)
{
    const std::string corpus = CorpusDir();
    if (corpus.empty())
        GTEST_SKIP() << "no sample files";
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(corpus + "/jpeg")) {
        TimgData image(kDecodeAll);
        // The place run writes only images it could read.
        if (!image.OpenImage(entry.path().string()))
            continue;
        const std::string copy = dir.File(entry.path().filename().string());
        WriteFile(copy, ReadFile(entry.path().string()));
        files.push_back(copy);
    }
    ASSERT_GT(files.size(), 20u);
    RewriteAndCompare(files);
}

}  // namespace
}  // namespace vistado::test
