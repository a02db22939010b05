#include "meta/listfields.h"

namespace vistado {

std::string TextBefore(const std::string& text, const std::string& separator)
{
    return text.substr(0, text.find(separator));
}

std::string TextAfter(const std::string& text, const std::string& separator)
{
    const size_t at = text.find(separator);
    return at == std::string::npos ? std::string() : text.substr(at + separator.size());
}

std::string ListField(const std::string& text, const std::string& separator, int n)
{
    std::string rest = text;
    for (int i = 1; i < n; ++i)
        rest = TextAfter(rest, separator);
    return TextBefore(rest, separator);
}

// An empty separator occurs everywhere; counting it would never end.
int CountSeparators(const std::string& text, const std::string& separator)
{
    if (separator.empty())
        return 0;
    int count = 0;
    for (size_t at = text.find(separator); at != std::string::npos;
         at = text.find(separator, at + separator.size()))
        ++count;
    return count;
}

}  // namespace vistado
