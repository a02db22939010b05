#include "places/ansitext.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace vistado::test {

namespace {

TEST(AnsiText, ConvertsToTheGivenCharacterSet)
{
    const struct {
        std::string utf8;
        const char* charset;
        std::string ansi;
    } cases[] = {
        {"Stra\xC3\x9F" "e", "ISO-8859-1", "Stra\xDF" "e"},
        {"Caf\xC3\xA9", "ISO-8859-1", "Caf\xE9"},
        {"\xE2\x82\xAC 5", "ISO-8859-1", "? 5"},
        {"\xE2\x82\xAC 5", "ISO-8859-15", "\xA4 5"},
        {"\xE2\x82\xAC 5", "CP1252", "\x80 5"},
        {"\xE6\x9D\xB1\xE4\xBA\xAC", "ISO-8859-1", "??"},
        {"Stra\xC3\x9F" "e", "UTF-8", "Stra\xC3\x9F" "e"},
        {"Stra\xC3\x9F" "e", "ANSI_X3.4-1968", "Stra\xC3\x9F" "e"},
        {"Stra\xC3\x9F" "e", "ascii", "Stra\xC3\x9F" "e"},
        {"", "ISO-8859-1", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(utf8ToAnsi(c.utf8, c.charset), c.ansi) << c.utf8 << " in " << c.charset;
}

// Bytes that are not UTF-8 give one "?" each stretch, and the text goes on after them.
TEST(AnsiText, BytesThatAreNotUtf8BecomeQuestionMarks)
{
    const struct {
        std::string utf8;
        std::string ansi;
    } cases[] = {
        {"a\xFF" "b", "a?b"},
        {"a\xC3", "a?"},
        {"\xE6\x9D" "x", "?x"},
        {"\xC3\xA9\x80\xC3\xA9", "\xE9?\xE9"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(utf8ToAnsi(c.utf8, "ISO-8859-1"), c.ansi) << c.utf8;
        EXPECT_EQ(utf8ToAnsi(c.utf8, "ANSI_X3.4-1968"), utf8ToAnsi(c.utf8, "UTF-8")) << c.utf8;
    }
}

TEST(AnsiText, LongTexts)
{
    std::string utf8;
    for (int i = 0; i < 1000; ++i)
        utf8 += "\xC3\xA9";
    EXPECT_EQ(utf8ToAnsi(utf8, "ISO-8859-1"), std::string(1000, '\xE9'));
    EXPECT_EQ(utf8ToAnsi(utf8 + "\xFF", "UTF-8"), utf8 + "?");
}

// The window shows 8-bit texts decoded from the same character set they were converted to.
TEST(AnsiText, BackToUtf8ForShowing)
{
    const struct {
        std::string ansi;
        const char* charset;
        std::string utf8;
    } cases[] = {
        {"Stra\xDF" "e", "ISO-8859-1", "Stra\xC3\x9F" "e"},
        {"\xA4 5", "ISO-8859-15", "\xE2\x82\xAC 5"},
        {"\x80 5", "CP1252", "\xE2\x82\xAC 5"},
        {"a\x81" "b", "CP1252", "a?b"},
        {"Stra\xC3\x9F" "e", "UTF-8", "Stra\xC3\x9F" "e"},
        {"Stra\xC3\x9F" "e", "ANSI_X3.4-1968", "Stra\xC3\x9F" "e"},
        {"", "ISO-8859-1", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ansiToUtf8(c.ansi, c.charset), c.utf8) << c.ansi << " in " << c.charset;
    EXPECT_EQ(ansiToUtf8(utf8ToAnsi("Caf\xC3\xA9 M\xC3\xBCller", "ISO-8859-1"), "ISO-8859-1"),
              "Caf\xC3\xA9 M\xC3\xBCller");
}

TEST(AnsiText, UnknownCharacterSetThrows)
{
    EXPECT_THROW(utf8ToAnsi("x", "NO-SUCH-CHARSET"), std::runtime_error);
}

}  // namespace

}  // namespace vistado::test
