#include "meta/imagefiletest.h"

#include "meta/exif/gpsposition.h"
#include "meta/exif/tagnumbers.h"
#include "meta/rangeerror.h"

#include <ctime>

namespace vistado::test {
namespace {

class LookupTest : public ImageFileTest {};

TEST_F(LookupTest, NamesMatchWholeKeysIgnoringLetterCase)
{
    TiffBuilder tiff(true);
    const int gps = tiff.addDirectory();
    tiff.addAscii(0, 0x8298, "(c) Anna");
    tiff.addPointer(0, kGpsInfo, gps);
    tiff.addAscii(gps, 1, "N");
    tiff.addAscii(gps, 3, "W");
    tiff.addRationals(gps, 4, {{1, 1}, {54, 1}, {2900, 100}});
    ASSERT_TRUE(openExif(tiff));
    EXPECT_EQ(value("gpslongituderef"), "W");
    EXPECT_EQ(value("GPSLONGITUDE"), "1.908056");
    EXPECT_EQ(decoder().IndexOfName("GPSLatitudeRef"), 1);
    // Only letters fold: "GPSLatitude" is not "GPSLatitudeRef", and no latitude is stored.
    EXPECT_EQ(value("GPSLatitude"), "");
    EXPECT_EQ(decoder().IndexOfName("GPSLatitude"), -1);
    EXPECT_EQ(value("copyright"), "(c) Anna");
    EXPECT_EQ(value("COPYRIGHT "), "");
    EXPECT_EQ(decoder().EntryByName("Nothing").tagId, 0);
    EXPECT_EQ(gpsPositionText(decoder()), "");
}

TEST_F(LookupTest, FirstOfTwoEqualKeysWins)
{
    TiffBuilder tiff(false);
    const int exif = tiff.addDirectory();
    tiff.addBytes(0, 0x828E, {0, 1, 1, 2});
    tiff.addPointer(0, kExifOffset, exif);
    tiff.addUndefined(exif, 0xA302, std::string("\x02\x00\x02\x00", 4));
    ASSERT_TRUE(openExif(tiff));
    EXPECT_EQ(value("CFAPattern"), "0, 1, 1, 2");
}

TEST_F(LookupTest, NumbersOfTags)
{
    TiffBuilder tiff(true);
    tiff.addRationals(0, 0x011A, {{5, 2}});
    tiff.addRationals(0, 0x011B, {{7, 2}});
    tiff.addRationals(0, 0x829D, {{0xFFFFFFFF, 1}}, 10);
    tiff.addRationals(0, 0x829A, {{3000000000u, 1}}, 5);
    ASSERT_TRUE(openExif(tiff));
    EXPECT_EQ(decoder().TagInteger("XResolution"), 2);
    EXPECT_EQ(decoder().TagInteger("YResolution"), 4);
    EXPECT_EQ(decoder().TagNumber("YResolution"), 3.5);
    EXPECT_EQ(decoder().TagInteger("FNumber"), -1);
    EXPECT_EQ(decoder().TagInteger("Missing"), 0);
    EXPECT_EQ(decoder().TagNumber("Missing"), 0);
    // Numerators are read as signed 32-bit numbers.
    EXPECT_EQ(decoder().TagNumber("ExposureTime"), -1294967296.0);
}

TEST_F(LookupTest, PositionTextAsThePlaceRunBuildsIt)
{
    struct Case {
        const char* latitudeRef;
        const char* longitudeRef;
        const char* expected;
    };
    const Case cases[] = {
        {"N", "E", "33.856783,151.215297"},
        {"S", "W", "-33.856783,-151.215297"},
        {"s", "w", "33.856783,151.215297"},  // only the capital letters count
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        TiffBuilder tiff(false);
        const int gps = tiff.addDirectory();
        tiff.addPointer(0, kGpsInfo, gps);
        tiff.addAscii(gps, 1, c.latitudeRef);
        tiff.addRationals(gps, 2, {{33, 1}, {51, 1}, {2442, 100}});
        tiff.addAscii(gps, 3, c.longitudeRef);
        tiff.addRationals(gps, 4, {{151, 1}, {12, 1}, {5507, 100}});
        ASSERT_TRUE(openExif(tiff));
        EXPECT_EQ(gpsPositionText(decoder()), c.expected);
    }
    // A southern reference without a latitude still gives a position.
    TiffBuilder tiff(false);
    const int gps = tiff.addDirectory();
    tiff.addPointer(0, kGpsInfo, gps);
    tiff.addAscii(gps, 1, "S");
    tiff.addRationals(gps, 4, {{70, 1}, {7, 1}, {2442, 100}});
    ASSERT_TRUE(openExif(tiff));
    EXPECT_EQ(gpsPositionText(decoder()), "-,70.123450");
}

TEST_F(LookupTest, SummaryOfAReadImage)
{
    TiffBuilder tiff(true);
    const int exif = tiff.addDirectory();
    tiff.addAscii(0, 0x010F, "NIKON");
    tiff.addAscii(0, 0x0110, "COOLPIX P6000");
    tiff.addPointer(0, kExifOffset, exif);
    tiff.addRationals(exif, 0x9201, {{6906891, 1000000}}, 10);
    tiff.addAscii(exif, 0x9003, "2008:10:22 16:28:39");
    tiff.addShorts(exif, 0x8827, {64});
    tiff.addShorts(exif, 0x9209, {25});
    tiff.addRationals(exif, 0x920A, {{240, 10}});
    tiff.addRationals(exif, 0x829D, {{59, 10}});
    tiff.addLongs(exif, 0xA002, {640});
    tiff.addLongs(exif, 0xA003, {480});
    const std::string bytes = jpegFile({exifSegment(tiff.build()), commentSegment(std::string(3000, 'x')), scanSegment()});
    ASSERT_TRUE(open(bytes, "DSCN0010.jpg"));
    std::tm local{};
    localtime_r(&image.sourceDate, &local);
    char time[16];
    std::strftime(time, sizeof time, "%H:%M:%S", &local);
    EXPECT_EQ(decoder().SummaryText(),
              "File Name: DSCN0010.jpg\r\n"
              "File Size: " + std::to_string(bytes.size() / 1024) + "k\r\n"
              "File Date: " + time + "\r\n"
              "Photo Date: 2008:10:22 16:28:39\r\n"
              "Make (Model): NIKON (COOLPIX P6000)\r\n"
              "Dimensions: 640 x 480\r\n"
              "Exposure Time: 0.0083 sec (1/120)\r\n"
              "Focal Length: 24.00 mm\r\n"
              "FNumber: F5.9\r\n"
              "ISO: 64\r\n"
              "Flash: Yes");
}

TEST_F(LookupTest, SummaryOfAFailedRead)
{
    ASSERT_FALSE(open(jpegFile({segment(0xE1, "Exif"), segmentWithLength(0xDB, 0, "")}), "bad.jpg"));
    EXPECT_EQ(decoder().SummaryText(), "File Name: bad.jpg\r\nExif Error: Incorrect Exif header");
    // A decoder whose container holds no Exif segment.
    image.exifSection = nullptr;
    EXPECT_EQ(decoder().SummaryText(), "");
}

struct DimensionCase {
    const char* name;
    bool bigEndian;
    bool asLong;
};

void PrintTo(const DimensionCase& c, std::ostream* out)
{
    *out << c.name;
}

class AdjustDimensionsTest : public ImageFileTest, public testing::WithParamInterface<DimensionCase> {};

INSTANTIATE_TEST_SUITE_P(Types, AdjustDimensionsTest,
                         testing::Values(DimensionCase{"ShortMotorola", true, false},
                                         DimensionCase{"ShortIntel", false, false},
                                         DimensionCase{"LongMotorola", true, true},
                                         DimensionCase{"LongIntel", false, true}),
                         [](const testing::TestParamInfo<DimensionCase>& info) { return info.param.name; });

TEST_P(AdjustDimensionsTest, PatchesTheSizeEntries)
{
    const DimensionCase& c = GetParam();
    TiffBuilder tiff(c.bigEndian);
    const int exif = tiff.addDirectory();
    tiff.addPointer(0, kExifOffset, exif);
    if (c.asLong) {
        tiff.addLongs(exif, 0xA002, {640});
        tiff.addLongs(exif, 0xA003, {480});
    } else {
        tiff.addShorts(exif, 0xA002, {640});
        tiff.addShorts(exif, 0xA003, {480});
    }
    ASSERT_TRUE(openExif(tiff));
    const std::string before = image.exifSection->bytes;
    decoder().AdjustDimensions(480, 640);
    EXPECT_EQ(image.exifSection->bytes, before);

    decoder().AdjustDimensions(70000, 1024);
    std::string& bytes = image.exifSection->bytes;
    const int32_t width = decoder().widthValuePos;
    const int32_t height = decoder().heightValuePos;
    if (c.asLong) {
        EXPECT_EQ(read32In(bytes, width, c.bigEndian), 1024u);
        EXPECT_EQ(read32In(bytes, height, c.bigEndian), 70000u);
    } else {
        EXPECT_EQ(read16In(bytes, width, c.bigEndian), 1024u);
        EXPECT_EQ(read16In(bytes, width + 2, c.bigEndian), 0u);
        EXPECT_EQ(read16In(bytes, height, c.bigEndian), 70000u & 0xFFFF);
    }
    EXPECT_EQ(decoder().imageWidth, 640);
    EXPECT_EQ(bytes.size(), before.size());
}

TEST_F(LookupTest, AdjustDimensionsNeedsBothSizes)
{
    TiffBuilder tiff(true);
    tiff.addShorts(0, 0x0101, {480});
    ASSERT_TRUE(openExif(tiff));
    const std::string before = image.exifSection->bytes;
    decoder().AdjustDimensions(100, 100);
    EXPECT_EQ(image.exifSection->bytes, before);
}

TEST_F(LookupTest, AdjustDimensionsLeavesOffsetsAlone)
{
    TiffBuilder tiff(true);
    tiff.addRationals(0, 0x0100, {{640, 1}});
    tiff.addShorts(0, 0x0101, {480});
    ASSERT_TRUE(openExif(tiff));
    const int32_t width = decoder().widthValuePos;
    const uint32_t offset = read32In(image.exifSection->bytes, width, true);
    decoder().AdjustDimensions(100, 100);
    EXPECT_EQ(read32In(image.exifSection->bytes, width, true), offset);
    EXPECT_EQ(read16In(image.exifSection->bytes, decoder().heightValuePos, true), 100);
}

}  // namespace
}  // namespace vistado::test
