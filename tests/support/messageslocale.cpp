#include "messageslocale.h"

#include <clocale>
#include <cstdlib>
#include <filesystem>

namespace vistado::test {

std::string useGermanMessages()
{
    if (!std::filesystem::exists("/usr/share/locale/de/LC_MESSAGES/geonames.mo"))
        return "no German translations of libgeonames";
    setenv("LANGUAGE", "de", 1);
    std::setlocale(LC_CTYPE, "C");
    std::setlocale(LC_MESSAGES, "C");
    if (!std::setlocale(LC_MESSAGES, "C.UTF-8"))
        return "no C.UTF-8 locale";
    return "";
}

void useEnglishMessages()
{
    unsetenv("LANGUAGE");
    std::setlocale(LC_MESSAGES, "C");
}

}  // namespace vistado::test
