#include "meta/makernote/listfields.h"
#include "meta/makernote/makernote.h"
#include "meta/makernote/makernoteformat.h"
#include "meta/text/settings.h"

#include <gtest/gtest.h>

namespace vistado {
namespace {

struct TextCase {
    const char* input;
    const char* shown;
};

TEST(NikonFormat, ColorModeComparesFiveCharacters)
{
    const TextCase cases[] = {
        {"\"MODE1\"", "Mode1 (sRGB)"},
        {"\"MODE2\"", "Mode 2 (Adobe RGB)"},
        {"\"MODE3\"", "Mode 3 (sRGB): higher saturation"},
        {"\"MODE1a\"", "Mode1 (sRGB)"},
        {"\"BW\"", "BW\""},
        {"\"COLOR\"", "COLOR"},
        {"\"mode2\"", "mode2"},
        {"\"", ""},
        {"", ""},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(FormatNikonColorMode(c.input), c.shown) << c.input;
}

class NikonLensTest : public testing::Test {
protected:
    void SetUp() override { setDecimalSeparator('.'); }
    void TearDown() override { setDecimalSeparator(','); }
};

TEST_F(NikonLensTest, FourRationals)
{
    const TextCase cases[] = {
        {"180/10, 700/10, 35/10, 45/10", "18.0-70.0(mm)  F3.5-F4.5"},
        {"50/1, 50/1, 14/10, 14/10", "50.0-50.0(mm)  F1.4-F1.4"},
        {"180/10", "0.0-0.0(mm)  F0.0-F18.0"},
        {"180/10, 700/10", "18.0-0.0(mm)  F0.0-F70.0"},
        {"", "0.0-0.0(mm)  F0.0-F0.0"},
        {"18/0, x, 35/10, 45/10", "0.0-0.0(mm)  F3.5-F4.5"},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(FormatNikonLens(c.input), c.shown) << c.input;
}

TEST_F(NikonLensTest, TakesTheEngineSeparator)
{
    setDecimalSeparator(',');
    EXPECT_EQ(FormatNikonLens("180/10, 700/10, 35/10, 45/10"), "18,0-70,0(mm)  F3,5-F4,5");
}

TEST(ListFields, SplitAtTheFirstSeparator)
{
    EXPECT_EQ(TextBefore("92, 2, 0", ","), "92");
    EXPECT_EQ(TextBefore("92", ","), "92");
    EXPECT_EQ(TextBefore("92", ""), "");
    EXPECT_EQ(TextAfter("92, 2, 0", ","), " 2, 0");
    EXPECT_EQ(TextAfter("92", ","), "");
    EXPECT_EQ(TextAfter("92", ""), "92");
    EXPECT_EQ(TextAfter("a, b", ", "), "b");
    EXPECT_EQ(TextAfter("A,b", "a"), "");  // case-sensitive
}

TEST(ListFields, FieldsKeepTheBlankOfTheValueSeparator)
{
    const std::string list = "92, 2, 0";
    EXPECT_EQ(ListField(list, ",", 1), "92");
    EXPECT_EQ(ListField(list, ",", 2), " 2");
    EXPECT_EQ(ListField(list, ",", 3), " 0");
    EXPECT_EQ(ListField(list, ",", 4), "");
    EXPECT_EQ(ListField(list, ",", 0), "92");
    EXPECT_EQ(ListField(list, ",", -3), "92");
    EXPECT_EQ(ListField("a,,b", ",", 2), "");
}

TEST(ListFields, AllFieldsInOnePass)
{
    EXPECT_EQ(ListFields("92, 2, 0", ",", 10), (std::vector<std::string>{"92", " 2", " 0"}));
    EXPECT_EQ(ListFields("92, 2, 0", ",", 2), (std::vector<std::string>{"92", " 2"}));
    EXPECT_EQ(ListFields("a,,b,", ",", 10), (std::vector<std::string>{"a", "", "b", ""}));
    EXPECT_EQ(ListFields("", ",", 10), std::vector<std::string>{""});
}

TEST(ListFields, CountSeparators)
{
    EXPECT_EQ(CountSeparators("92, 2, 0", ","), 2);
    EXPECT_EQ(CountSeparators("92, 2, 0", ", "), 2);
    EXPECT_EQ(CountSeparators("a,,b,", ","), 3);
    EXPECT_EQ(CountSeparators("aaaa", "aa"), 2);
    EXPECT_EQ(CountSeparators("aaa", "aa"), 1);
    EXPECT_EQ(CountSeparators("92", ","), 0);
    EXPECT_EQ(CountSeparators("", ","), 0);
    EXPECT_EQ(CountSeparators("abc", ""), 0);
}

// Outside a walk there is no note to store derived entries in; the
// formatters still give their lines.
class CanonFormatTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(currentMakerNote(), nullptr);
        setFormatterExpansion(false);
    }
};

TEST_F(CanonFormatTest, ItemDecoders)
{
    EXPECT_EQ(DecodePlainItem("92, 2, 0", "Self Timer", 1), "\r\nSelf Timer =  2");
    EXPECT_EQ(DecodePlainItem("92, 2, 0", "First", 0), "\r\nFirst = 92");
    EXPECT_EQ(DecodePlainItem("92, 2, 0", "Beyond", 3), "");
    EXPECT_EQ(DecodePlainItem("92, , 0", "Blank", 1), "");
    EXPECT_EQ(DecodeMappedItem("92, 2, 0", "Macro mode", 1, "1:Macro,2:Normal"), "\r\nMacro mode = Normal");
    EXPECT_EQ(DecodeMappedItem("92, 3, 0", "Macro mode", 1, "1:Macro,2:Normal"), "");
    EXPECT_EQ(DecodeMappedItem("92", "Macro mode", 1, "1:Macro,2:Normal"), "");
    EXPECT_EQ(DecodeCustomFunction("Mirror Lockup", 1, "0:Disable,1:Enable"), "\r\nMirror Lockup = Enable");
    EXPECT_EQ(DecodeCustomFunction("Mirror Lockup", 2, "0:Disable,1:Enable"), "");
    EXPECT_EQ(DecodeCustomFunction("Noise Reduction", 0, "0: Off,1: On"), "\r\nNoise Reduction =  Off");
}

TEST_F(CanonFormatTest, SettingsReadSelfTimerFromTheMacroField)
{
    EXPECT_EQ(FormatCanonSettings("92, 2, 0"), "\r\nMacro mode = Normal\r\nSelf Timer =  2");
    EXPECT_TRUE(formatterExpansion());
}

TEST_F(CanonFormatTest, SettingsInTableOrder)
{
    // A camera-settings record of a PowerShot S40.
    const std::string list = "80, 2, 0, 5, 1, 0, 0, 4, 0, 1, 0, 1, 0, 0, 0, 0, 17, 5, 1, 12291, 1, "
                             "65535, 65535, 682, 227, 32, 149, 192, 0, 0, 0, 0, 0, 0, 65535, 49";
    EXPECT_EQ(FormatCanonSettings(list),
              "\r\nMacro mode = Normal\r\nSelf Timer =  2\r\nCompression Rate = SuperFine"
              "\r\nFlash Mode = Auto\r\nDrive Mode = Single\r\nFocus Mode = Single"
              "\r\nImage Size = Large\r\nEasy Shoot = Manual\r\nContrast = Normal"
              "\r\nSaturation = Normal\r\nSharpness = Normal\r\nCCD ISO = 100"
              "\r\nMetering Mode = Center-weighted average\r\nAF Point = Center"
              "\r\nExposure Mode = Program AE\r\nLong focal =  682\r\nShort focal =  227"
              "\r\nFocal Units =  32\r\nFlash Details =  0\r\nFocus Mode = Single");
}

TEST_F(CanonFormatTest, ShotInfo)
{
    const std::string list = "54, 0, 160, 276, 149, 287, 0, 3, 7, 0, 6, 0, 0, 0, 12290, 65524, 0, 0, 1";
    EXPECT_EQ(FormatCanonShotInfo(list),
              "\r\nWhite balance = Tungsten\r\nSequence Number =  7\r\nOpticalZoom Step =  6"
              "\r\nAF point =  0\r\nFlash bias = -0.33 EV\r\nDistance =  1");
    EXPECT_TRUE(formatterExpansion());
    setFormatterExpansion(false);
    EXPECT_EQ(FormatCanonShotInfo("54"), "");
    EXPECT_TRUE(formatterExpansion());
}

TEST_F(CanonFormatTest, CustomFunctions)
{
    const TextCase cases[] = {
        {"30, 257, 512, 769",
         "\r\nNoise Reduction =  On\r\nShutter AE Lock Button = AF/AE lock\r\nMirror Lockup = Enable"},
        {"30", ""},
        {"30, -257, 4097, x, 3585", "\r\nSuperimposed Display =  Off"},
        // The AEB map lacks a comma before its 1: setting 0 shows "0", 1 nothing, 2 " -".
        {"6, 1792, 1793, 1794", "\r\nAEB Sequence = 0\r\nAEB Sequence =  -"},
        {"4, 3841, 1537", "\r\nShutter Release w/o CF Card = Disable\r\nAV Shutter Speed =  1/200 (fixed)"},
    };
    for (const TextCase& c : cases) {
        setFormatterExpansion(false);
        EXPECT_EQ(FormatCanonCustomFunctions(c.input), c.shown) << c.input;
        EXPECT_TRUE(formatterExpansion());
    }
}

}  // namespace
}  // namespace vistado
