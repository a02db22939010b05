#include "meta/exif/formatters.h"
#include "meta/rangeerror.h"
#include "meta/text/settings.h"

#include <gtest/gtest.h>

namespace vistado {
namespace {

class GpsFormatTest : public testing::Test {
protected:
    void SetUp() override { setDecimalSeparator('.'); }
    void TearDown() override
    {
        setDecimalSeparator(',');
        setGpsRenderingMode(0);
    }
};

struct CoordinateCase {
    const char* input;
    const char* mode0;
    const char* mode1;
    const char* mode2;
};

TEST_F(GpsFormatTest, CoordinateInEveryMode)
{
    const CoordinateCase cases[] = {
        {"48/1, 8/1, 3456/100", "48.142933", "48 Degrees 8.58 Minutes", "48 8 34.56"},
        {"48/1, 857600/100000, 0/1", "48.142933", "48 Degrees 8.58 Minutes", "48 8 34.56"},
        {"48/1, 857600/100000, 0/0", "48.142933", "48 Degrees 8.58 Minutes", "48 8 34.56"},
        {"0/1, 30/1, 0/1", "0.500000", "0 Degrees 30.00 Minutes", "0 30 0.00"},
        {"48/1, 8/1", "48.002222", "48 Degrees 0.13 Minutes", "48 0 8.00"},
        {"48/1", "0.013333", "0 Degrees 0.80 Minutes", "0 0 48.00"},
    };
    for (const CoordinateCase& c : cases) {
        SCOPED_TRACE(c.input);
        setGpsRenderingMode(0);
        EXPECT_EQ(RenderGpsCoordinate(c.input), c.mode0);
        setGpsRenderingMode(1);
        EXPECT_EQ(RenderGpsCoordinate(c.input), c.mode1);
        setGpsRenderingMode(2);
        EXPECT_EQ(RenderGpsCoordinate(c.input), c.mode2);
        setGpsRenderingMode(3);
        EXPECT_EQ(RenderGpsCoordinate(c.input), c.input);
    }
}

TEST_F(GpsFormatTest, CoordinateTakesTheEngineSeparator)
{
    setDecimalSeparator(',');
    EXPECT_EQ(RenderGpsCoordinate("48/1, 8/1, 3456/100"), "48,142933");
}

TEST_F(GpsFormatTest, TimeWithoutLeadingZeros)
{
    EXPECT_EQ(RenderGpsTime("12/1, 5/1, 3456/100"), "12:5:35");
    EXPECT_EQ(RenderGpsTime("0/1, 0/1, 0/1"), "0:0:0");
}

TEST(Formatters, Components)
{
    EXPECT_EQ(RenderComponents(std::string("\"\x01\x02\x03\"", 5)), "YCbCr");
    EXPECT_EQ(RenderComponents(std::string("\"\x04\x05\x06\x09\"", 6)), "RGB");
    EXPECT_EQ(RenderComponents("\"\""), "");
}

TEST(Formatters, FlashBits)
{
    EXPECT_EQ(RenderFlash("25"), "On, auto mode");
    EXPECT_EQ(RenderFlash("0"), "Off");
    EXPECT_EQ(RenderFlash("16"), "Off, surpressed");
    EXPECT_EQ(RenderFlash("7"), "On, strobe return");
    EXPECT_EQ(RenderFlash("3"), "On, UNKNOWN");
    EXPECT_EQ(RenderFlash("13"), "On, no strobe return, forced");
    EXPECT_EQ(RenderFlash("32"), "Off, no flash function");
    EXPECT_EQ(RenderFlash("65"), "On, red-eye reduction");
    EXPECT_THROW(RenderFlash("24, 0"), ERangeError);
    EXPECT_THROW(RenderFlash(""), ERangeError);
}

TEST_F(GpsFormatTest, ShutterSpeedFromApex)
{
    EXPECT_EQ(RenderShutterSpeed("6906891/1000000"), "0.0083 sec (1/120)");
    EXPECT_EQ(RenderShutterSpeed("-1/1"), "2.0000 sec");
    EXPECT_EQ(RenderShutterSpeed("1/1"), "0.5000 sec (1/2)");
    EXPECT_EQ(RenderShutterSpeed("-2147483648/1"), "-2147483648/1");
    EXPECT_EQ(RenderShutterSpeed("2147483647/1"), "2147483647/1");
}

TEST(Formatters, UserCommentDropsCodePrefix)
{
    EXPECT_EQ(RenderUserComment("ASCII...Hello"), "Hello");
    EXPECT_EQ(RenderUserComment("ASCII"), "");
}

TEST(Formatters, XpTextKeepsLowBytes)
{
    EXPECT_EQ(RenderXpText("65, 0, 66, 0, 0, 0"), "AB");
    EXPECT_EQ(RenderXpText("65, 1, 66"), "A");  // the last item is never read
    EXPECT_EQ(RenderXpText("65"), "");
    EXPECT_EQ(RenderXpText("?, ?, 67, 0, 0"), "C");
}

}  // namespace
}  // namespace vistado
