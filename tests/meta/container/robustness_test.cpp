// Malformed input: no crash, no hang, no sanitizer report, and the outcome
// stays one of the defined ones.

#include "meta/imagefiletest.h"
#include "meta/exif/tagnumbers.h"

#include <filesystem>
#include <random>

namespace vistado::test {
namespace {

std::string richExifJpeg(bool bigEndian)
{
    TiffBuilder tiff(bigEndian);
    const int exif = tiff.addDirectory();
    const int gps = tiff.addDirectory();
    const int interop = tiff.addDirectory();
    tiff.addAscii(0, 0x010F, "NIKON");
    tiff.addAscii(0, 0x0110, "COOLPIX P6000");
    tiff.addRationals(0, 0x011A, {{300, 1}});
    tiff.addPointer(0, kExifOffset, exif);
    tiff.addPointer(0, kGpsInfo, gps);
    tiff.addRationals(exif, 0x829A, {{1, 60}});
    tiff.addAscii(exif, 0x9003, "2008:10:22 16:28:39");
    tiff.addShorts(exif, 0x9209, {16});
    tiff.addUndefined(exif, 0x927C, std::string("Nikon\0\x02\x10\0\0", 10) + std::string(40, '\x11'));
    tiff.addUndefined(exif, 0x9286, std::string("ASCII\0\0\0hello", 13));
    tiff.addLongs(exif, 0xA002, {640});
    tiff.addPointer(exif, 0xA005, interop);
    tiff.addAscii(interop, 1, "R98");
    tiff.addAscii(gps, 1, "N");
    tiff.addRationals(gps, 2, {{43, 1}, {28, 1}, {281, 100}});
    tiff.addAscii(gps, 3, "E");
    tiff.addRationals(gps, 4, {{11, 1}, {53, 1}, {644, 100}});
    tiff.addRationals(gps, 7, {{14, 1}, {28, 1}, {17, 1}});
    return jpegFile({jfifSegment(), exifSegment(tiff.build()), commentSegment("comment"),
                     quantTableSegment(), frameSegment(640, 480), huffmanTableSegment(), scanSegment()});
}

class RobustnessTest : public ImageFileTest {
protected:
    // Opens every prefix of the file (up to limit bytes): a shorter file never
    // yields more tags than the whole one.
    void openEveryTruncation(const std::string& bytes, size_t limit)
    {
        ASSERT_TRUE(open(bytes));
        const size_t wholeTags = image.exifDecoder ? decoder().tags().size() : 0;
        for (size_t length = 0; length <= std::min(limit, bytes.size()); ++length) {
            const bool opened = open(bytes.substr(0, length));
            if (opened && image.exifDecoder) {
                ASSERT_LE(decoder().tags().size(), wholeTags) << length;
            }
            ASSERT_TRUE(opened ? image.errorText == "<none>" : image.errorText != "<none>") << length;
        }
    }
};

TEST_F(RobustnessTest, TruncatedAtEveryLength)
{
    for (bool bigEndian : {false, true}) {
        const std::string bytes = richExifJpeg(bigEndian);
        openEveryTruncation(bytes, bytes.size());
    }
}

TEST_F(RobustnessTest, RealCameraFilesTruncatedAtEveryLength)
{
    const std::string corpus = corpusDir();
    if (corpus.empty())
        GTEST_SKIP() << "no sample files";
    for (const char* name : {"jpeg/Canon_40D.jpg", "jpeg/et_GPS.jpg", "jpeg/Nikon_D70.jpg"}) {
        SCOPED_TRACE(name);
        const std::string bytes = readFile(corpus + "/" + name);
        openEveryTruncation(bytes, bytes.size());
    }
    // Its scan ends at the SOS segment near 16 kB; longer prefixes all read alike.
    openEveryTruncation(readFile(corpus + "/jpeg/DSCN0010.jpg"), 16500);
    const std::string tiff = readFile(corpus + "/tiff/et_ExifTool.tif");
    for (size_t length = 0; length <= tiff.size(); ++length)
        open(tiff.substr(0, length), "cut.tif");
}

TEST_F(RobustnessTest, ZeroLengthSegments)
{
    const std::string zero = segmentWithLength(0xE1, 0, "");
    EXPECT_FALSE(open("\xFF\xD8" + zero));
    EXPECT_FALSE(open(jpegFile({commentSegment("c"), zero, scanSegment()})));
    EXPECT_FALSE(open(jpegFile({segmentWithLength(0xFE, 1, "")})));
    // Segments of length 2 are stored but never taken.
    EXPECT_TRUE(open(jpegFile({segment(0xE1, ""), segment(0xFE, ""), segment(0xED, ""), commentSegment("c"), scanSegment()})));
    EXPECT_FALSE(image.ExifPresent());
    EXPECT_EQ(image.iptcSection, nullptr);
    EXPECT_EQ(image.CommentText(), "c");
    EXPECT_EQ(image.sectionCount, 5);
    // Exif segments that end inside their header or before their first directory.
    EXPECT_TRUE(open(jpegFile({segment(0xE1, "Exif"), scanSegment()})));
    for (const std::string& payload : {std::string("Exif\0", 5), std::string("Exif\0\0", 6), std::string("Exif\0\0I", 7)}) {
        SCOPED_TRACE(payload.size());
        ASSERT_TRUE(open(jpegFile({segment(0xE1, payload), commentSegment("reads on"), scanSegment()})));
        EXPECT_TRUE(image.ExifPresent());
        EXPECT_EQ(image.CommentText(), "reads on");
    }
    EXPECT_FALSE(open(jpegFile({segment(0xE1, std::string("Exif\0\0MM", 8)), scanSegment()})));
    EXPECT_FALSE(open(jpegFile({segment(0xE1, std::string("Exif\0\0MM\0*\0\0\0\x08", 14)), scanSegment()})));
    EXPECT_EQ(image.errorText, "Not an EXIF file");
}

TEST_F(RobustnessTest, CountsAndOffsetsNear2To31)
{
    const uint32_t hugeCounts[] = {0x7FFFFFFF, 0x7FFFFFFE, 0x40000000, 0x20000001, 0x80000000, 0xFFFFFFFF};
    const uint32_t hugeOffsets[] = {0x7FFFFFFF, 0x7FFFFFF8, 0x80000000, 0xFFFFFFFF, 0xFFFFFFF7};
    for (bool bigEndian : {false, true}) {
        for (uint16_t type = 1; type <= 12; ++type) {
            for (uint32_t count : hugeCounts) {
                for (uint32_t offset : hugeOffsets) {
                    TiffBuilder tiff(bigEndian);
                    const int exif = tiff.addDirectory();
                    tiff.addAscii(0, 0x010F, "Make");
                    tiff.addPointer(0, kExifOffset, exif);
                    tiff.addRawEntry(exif, 0x9286, type, count, offset);
                    tiff.addRawEntry(exif, 0xA002, type, count, offset);
                    tiff.addRawEntry(exif, kExifOffset, type, count, offset);
                    tiff.addRawEntry(0, 0x9209, type, count, offset);
                    tiff.addRawEntry(0, kGpsInfo, 4, 1, offset);
                    openExif(tiff);
                }
            }
        }
    }
    // Offsets of directories near 2^31, from the header and from pointers.
    for (uint32_t offset : hugeOffsets) {
        TiffBuilder tiff(true);
        tiff.setFirstDirectoryOffset(offset);
        EXPECT_FALSE(openExif(tiff));
        TiffBuilder pointing(false);
        pointing.addRawEntry(0, kExifOffset, 4, 1, offset);
        pointing.addAscii(0, 0x0110, "Model");
        ASSERT_TRUE(openExif(pointing));
        EXPECT_EQ(value("Model"), "Model");
    }
}

TEST_F(RobustnessTest, DirectoryLoops)
{
    TiffBuilder tiff(true);
    const int a = tiff.addDirectory();
    const int b = tiff.addDirectory();
    const int gps = tiff.addDirectory();
    tiff.addPointer(0, kExifOffset, a);
    tiff.addPointer(a, 0xA005, b);
    tiff.addPointer(b, kExifOffset, a);
    tiff.addPointer(b, kGpsInfo, gps);
    tiff.addPointer(gps, kExifOffset, 0);
    tiff.addPointer(gps, kGpsInfo, gps);
    tiff.addPointer(0, 0x014A, 0);
    ASSERT_TRUE(openExif(tiff));
    EXPECT_EQ(decoder().tags().size(), 5u);
}

TEST_F(RobustnessTest, DeepChainOfDirectoriesEndsWithoutExhaustingTheStack)
{
    TiffBuilder tiff(false);
    int previous = 0;
    for (int i = 0; i < 3000; ++i) {  // as many as one segment holds
        const int next = tiff.addDirectory();
        tiff.addPointer(previous, kExifOffset, next);
        previous = next;
    }
    tiff.addAscii(0, 0x0110, "Model");
    ASSERT_TRUE(openExif(tiff));
    EXPECT_EQ(value("Model"), "Model");
    EXPECT_LT(decoder().tags().size(), 100u);
    ASSERT_TRUE(open(tiff.build(), "deep.tif"));
}

TEST_F(RobustnessTest, TypeNumbersAbove12)
{
    for (uint16_t type : {13, 14, 255, 0x8000, 0xFFFF}) {
        TiffBuilder tiff(false);
        const int exif = tiff.addDirectory();
        const int gps = tiff.addDirectory();
        tiff.addPointer(0, kExifOffset, exif);
        tiff.addPointer(0, kGpsInfo, gps);
        tiff.addAscii(0, 0x0110, "Model");
        tiff.addRawEntry(exif, 0x9003, type, 1, 0);
        tiff.addRawEntry(gps, 1, type, 2, 0);
        ASSERT_TRUE(openExif(tiff));
        EXPECT_EQ(value("Model"), "Model");
        tiff.addRawEntry(0, 0x0131, type, 1, 0);
        EXPECT_FALSE(openExif(tiff));
    }
}

TEST_F(RobustnessTest, RandomDamage)
{
    std::mt19937 random(20240531);
    for (bool bigEndian : {false, true}) {
        const std::string bytes = richExifJpeg(bigEndian);
        for (int round = 0; round < 3000; ++round) {
            std::string damaged = bytes;
            const int changes = 1 + static_cast<int>(random() % 8);
            for (int i = 0; i < changes; ++i)
                damaged[random() % damaged.size()] = static_cast<char>(random());
            open(damaged);
        }
    }
}

}  // namespace
}  // namespace vistado::test
