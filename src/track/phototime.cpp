#include "track/phototime.h"

#include "meta/exif/imageinfo.h"
#include "track/civiltime.h"

#include <cerrno>
#include <ctime>
#include <string>
#include <string_view>

namespace vistado {

namespace {

// "YYYY:MM:DD HH:MM:SS"; cameras that know no date write blanks or zeros there.
std::optional<CivilTime> parseExifDate(std::string_view text)
{
    return takeCivilTime(text, ':', ' ');
}

std::optional<int64_t> localSecondsOf(const CivilTime& civil)
{
    std::tm fields{};
    fields.tm_year = civil.year - 1900;
    fields.tm_mon = civil.month - 1;
    fields.tm_mday = civil.day;
    fields.tm_hour = civil.hour;
    fields.tm_min = civil.minute;
    fields.tm_sec = civil.second;
    fields.tm_isdst = -1;
    errno = 0;
    const std::time_t seconds = std::mktime(&fields);
    if (seconds == static_cast<std::time_t>(-1) && errno != 0)
        return std::nullopt;
    return seconds;
}

}  // namespace

std::optional<int64_t> photoTimeUtc(const TImageInfo& exif, const CameraClock& clock)
{
    std::optional<CivilTime> civil = parseExifDate(exif.TagValueText("DateTimeOriginal"));
    std::string offsetTag = "OffsetTimeOriginal";
    if (!civil) {
        civil = parseExifDate(exif.TagValueText("DateTimeDigitized"));
        offsetTag = "OffsetTimeDigitized";
    }
    if (!civil)
        return std::nullopt;
    std::optional<int> zone = parseZoneOffset(exif.TagValueText(offsetTag));
    if (!zone)
        zone = clock.zoneSeconds;
    const std::optional<int64_t> seconds = zone ? utcSecondsOf(*civil) - *zone : localSecondsOf(*civil);
    if (!seconds)
        return std::nullopt;
    return *seconds + clock.correctionSeconds;
}

}  // namespace vistado
