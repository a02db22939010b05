#pragma once

#include <string>

// Change the case of the ASCII letters only; every other byte stays as it is, so
// names in any 8-bit character set compare the same way everywhere.
std::string upperAscii(std::string text);
std::string lowerAscii(std::string text);
