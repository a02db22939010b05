#include "meta/makernote/listfields.h"

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

// Walks to the field without copying what lies in front of it, so that
// reading every field of a long list costs as much as reading the list once.
std::string ListField(const std::string& text, const std::string& separator, int n)
{
    size_t start = 0;
    for (int i = 1; i < n; ++i) {
        const size_t at = text.find(separator, start);
        if (at == std::string::npos)
            return {};
        start = at + separator.size();
    }
    const size_t end = text.find(separator, start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::vector<std::string> ListFields(const std::string& text, const std::string& separator, size_t most)
{
    std::vector<std::string> fields;
    size_t start = 0;
    while (fields.size() < most) {
        const size_t at = separator.empty() ? std::string::npos : text.find(separator, start);
        fields.push_back(text.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos)
            break;
        start = at + separator.size();
    }
    return fields;
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
