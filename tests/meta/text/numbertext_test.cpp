#include "meta/text/numbertext.h"
#include "meta/rangeerror.h"
#include "meta/text/settings.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <locale>

namespace vistado {
namespace {

class FormatNumbersTest : public testing::Test {
protected:
    void SetUp() override { setDecimalSeparator('.'); }
    void TearDown() override { setDecimalSeparator(','); }
};

TEST_F(FormatNumbersTest, AppliesTemplates)
{
    EXPECT_EQ(formatNumbers("%5.2f", {72}), "72.00");
    EXPECT_EQ(formatNumbers("%5.2f mm", {6.3}), " 6.30 mm");
    EXPECT_EQ(formatNumbers("F%0.1f", {2.8}), "F2.8");
    EXPECT_EQ(formatNumbers("%1.6f", {48.142933333}), "48.142933");
    EXPECT_EQ(formatNumbers("%1.6f", {-0.3713}), "-0.371300");
    EXPECT_EQ(formatNumbers("%0.0f Degrees %1.2f Minutes", {48, 8.576}), "48 Degrees 8.58 Minutes");
    EXPECT_EQ(formatNumbers("%4.4f sec", {1.0 / 120}), "0.0083 sec");
    EXPECT_EQ(formatNumbers(" (1/%d)", {119.6}), " (1/120)");
    EXPECT_EQ(formatNumbers("%-6.1f|%06.1f", {1.5, -1.5}), "1.5   |-001.5");
    EXPECT_EQ(formatNumbers("100%% %f", {0.5}), "100% 0.500000");
    EXPECT_EQ(formatNumbers("%0.0f:%0.0f", {7}), "7:0");
    EXPECT_EQ(formatNumbers("%1.2f", {std::nan("")}), "nan");
}

TEST_F(FormatNumbersTest, UsesTheEngineSeparatorWhateverTheLocale)
{
    struct Comma : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
    };
    const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new Comma));
    const bool german = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    EXPECT_EQ(formatNumbers("%1.6f", {48.142933}), "48.142933");
    setDecimalSeparator(',');
    EXPECT_EQ(formatNumbers("%1.6f", {48.142933}), "48,142933");
    if (german)
        std::setlocale(LC_ALL, "C");
    std::locale::global(previous);
}

TEST(ParseInteger, DecimalIntegersOnly)
{
    EXPECT_EQ(parseInteger(" 25"), 25);
    EXPECT_EQ(parseInteger("-7"), -7);
    EXPECT_EQ(parseInteger("+7"), 7);
    EXPECT_FALSE(parseInteger("25 "));
    EXPECT_FALSE(parseInteger("2.5"));
    EXPECT_FALSE(parseInteger(""));
    EXPECT_FALSE(parseInteger("0x10"));
    EXPECT_FALSE(parseInteger("99999999999999999999"));
}

TEST(RoundToInt32, TiesToEvenAndRangeError)
{
    EXPECT_EQ(roundToInt32(2.5), 2);
    EXPECT_EQ(roundToInt32(3.5), 4);
    EXPECT_EQ(roundToInt32(-2.5), -2);
    EXPECT_EQ(roundToInt32(2147483647.0), 2147483647);
    EXPECT_THROW(roundToInt32(2147483648.0), ERangeError);
    EXPECT_THROW(roundToInt32(std::nan("")), ERangeError);
    EXPECT_THROW(roundToInt32(INFINITY), ERangeError);
}

}  // namespace
}  // namespace vistado
