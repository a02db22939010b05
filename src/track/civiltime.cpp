#include "track/civiltime.h"

namespace vistado {

namespace {

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month)
{
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1970-01-01 to the date; the era arithmetic keeps every division exact for
// negative years as well.
int64_t daysFromCivil(int64_t year, int month, int day)
{
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// Exactly `digits` decimal digits from the front of text, dropped from it.
std::optional<int> takeDigits(std::string_view& text, int digits)
{
    if (text.size() < static_cast<size_t>(digits))
        return std::nullopt;
    int value = 0;
    for (int i = 0; i < digits; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    text.remove_prefix(digits);
    return value;
}

// The digits and then the separator (none for 0), both dropped from text.
bool takeField(std::string_view& text, int digits, char separator, int& value)
{
    const std::optional<int> number = takeDigits(text, digits);
    if (!number)
        return false;
    if (separator != 0) {
        if (text.empty() || text.front() != separator)
            return false;
        text.remove_prefix(1);
    }
    value = *number;
    return true;
}

}  // namespace

bool isValidCivilTime(const CivilTime& time)
{
    return time.year >= 1 && time.year <= 9999 && time.month >= 1 && time.month <= 12 && time.day >= 1 &&
           time.day <= daysInMonth(time.year, time.month) && time.hour >= 0 && time.hour <= 23 &&
           time.minute >= 0 && time.minute <= 59 && time.second >= 0 && time.second <= 60;
}

int64_t utcSecondsOf(const CivilTime& time)
{
    return daysFromCivil(time.year, time.month, time.day) * 86400 + time.hour * 3600 + time.minute * 60 +
           time.second;
}

CivilTime civilTimeOfUtc(int64_t seconds)
{
    int64_t days = seconds / 86400;
    int64_t secondOfDay = seconds % 86400;
    if (secondOfDay < 0) {
        secondOfDay += 86400;
        --days;
    }
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    const int month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2));
    return {year, month, day, static_cast<int>(secondOfDay / 3600), static_cast<int>(secondOfDay / 60 % 60),
            static_cast<int>(secondOfDay % 60)};
}

std::optional<CivilTime> takeCivilTime(std::string_view& text, char dateSeparator, char timeSeparator)
{
    std::string_view rest = text;
    CivilTime civil{};
    if (!takeField(rest, 4, dateSeparator, civil.year) || !takeField(rest, 2, dateSeparator, civil.month) ||
        !takeField(rest, 2, timeSeparator, civil.day) || !takeField(rest, 2, ':', civil.hour) ||
        !takeField(rest, 2, ':', civil.minute) || !takeField(rest, 2, 0, civil.second) ||
        !isValidCivilTime(civil))
        return std::nullopt;
    text = rest;
    return civil;
}

std::optional<int> parseZoneOffset(std::string_view text)
{
    if (text.empty() || (text[0] != '+' && text[0] != '-'))
        return std::nullopt;
    const int sign = text[0] == '-' ? -1 : 1;
    text.remove_prefix(1);
    int hours = 0;
    int minutes = 0;
    if (!takeField(text, 2, ':', hours) || !takeField(text, 2, 0, minutes) || !text.empty() || hours > 23 ||
        minutes > 59)
        return std::nullopt;
    return sign * (hours * 3600 + minutes * 60);
}

}  // namespace vistado
