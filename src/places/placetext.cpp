#include "places/placetext.h"

#include "places/ansitext.h"
#include "meta/text/asciitext.h"
#include "places/textlines.h"

#include <algorithm>

namespace vistado {

namespace {

// A piece is cut from at most this many characters of its line.
constexpr std::size_t kCutLimit = 1000;
constexpr int kPiecesAlways = 4;
constexpr std::ptrdiff_t kMarksOfAPlace = 4;

// Reads lines until one holds `tag` or the reply has ended; gives the last line read.
std::string search(std::istream& reply, std::string_view tag)
{
    std::string line;
    do {
        line = readTextLine(reply);
    } while (line.find(tag) == std::string::npos && !atTextEnd(reply));
    return line;
}

// ">" + name + "<" out of a line such as "   <long_name>Altstadt</long_name>"; empty when
// the line holds no name.
std::string cut(const std::string& line)
{
    const std::size_t open = line.find('>');
    if (open == std::string::npos)
        return {};
    const std::string rest = line.substr(open, kCutLimit);
    const std::size_t close = rest.find('<');
    return close == std::string::npos ? std::string() : rest.substr(0, close + 1);
}

}  // namespace

std::string placeTextFromReply(std::istream& reply, const std::string& charset)
{
    if (upperAscii(search(reply, "<status>")).find("OK") == std::string::npos)
        return {};
    search(reply, "<long_name>");  // the first name, as a rule a house number, is skipped
    std::string placeText;
    for (int i = 0; i < kPiecesAlways; ++i)
        placeText += utf8ToAnsi(cut(search(reply, "<long_name>")), charset);
    const std::string sixth = cut(search(reply, "<long_name>"));
    if (sixth.size() < 2 || sixth[1] < '0' || sixth[1] > '9')
        placeText += utf8ToAnsi(sixth, charset);
    return placeText;
}

bool nochkeinort(std::string_view comment)
{
    return std::count(comment.begin(), comment.end(), '>') < kMarksOfAPlace;
}

}  // namespace vistado
