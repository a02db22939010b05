#include "imagefiletest.h"

namespace vistado::test {
namespace {

class TiffPathTest : public ImageFileTest {};

TEST_F(TiffPathTest, DirectoryAtOffset8)
{
    TTiffBuilder tiff(false);
    tiff.AddAscii(0, 0x010F, "Canon");
    tiff.AddShorts(0, 0x0100, {1024});
    ASSERT_TRUE(Open(tiff.Build(), "photo.tif"));
    EXPECT_EQ(image.errorText, "<none>");
    EXPECT_TRUE(image.ExifPresent());
    EXPECT_EQ(image.sectionCount, 1);
    EXPECT_EQ(image.exifSection, &image.sections[0]);
    EXPECT_EQ(image.commentSection, nullptr);
    EXPECT_EQ(image.headerSection, nullptr);
    EXPECT_EQ(image.iptcSection, nullptr);
    EXPECT_FALSE(image.readingTiff);
    EXPECT_TRUE(Decoder().readingTiff);
    EXPECT_EQ(Value("Make"), "Canon");
    EXPECT_EQ(Decoder().imageWidth, 1024);
    // Positions count from file offset 8.
    EXPECT_EQ(image.sections[0].bytes.substr(static_cast<size_t>(Decoder().tags[0].rawOffset - 1), 5), "Canon");
}

TEST_F(TiffPathTest, HeaderOffsetIsIgnored)
{
    TTiffBuilder tiff(true);
    tiff.AddAscii(0, 0x010F, "Nikon");
    tiff.SetFirstDirectoryOffset(4000);
    ASSERT_TRUE(Open(tiff.Build(), "raw.NEF"));
    EXPECT_EQ(Value("Make"), "Nikon");
}

TEST_F(TiffPathTest, ShortFileIsReadAsFarAsItGoes)
{
    TTiffBuilder tiff(true);
    tiff.AddShorts(0, 0x0112, {6});
    std::string bytes = tiff.Build();
    bytes.resize(100, '\0');
    ASSERT_TRUE(Open(bytes, "short.tiff"));
    EXPECT_EQ(image.sections[0].bytes.size(), 92u);
    EXPECT_EQ(Value("Orientation"), "CounterClockwise 90°");
}

TEST_F(TiffPathTest, ValuesBeyondTheDataLimitAreNotAvailable)
{
    TTiffBuilder tiff(false);
    tiff.AddRawEntry(0, 0x0102, 3, 3, 255990);  // ends 6 bytes before the limit
    tiff.AddRawEntry(0, 0x0103, 3, 3, 300000);
    std::string bytes = tiff.Build();
    bytes.resize(300100, '\0');
    bytes[255990] = 0x08;
    ASSERT_TRUE(Open(bytes, "big.nef"));
    EXPECT_EQ(image.sections[0].bytes.size(), 256000u);
    EXPECT_EQ(Value("BitsPerSample"), "8, 0, 0");
    EXPECT_EQ(Value("Compression"), "");
    EXPECT_EQ(Decoder().EntryByName("Compression").rawBytes, "");
}

TEST_F(TiffPathTest, NotATiffFile)
{
    EXPECT_FALSE(Open(JpegFile({CommentSegment("c"), ScanSegment()}), "wrong.tif"));
    EXPECT_EQ(image.errorText, "Not an EXIF file");
    EXPECT_FALSE(image.ExifPresent());
    EXPECT_FALSE(Open("I", "tiny.tif"));
    EXPECT_FALSE(image.readingTiff);
}

TEST_F(TiffPathTest, ErrorInTheFirstDirectoryFailsTheRead)
{
    TTiffBuilder tiff(false);
    tiff.AddRawEntry(0, 0x010F, 99, 1, 0);
    EXPECT_FALSE(Open(tiff.Build(), "broken.tif"));
    EXPECT_EQ(image.errorText, "Not an EXIF file");
    EXPECT_TRUE(image.ExifPresent());
    EXPECT_FALSE(image.readingTiff);
}

}  // namespace
}  // namespace vistado::test
