#include "meta/imagefiletest.h"

#include "meta/iptc/iptc.h"
#include "meta/text/valuerender.h"

namespace vistado::test {
namespace {

class TiffPathTest : public ImageFileTest {};

TEST_F(TiffPathTest, DirectoryAtOffset8)
{
    TiffBuilder tiff(false);
    tiff.addAscii(0, 0x010F, "Canon");
    tiff.addShorts(0, 0x0100, {1024});
    ASSERT_TRUE(open(tiff.build(), "photo.tif"));
    EXPECT_EQ(image.errorText, "<none>");
    EXPECT_TRUE(image.ExifPresent());
    EXPECT_EQ(image.sectionCount, 1);
    EXPECT_EQ(image.exifSection, &image.sections[0]);
    EXPECT_EQ(image.commentSection, nullptr);
    EXPECT_EQ(image.headerSection, nullptr);
    EXPECT_EQ(image.iptcSection, nullptr);
    EXPECT_FALSE(image.readingTiff);
    EXPECT_TRUE(decoder().readingTiff);
    EXPECT_EQ(value("Make"), "Canon");
    EXPECT_EQ(decoder().imageWidth, 1024);
    // Positions count from file offset 8.
    EXPECT_EQ(image.sections[0].bytes.substr(static_cast<size_t>(decoder().tags()[0].rawOffset - 1), 5), "Canon");
}

// Scanners and editors write the first directory behind the image data,
// also far beyond the bytes loaded for a directory at offset 8.
TEST_F(TiffPathTest, FirstDirectoryIsWhereTheHeaderPoints)
{
    for (const bool bigEndian : {false, true}) {
        for (const uint32_t at : {4000u, 600000u}) {
            SCOPED_TRACE(at);
            TiffBuilder tiff(bigEndian);
            tiff.addAscii(0, 0x010F, "Epson Scanner");
            tiff.addShorts(0, 0x0100, {2400});
            std::string bytes = (bigEndian ? "MM" : "II") + tiff.u16(42) + tiff.u32(at);
            bytes.resize(at, '\x55');
            ASSERT_TRUE(open(bytes + tiff.directoryBlock(0, at), "scan.tif"));
            EXPECT_EQ(value("Make"), "Epson Scanner");
            EXPECT_EQ(decoder().imageWidth, 2400);
        }
    }
    // A header pointing far beyond a small file costs no buffer of that size.
    TiffBuilder far(false);
    far.setFirstDirectoryOffset(0x7FFFFFF0);
    EXPECT_FALSE(open(far.build(), "far.tif"));
    EXPECT_LT(image.sections[0].bytes.capacity(), 1u << 20);
    // A header pointing into itself reads at offset 8.
    TiffBuilder tiff(true);
    tiff.addAscii(0, 0x010F, "Nikon");
    tiff.setFirstDirectoryOffset(0);
    ASSERT_TRUE(open(tiff.build(), "raw.NEF"));
    EXPECT_EQ(value("Make"), "Nikon");
}

TEST_F(TiffPathTest, ShortFileIsReadAsFarAsItGoes)
{
    TiffBuilder tiff(true);
    tiff.addShorts(0, 0x0112, {6});
    std::string bytes = tiff.build();
    bytes.resize(100, '\0');
    ASSERT_TRUE(open(bytes, "short.tiff"));
    EXPECT_EQ(image.sections[0].bytes.size(), 92u);
    EXPECT_EQ(value("Orientation"), "CounterClockwise 90°");
}

TEST_F(TiffPathTest, ValuesBeyondTheDataLimitAreNotAvailable)
{
    TiffBuilder tiff(false);
    tiff.addRawEntry(0, 0x0102, 3, 3, 255990);  // ends 6 bytes before the limit
    tiff.addRawEntry(0, 0x0103, 3, 3, 300000);
    std::string bytes = tiff.build();
    bytes.resize(300100, '\0');
    bytes[255990] = 0x08;
    ASSERT_TRUE(open(bytes, "big.nef"));
    EXPECT_EQ(image.sections[0].bytes.size(), 256000u);
    EXPECT_EQ(value("BitsPerSample"), "8, 0, 0");
    EXPECT_EQ(value("Compression"), "");
    EXPECT_EQ(decoder().EntryByName("Compression").rawBytes, "");
}

// The IPTC-NAA tag of IFD0 holds the file's IPTC datasets, whatever its type;
// in a JPEG's Exif data it does not stand for an APP13 segment.
TEST_F(TiffPathTest, IptcNaaTagIsTheIptcSection)
{
    const std::string datasets = iptcDataset(2, 90, "Kingston") + iptcDataset(2, 101, "Canada");
    for (const uint16_t type : {1, 7, 4}) {
        SCOPED_TRACE(type);
        TiffBuilder tiff(type == 4);
        tiff.addEntry(0, 0x83BB, type, static_cast<uint32_t>(datasets.size() / typeSize(type)), datasets);
        ASSERT_TRUE(open(tiff.build(), "raw.nef"));
        ASSERT_NE(image.iptcList, nullptr);
        image.iptcList->ParseSegment(image.iptcSection->bytes);
        EXPECT_EQ(image.iptcList->RecordCount(), 2);
        EXPECT_EQ(image.iptcList->ValueOf("LocationName", ""), "Canada");
        ASSERT_TRUE(openExif(tiff));
        EXPECT_EQ(image.iptcSection, nullptr);
    }
}

TEST_F(TiffPathTest, NotATiffFile)
{
    EXPECT_FALSE(open(jpegFile({commentSegment("c"), scanSegment()}), "wrong.tif"));
    EXPECT_EQ(image.errorText, "Not an EXIF file");
    EXPECT_FALSE(image.ExifPresent());
    EXPECT_FALSE(open("I", "tiny.tif"));
    EXPECT_FALSE(image.readingTiff);
}

TEST_F(TiffPathTest, ErrorInTheFirstDirectoryFailsTheRead)
{
    TiffBuilder tiff(false);
    tiff.addRawEntry(0, 0x010F, 99, 1, 0);
    EXPECT_FALSE(open(tiff.build(), "broken.tif"));
    EXPECT_EQ(image.errorText, "Not an EXIF file");
    EXPECT_TRUE(image.ExifPresent());
    EXPECT_FALSE(image.readingTiff);
}

}  // namespace
}  // namespace vistado::test
