#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace vistado::test {

// Sets the process's TZ for the life of the object, as the command would run under it, and
// restores it then.
class TimeZoneWhile {
public:
    explicit TimeZoneWhile(const std::string& zone)
    {
        if (const char* old = std::getenv("TZ"))
            before = old;
        setenv("TZ", zone.c_str(), 1);
        tzset();
    }
    ~TimeZoneWhile()
    {
        if (before)
            setenv("TZ", before->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    TimeZoneWhile(const TimeZoneWhile&) = delete;
    TimeZoneWhile& operator=(const TimeZoneWhile&) = delete;

private:
    std::optional<std::string> before;
};

}  // namespace vistado::test
