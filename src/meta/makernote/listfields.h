#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vistado {

// Fields of a list text such as a rendered value "92, 2, 0". Separators are
// found case-sensitively, the first occurrence first. Splitting at ","
// alone leaves the blank of each ", " in front of the next field.

// The text before the first separator; the whole text when there is none.
std::string TextBefore(const std::string& text, const std::string& separator);
// The text after the first separator; empty when there is none (the whole
// text for an empty separator).
std::string TextAfter(const std::string& text, const std::string& separator);
// Field n, counted from 1; n of 0 or less gives the first field too.
std::string ListField(const std::string& text, const std::string& separator, int n);
// Fields 1 to most, in order: ListField of each, in one pass.
std::vector<std::string> ListFields(const std::string& text, const std::string& separator, size_t most);
// How many separators the text holds, not overlapping; 0 for an empty one.
int CountSeparators(const std::string& text, const std::string& separator);

}  // namespace vistado
