#include "meta/rangeerror.h"
#include "meta/text/settings.h"
#include "meta/text/valuerender.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace vistado {
namespace {

const std::string kOrientationMap = "1:Normal,3:Rotated 180°,6:CounterClockwise 90°,8:Clockwise 90°";

struct RenderCase {
    const char* name;
    std::string raw;
    uint16_t type;
    std::string format;
    std::string map;
    bool bigEndian;
    std::string expected;
};

void PrintTo(const RenderCase& c, std::ostream* out)
{
    *out << c.name;
}

class RenderValueTest : public testing::TestWithParam<RenderCase> {
protected:
    void SetUp() override { setDecimalSeparator('.'); }
    void TearDown() override { setDecimalSeparator(','); }
};

TEST_P(RenderValueTest, RendersByType)
{
    const RenderCase& c = GetParam();
    EXPECT_EQ(RenderValue(c.raw, c.type, c.format, c.map, c.bigEndian), c.expected);
}

std::string bytes(std::initializer_list<int> values)
{
    std::string bytes;
    for (int v : values)
        bytes += static_cast<char>(v);
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Values, RenderValueTest,
    testing::Values(
        RenderCase{"OrientationInMap", bytes({0, 6}), 3, "", kOrientationMap, true, "CounterClockwise 90°"},
        RenderCase{"OrientationNotInMap", bytes({0, 2}), 3, "", kOrientationMap, true, ""},
        RenderCase{"AltitudeRefNotInMap", bytes({1}), 1, "", "0:Sealevel", true, ""},
        RenderCase{"Photometric", bytes({2, 0}), 3, "", "1:Monochrome,2:RGB,6:YCbCr", false, "RGB"},
        RenderCase{"TwoShorts", bytes({0, 1, 0, 2}), 3, "", "", true, "1, 2"},
        RenderCase{"ShortLittleEndian", bytes({6, 0}), 3, "", "", false, "6"},
        RenderCase{"Resolution", bytes({0, 0, 0, 72, 0, 0, 0, 1}), 5, "%5.2f", "", true, "72.00"},
        RenderCase{"FocalLengthPadded", bytes({0, 0, 0, 63, 0, 0, 0, 10}), 5, "%5.2f mm", "", true, " 6.30 mm"},
        RenderCase{"ExposureTime", bytes({1, 0, 0, 0, 60, 0, 0, 0}), 5, "%s sec", "", false, "1/60 sec"},
        RenderCase{"FNumber", bytes({0, 0, 0, 28, 0, 0, 0, 10}), 5, "F%0.1f", "", true, "F2.8"},
        RenderCase{"ApexApertureAsIs", bytes({0, 0, 1, 41, 0, 0, 0, 100}), 5, "F%0.1f", "", true, "F3.0"},
        RenderCase{"ZeroDenominator", bytes({0, 0, 0, 5, 0, 0, 0, 0}), 5, "", "", true, "5/0"},
        RenderCase{"SignedRational", bytes({0xFF, 0xFF, 0xFF, 0xFB, 0, 0, 0, 2}), 10, "", "", true, "-5/2"},
        RenderCase{"SLongNegative", bytes({0xFF, 0xFF, 0xFF, 0xFB}), 9, "", "", true, "-5"},
        RenderCase{"SShortUnsigned", bytes({0xFF, 0xFB}), 8, "", "", true, "65531"},
        RenderCase{"LongAllOnes", bytes({0xFF, 0xFF, 0xFF, 0xFF}), 4, "", "", true, "-1"},
        RenderCase{"TypeZero", bytes({1, 2}), 0, "%5.2f", "", true, "0"},
        RenderCase{"TextTypes", bytes({'a', 'b'}), 2, "", "", true, "?, ?"},
        RenderCase{"Float", bytes({0x3F, 0xC0, 0, 0}), 11, "", "", true, "-9999.99"},
        RenderCase{"FloatFormatted", bytes({0x40, 0x30, 0, 0}), 11, "F%0.1f", "", true, "F2.8"},
        RenderCase{"Double", bytes({0, 0, 0, 0, 0, 0, 0xF8, 0x3F}), 12, "", "", false, "-9999.99"},
        RenderCase{"PartialValueDropped", bytes({0, 1, 0}), 3, "", "", true, "1"}),
    [](const testing::TestParamInfo<RenderCase>& info) { return info.param.name; });

TEST(RenderValue, RendersAtMost128Values)
{
    const std::string text = RenderValue(std::string(200, '\x07'), 1, "", "", true);
    EXPECT_EQ(text.size(), 128 * 3 - 2);
}

TEST(RenderValue, TypeAbove12IsRangeError)
{
    EXPECT_THROW(RenderValue("abcd", 13, "", "", true), ERangeError);
}

TEST(NumericValue, FirstValueOrWholeInteger)
{
    EXPECT_EQ(NumericValue(bytes({0, 5}), 3, true), 5);
    EXPECT_EQ(NumericValue(bytes({0, 0, 0, 5, 0, 0, 0, 2}), 5, true), 2.5);
    EXPECT_EQ(NumericValue(bytes({0, 0, 0, 5, 0, 0, 0, 0}), 5, true), 0);
    EXPECT_EQ(NumericValue(bytes({0, 0, 0, 5}), 5, true), 0);  // half a rational
    EXPECT_EQ(NumericValue("12", 2, true), 0);
    EXPECT_EQ(NumericValue("1234", 13, true), 0);
    EXPECT_FLOAT_EQ(NumericValue(bytes({0x3F, 0xC0, 0, 0}), 11, true), 1.5);
    EXPECT_DOUBLE_EQ(NumericValue(bytes({0, 0, 0, 0, 0, 0, 0xF8, 0x3F}), 12, false), 1.5);
}

TEST(IntegerFromBytes, ByteOrderAndWidth)
{
    EXPECT_EQ(IntegerFromBytes(bytes({0xFF, 0xFF}), true), 65535);
    EXPECT_EQ(IntegerFromBytes(bytes({0x12, 0x34}), false), 0x3412);
    EXPECT_EQ(IntegerFromBytes(bytes({0x80, 0, 0, 0}), true), INT32_MIN);
    // Of a longer string the last four bytes count in big-endian order, the first four in little-endian.
    EXPECT_EQ(IntegerFromBytes(bytes({9, 9, 0, 0, 0, 1}), true), 1);
    EXPECT_EQ(IntegerFromBytes(bytes({1, 0, 0, 0, 9, 9}), false), 1);
    EXPECT_EQ(IntegerFromBytes("", true), 0);
}

TEST(MapLookup, FindsTrimmedKeyOrNothing)
{
    EXPECT_EQ(MapLookup(kOrientationMap, "3"), "Rotated 180°");
    EXPECT_EQ(MapLookup(kOrientationMap, " 8 "), "Clockwise 90°");
    EXPECT_EQ(MapLookup(kOrientationMap, "2"), "");
    EXPECT_EQ(MapLookup("11:Eleven,1:One", "1"), "One");
    EXPECT_EQ(MapLookup("", "1"), "");
}

TEST(FractionValue, FractionsAndFailures)
{
    EXPECT_DOUBLE_EQ(FractionValue("3456/100"), 34.56);
    EXPECT_DOUBLE_EQ(FractionValue("2 1/2"), 2.5);
    EXPECT_DOUBLE_EQ(FractionValue("  -5/2 "), -2.5);
    EXPECT_EQ(FractionValue("7"), 0);
    EXPECT_EQ(FractionValue("1/0"), 0);
    EXPECT_EQ(FractionValue("a/b"), 0);
    EXPECT_EQ(FractionValue("1.5/2"), 0);
    EXPECT_EQ(FractionValue(""), 0);
}

TEST(PrintableText, CutsAt50AndShowsControlCharactersAsDots)
{
    EXPECT_EQ(PrintableText(std::string(60, 'x')).size(), 50u);
    EXPECT_EQ(PrintableText(std::string("ab\0\r\n\x1F" "c", 7)), "ab....c");
    EXPECT_EQ(PrintableText("Grüße"), "Grüße");
}

TEST(SpacedName, BlankBeforeCapitalAfterNonCapital)
{
    EXPECT_EQ(SpacedName("ExposureTime"), "Exposure Time");
    EXPECT_EQ(SpacedName("DateTimeOriginal"), "Date Time Original");
    EXPECT_EQ(SpacedName("ISOSpeedRatings"), "ISOSpeed Ratings");
    EXPECT_EQ(SpacedName("GPSLatitude"), "GPSLatitude");
    EXPECT_EQ(SpacedName("GPSLatitudeRef"), "GPSLatitude Ref");
    EXPECT_EQ(SpacedName(""), "");
}

}  // namespace
}  // namespace vistado
