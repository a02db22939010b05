#pragma once

#include <string>

namespace vistado::test {

// German messages without an installed German locale: in C.UTF-8, gettext follows LANGUAGE.
// LC_CTYPE becomes "C" (ASCII), so names only arrive as UTF-8 where the code asks for it.
// Empty when set, else why not: the machine lacks libgeonames' German translations or C.UTF-8.
std::string useGermanMessages();

// Back to the "C" messages locale, which translates nothing.
void useEnglishMessages();

}  // namespace vistado::test
