#pragma once

#include <string>

namespace vistado {

// Letter case and trimming by ASCII rules only, whatever the C locale says:
// names are compared folding A-Z and a-z, other bytes must match exactly.
std::string UpperAscii(std::string text);
std::string LowerAscii(std::string text);
bool SameTextAscii(const std::string& a, const std::string& b);

// The text without blanks and control characters (codes up to 32) at both ends.
std::string TrimText(const std::string& text);

}  // namespace vistado
