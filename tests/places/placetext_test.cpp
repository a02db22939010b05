#include "geocoderreplies.h"
#include "places/placetext.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace vistado::test {

namespace {

std::string scan(const std::string& reply, const std::string& charset = "UTF-8")
{
    std::istringstream in(reply);
    return placeTextFromReply(in, charset);
}

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

TEST(PlaceText, ServiceReplies)
{
    const struct {
        const char* name;
        std::string reply;
        std::string placeText;
    } cases[] = {
        {"several results: five pieces", kReplyOkSeveralResults,
         ">Marktgasse<>Altstadt<>Musterstadt<>Oberland<>Deutschland<"},
        {"sixth name starts with a digit", replyOk({"12", "Marktgasse", "Altstadt", "Musterstadt", "Oberland", "999"}),
         ">Marktgasse<>Altstadt<>Musterstadt<>Oberland<"},
        {"sixth name only ends with a digit", replyOk({"1", "a", "b", "c", "d", "Route 66"}), ">a<>b<>c<>d<>Route 66<"},
        {"names run out", replyOk({"12", "Marktgasse", "Altstadt"}), ">Marktgasse<>Altstadt<"},
        {"the first name alone", replyOk({"12"}), ""},
        {"ZERO_RESULTS", kReplyZeroResults, ""},
        {"REQUEST_DENIED", kReplyRequestDenied, ""},
        {"status in lower case", replaced(replyOk({"1", "a", "b", "c", "d"}), "OK", "ok"), ">a<>b<>c<>d<"},
        {"no status line", replaced(kReplyOkSeveralResults, "<status>OK</status>", ""), ""},
        {"empty reply", "", ""},
        {"entities stay as they are", replyOk({"1", "Bäckerei &amp; Söhne", "b", "c", "d"}),
         ">Bäckerei &amp; Söhne<>b<>c<>d<"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(scan(c.reply), c.placeText) << c.name;
}

// The scan reads lines, not XML: how the reply is broken into lines decides what it finds.
TEST(PlaceText, RepliesSplitAcrossLinesOddly)
{
    const std::string names = replyOk({"12", "Marktgasse", "Altstadt", "Musterstadt", "Oberland", "Deutschland"});
    const std::string five = ">Marktgasse<>Altstadt<>Musterstadt<>Oberland<>Deutschland<";
    const struct {
        const char* name;
        std::string reply;
        std::string placeText;
    } cases[] = {
        {"CR LF line ends", replaced(names, "\n", "\r\n"), five},
        {"CR line ends", replaced(names, "\n", "\r"), five},
        {"no line end after the last line", names.substr(0, names.size() - 1), five},
        {"all on one line", replaced(names, "\n", ""), ""},
        {"status value on a line of its own", replaced(names, "<status>OK</status>", "<status>\nOK\n</status>"), ""},
        {"name on a line of its own", replaced(names, "<long_name>Altstadt</long_name>", "<long_name>\nAltstadt\n</long_name>"),
         ">Marktgasse<>Musterstadt<>Oberland<>Deutschland<"},
        {"component opened on the name's line",
         replaced(names, "<address_component>\n   <long_name>Marktgasse", "<address_component><long_name>Marktgasse"),
         "><>Altstadt<>Musterstadt<>Oberland<>Deutschland<"},
        {"two names on one line",
         replaced(names, "<long_name>Marktgasse</long_name>", "<long_name>Marktgasse</long_name><long_name>Gasse</long_name>"),
         five},
        {"names in one line each, nothing else", "<status>OK</status>\n<long_name>1</long_name>\n<long_name>a</long_name>\n"
                                                  "<long_name>b</long_name>\n<long_name>c</long_name>\n<long_name>d</long_name>\n",
         ">a<>b<>c<>d<"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(scan(c.reply), c.placeText) << c.name;
}

// A piece is cut from the first 1000 characters of its line, from the first ">" on.
TEST(PlaceText, LongNamesAreCutAtTheLimit)
{
    const std::string fits(998, 'x');
    EXPECT_EQ(scan(replyOk({"1", fits, "b", "c", "d"})), ">" + fits + "<>b<>c<>d<");
    EXPECT_EQ(scan(replyOk({"1", fits + "x", "b", "c", "d"})), ">b<>c<>d<");
}

TEST(PlaceText, FourMarksMakeAPlace)
{
    const struct {
        const char* comment;
        bool noPlaceYet;
    } cases[] = {
        {"", true},
        {"Urlaub", true},
        {">Altstadt<>Musterstadt<>Oberland<", true},
        {">Altstadt<>Musterstadt<>Oberland<>Deutschland<", false},
        {">Marktgasse<>Altstadt<>Musterstadt<>Oberland<>Deutschland<  Urlaub", false},
        {"a > b >> c > d", false},
        {"><><><", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(nochkeinort(c.comment), c.noPlaceYet) << c.comment;
}

}  // namespace

}  // namespace vistado::test
