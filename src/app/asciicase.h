#pragma once

#include <string>

// Upper-cases the ASCII letters a-z only; every other byte stays as it is, so
// names in any 8-bit character set compare the same way everywhere.
std::string upperAscii(std::string text);
