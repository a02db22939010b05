#include "meta/iptc/commalist.h"

#include "meta/text/asciitext.h"

#include <algorithm>

namespace vistado {

namespace {

constexpr char kQuote = '"';
constexpr char kSeparator = ',';

// Blanks and control characters. The zero byte counts as one, so a value
// padded with zero bytes splits like one padded with blanks.
bool isBlank(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

// Letter case folded as the Western 8-bit character set has it: a-z, and the
// Latin-1 letters à-þ to À-Þ (not ÷ to ×). Bytes of UTF-8 text never fold into
// one another this way (a lead byte would change the length of its
// character), so UTF-8 keywords compare correctly too, by their ASCII
// letters. The C locale is not consulted.
unsigned char foldCase(unsigned char c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
        return static_cast<unsigned char>(c - 0x20);
    return c;
}

bool sameTextIgnoringCase(const std::string& a, const std::string& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return foldCase(static_cast<unsigned char>(x)) == foldCase(static_cast<unsigned char>(y));
    });
}

// The quoted item starting at pos (on its opening quote); pos ends behind the
// closing quote, or at the end of a text that lacks one.
std::string quotedItem(const std::string& text, size_t& pos)
{
    std::string item;
    ++pos;
    while (pos < text.size()) {
        if (text[pos] == kQuote) {
            if (pos + 1 < text.size() && text[pos + 1] == kQuote) {
                item += kQuote;
                pos += 2;
                continue;
            }
            ++pos;
            break;
        }
        item += text[pos++];
    }
    return item;
}

bool needsQuotes(const std::string& item)
{
    return std::any_of(item.begin(), item.end(),
                       [](char c) { return isBlank(c) || c == kSeparator || c == kQuote; });
}

}  // namespace

std::vector<std::string> splitCommaList(const std::string& text)
{
    std::vector<std::string> items;
    size_t pos = 0;
    auto skipBlanks = [&] {
        while (pos < text.size() && isBlank(text[pos]))
            ++pos;
    };
    skipBlanks();
    while (pos < text.size()) {
        if (text[pos] == kQuote) {
            items.push_back(quotedItem(text, pos));
        } else {
            const size_t start = pos;
            while (pos < text.size() && !isBlank(text[pos]) && text[pos] != kSeparator)
                ++pos;
            items.push_back(text.substr(start, pos - start));
        }
        skipBlanks();
        if (pos < text.size() && text[pos] == kSeparator) {
            if (pos + 1 == text.size())
                items.emplace_back();
            ++pos;
            skipBlanks();
        }
    }
    return items;
}

std::string joinCommaList(const std::vector<std::string>& items)
{
    if (items.size() == 1 && items[0].empty())
        return {kQuote, kQuote};
    std::string text;
    for (size_t i = 0; i < items.size(); ++i) {
        const std::string& item = items[i];
        if (i > 0)
            text += kSeparator;
        if (!needsQuotes(item)) {
            text += item;
            continue;
        }
        text += kQuote;
        for (const char c : item) {
            if (c == kQuote)
                text += kQuote;
            text += c;
        }
        text += kQuote;
    }
    return text;
}

std::string MergeCommaLists(const std::string& existing, const std::string& added)
{
    std::vector<std::string> merged = splitCommaList(existing);
    for (const std::string& item : splitCommaList(added)) {
        const std::string trimmed = trimText(item);
        const bool known = std::any_of(merged.begin(), merged.end(), [&](const std::string& present) {
            return sameTextIgnoringCase(present, trimmed);
        });
        if (!known)
            merged.push_back(trimmed);
    }
    return joinCommaList(merged);
}

}  // namespace vistado
