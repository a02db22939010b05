#pragma once

#include <string>
#include <vector>

namespace vistado {

// Comma-list texts as IPTC list values are kept: items separated by commas;
// an item in double quotes may hold blanks, commas and quotes (doubled).
//
// Splitting: blanks and control characters around items are skipped; an
// unquoted item ends at a comma or at a blank or control character, so
// "New York" is the two items New and York; a comma as the very last
// character adds one empty item; empty text is an empty list.
std::vector<std::string> splitCommaList(const std::string& text);
// Joining: items joined by ","; one holding a blank, a control character, a
// comma or a double quote is written in double quotes. A list of one empty
// item gives "" (two quotes).
std::string joinCommaList(const std::vector<std::string>& items);

// The union of two comma lists: each item of added, trimmed of blanks and
// control characters, is appended unless existing already holds it. Items are
// compared without regard to letter case (ASCII and Latin-1 letters).
std::string MergeCommaLists(const std::string& existing, const std::string& added);

}  // namespace vistado
