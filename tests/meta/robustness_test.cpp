// Malformed input: no crash, no hang, no sanitizer report, and the outcome
// stays one of the defined ones.

#include "imagefiletest.h"
#include "meta/tagnumbers.h"

#include <filesystem>
#include <random>

namespace vistado::test {
namespace {

std::string RichExifJpeg(bool bigEndian)
{
    TTiffBuilder tiff(bigEndian);
    const int exif = tiff.AddDirectory();
    const int gps = tiff.AddDirectory();
    const int interop = tiff.AddDirectory();
    tiff.AddAscii(0, 0x010F, "NIKON");
    tiff.AddAscii(0, 0x0110, "COOLPIX P6000");
    tiff.AddRationals(0, 0x011A, {{300, 1}});
    tiff.AddPointer(0, kExifOffset, exif);
    tiff.AddPointer(0, kGpsInfo, gps);
    tiff.AddRationals(exif, 0x829A, {{1, 60}});
    tiff.AddAscii(exif, 0x9003, "2008:10:22 16:28:39");
    tiff.AddShorts(exif, 0x9209, {16});
    tiff.AddUndefined(exif, 0x927C, std::string("Nikon\0\x02\x10\0\0", 10) + std::string(40, '\x11'));
    tiff.AddUndefined(exif, 0x9286, std::string("ASCII\0\0\0hello", 13));
    tiff.AddLongs(exif, 0xA002, {640});
    tiff.AddPointer(exif, 0xA005, interop);
    tiff.AddAscii(interop, 1, "R98");
    tiff.AddAscii(gps, 1, "N");
    tiff.AddRationals(gps, 2, {{43, 1}, {28, 1}, {281, 100}});
    tiff.AddAscii(gps, 3, "E");
    tiff.AddRationals(gps, 4, {{11, 1}, {53, 1}, {644, 100}});
    tiff.AddRationals(gps, 7, {{14, 1}, {28, 1}, {17, 1}});
    return JpegFile({JfifSegment(), ExifSegment(tiff.Build()), CommentSegment("comment"),
                     QuantTableSegment(), FrameSegment(640, 480), HuffmanTableSegment(), ScanSegment()});
}

class RobustnessTest : public ImageFileTest {
protected:
    // Opens every prefix of the file (up to limit bytes): a shorter file never
    // yields more tags than the whole one.
    void OpenEveryTruncation(const std::string& bytes, size_t limit)
    {
        ASSERT_TRUE(Open(bytes));
        const size_t wholeTags = image.exifDecoder ? Decoder().tags.size() : 0;
        for (size_t length = 0; length <= std::min(limit, bytes.size()); ++length) {
            const bool opened = Open(bytes.substr(0, length));
            if (opened && image.exifDecoder) {
                ASSERT_LE(Decoder().tags.size(), wholeTags) << length;
            }
            ASSERT_TRUE(opened ? image.errorText == "<none>" : image.errorText != "<none>") << length;
        }
    }
};

TEST_F(RobustnessTest, TruncatedAtEveryLength)
{
    for (bool bigEndian : {false, true}) {
        const std::string bytes = RichExifJpeg(bigEndian);
        OpenEveryTruncation(bytes, bytes.size());
    }
}

TEST_F(RobustnessTest, RealCameraFilesTruncatedAtEveryLength)
{
    const std::string corpus = CorpusDir();
    if (corpus.empty())
        GTEST_SKIP() << "no sample files";
    for (const char* name : {"jpeg/Canon_40D.jpg", "jpeg/et_GPS.jpg", "jpeg/Nikon_D70.jpg"}) {
        SCOPED_TRACE(name);
        const std::string bytes = ReadFile(corpus + "/" + name);
        OpenEveryTruncation(bytes, bytes.size());
    }
    // Its scan ends at the SOS segment near 16 kB; longer prefixes all read alike.
    OpenEveryTruncation(ReadFile(corpus + "/jpeg/DSCN0010.jpg"), 16500);
    const std::string tiff = ReadFile(corpus + "/tiff/et_ExifTool.tif");
    for (size_t length = 0; length <= tiff.size(); ++length)
        Open(tiff.substr(0, length), "cut.tif");
}

TEST_F(RobustnessTest, ZeroLengthSegments)
{
    const std::string zero = SegmentWithLength(0xE1, 0, "");
    EXPECT_FALSE(Open("\xFF\xD8" + zero));
    EXPECT_FALSE(Open(JpegFile({CommentSegment("c"), zero, ScanSegment()})));
    EXPECT_FALSE(Open(JpegFile({SegmentWithLength(0xFE, 1, "")})));
    // Segments of length 2 are stored but never taken.
    EXPECT_TRUE(Open(JpegFile({Segment(0xE1, ""), Segment(0xFE, ""), Segment(0xED, ""), CommentSegment("c"), ScanSegment()})));
    EXPECT_FALSE(image.ExifPresent());
    EXPECT_EQ(image.iptcSection, nullptr);
    EXPECT_EQ(image.CommentText(), "c");
    EXPECT_EQ(image.sectionCount, 5);
    // Exif segments that end inside their header or before their first directory.
    EXPECT_TRUE(Open(JpegFile({Segment(0xE1, "Exif"), ScanSegment()})));
    EXPECT_FALSE(Open(JpegFile({Segment(0xE1, std::string("Exif\0\0MM", 8)), ScanSegment()})));
    EXPECT_FALSE(Open(JpegFile({Segment(0xE1, std::string("Exif\0\0MM\0*\0\0\0\x08", 14)), ScanSegment()})));
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
                    TTiffBuilder tiff(bigEndian);
                    const int exif = tiff.AddDirectory();
                    tiff.AddAscii(0, 0x010F, "Make");
                    tiff.AddPointer(0, kExifOffset, exif);
                    tiff.AddRawEntry(exif, 0x9286, type, count, offset);
                    tiff.AddRawEntry(exif, 0xA002, type, count, offset);
                    tiff.AddRawEntry(exif, kExifOffset, type, count, offset);
                    tiff.AddRawEntry(0, 0x9209, type, count, offset);
                    tiff.AddRawEntry(0, kGpsInfo, 4, 1, offset);
                    OpenExif(tiff);
                }
            }
        }
    }
    // Offsets of directories near 2^31, from the header and from pointers.
    for (uint32_t offset : hugeOffsets) {
        TTiffBuilder tiff(true);
        tiff.SetFirstDirectoryOffset(offset);
        EXPECT_FALSE(OpenExif(tiff));
        TTiffBuilder pointing(false);
        pointing.AddRawEntry(0, kExifOffset, 4, 1, offset);
        pointing.AddAscii(0, 0x0110, "Model");
        ASSERT_TRUE(OpenExif(pointing));
        EXPECT_EQ(Value("Model"), "Model");
    }
}

TEST_F(RobustnessTest, DirectoryLoops)
{
    TTiffBuilder tiff(true);
    const int a = tiff.AddDirectory();
    const int b = tiff.AddDirectory();
    const int gps = tiff.AddDirectory();
    tiff.AddPointer(0, kExifOffset, a);
    tiff.AddPointer(a, 0xA005, b);
    tiff.AddPointer(b, kExifOffset, a);
    tiff.AddPointer(b, kGpsInfo, gps);
    tiff.AddPointer(gps, kExifOffset, 0);
    tiff.AddPointer(gps, kGpsInfo, gps);
    tiff.AddPointer(0, 0x014A, 0);
    ASSERT_TRUE(OpenExif(tiff));
    EXPECT_EQ(Decoder().tags.size(), 5u);
}

TEST_F(RobustnessTest, DeepChainOfDirectoriesEndsWithoutExhaustingTheStack)
{
    TTiffBuilder tiff(false);
    int previous = 0;
    for (int i = 0; i < 3000; ++i) {  // as many as one segment holds
        const int next = tiff.AddDirectory();
        tiff.AddPointer(previous, kExifOffset, next);
        previous = next;
    }
    tiff.AddAscii(0, 0x0110, "Model");
    ASSERT_TRUE(OpenExif(tiff));
    EXPECT_EQ(Value("Model"), "Model");
    EXPECT_LT(Decoder().tags.size(), 100u);
    ASSERT_TRUE(Open(tiff.Build(), "deep.tif"));
}

TEST_F(RobustnessTest, TypeNumbersAbove12)
{
    for (uint16_t type : {13, 14, 255, 0x8000, 0xFFFF}) {
        TTiffBuilder tiff(false);
        const int exif = tiff.AddDirectory();
        const int gps = tiff.AddDirectory();
        tiff.AddPointer(0, kExifOffset, exif);
        tiff.AddPointer(0, kGpsInfo, gps);
        tiff.AddAscii(0, 0x0110, "Model");
        tiff.AddRawEntry(exif, 0x9003, type, 1, 0);
        tiff.AddRawEntry(gps, 1, type, 2, 0);
        ASSERT_TRUE(OpenExif(tiff));
        EXPECT_EQ(Value("Model"), "Model");
        tiff.AddRawEntry(0, 0x0131, type, 1, 0);
        EXPECT_FALSE(OpenExif(tiff));
    }
}

TEST_F(RobustnessTest, RandomDamage)
{
    std::mt19937 random(20240531);
    for (bool bigEndian : {false, true}) {
        const std::string bytes = RichExifJpeg(bigEndian);
        for (int round = 0; round < 3000; ++round) {
            std::string damaged = bytes;
            const int changes = 1 + static_cast<int>(random() % 8);
            for (int i = 0; i < changes; ++i)
                damaged[random() % damaged.size()] = static_cast<char>(random());
            Open(damaged);
        }
    }
}

}  // namespace
}  // namespace vistado::test
