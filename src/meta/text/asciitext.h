#pragma once

#include <string>

namespace vistado {

// Letter case and trimming by ASCII rules only, whatever the C locale says:
// names are compared folding A-Z and a-z, other bytes must match exactly.
std::string upperAscii(std::string text);
std::string lowerAscii(std::string text);
bool sameTextAscii(const std::string& a, const std::string& b);

// The text without blanks and control characters (codes up to 32) at both ends.
std::string trimText(const std::string& text);

}  // namespace vistado
