#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace vistado {

// A date and time of day as written in a file, without a zone.
struct CivilTime {
    int year;
    int month;   // 1 to 12
    int day;     // 1 to the month's length
    int hour;    // 0 to 23
    int minute;  // 0 to 59
    int second;  // 0 to 60 (a leap second)
};

// Whether the fields lie in the ranges above (years 1 to 9999).
bool isValidCivilTime(const CivilTime& time);

// Seconds from 1970-01-01 00:00:00 to the time, counted as UTC (proleptic Gregorian calendar,
// no leap seconds), and back.
int64_t utcSecondsOf(const CivilTime& time);
CivilTime civilTimeOfUtc(int64_t seconds);

// Reads "YYYY-MM-DD hh:mm:ss" from the front of text, with the given separator in place of
// each "-" and of the blank, and drops it; none when it is not there or no valid time.
std::optional<CivilTime> takeCivilTime(std::string_view& text, char dateSeparator, char timeSeparator);

// Reads a zone offset "+HH:MM" or "-HH:MM" (hours up to 23), the whole text, into seconds
// east of UTC.
std::optional<int> parseZoneOffset(std::string_view text);

}  // namespace vistado
