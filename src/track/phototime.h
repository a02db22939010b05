#pragma once

#include <cstdint>
#include <optional>

namespace vistado {

class TImageInfo;

// How the camera's clock relates to UTC, as the track command is told.
struct CameraClock {
    // The zone the camera's clock was set to, in seconds east of UTC (--zeitzone +HH:MM);
    // none: the computer's zone at the photo's date, summer time included.
    std::optional<int> zoneSeconds;
    // Seconds added to the camera's time to make it right (--versatz ±SECONDS).
    int64_t correctionSeconds = 0;
};

// The moment a photo was taken, in seconds since 1970-01-01 UTC: its DateTimeOriginal, else
// its DateTimeDigitized ("YYYY:MM:DD HH:MM:SS"), in the zone of its OffsetTimeOriginal
// (OffsetTimeDigitized with DateTimeDigitized) when it has one, else in the clock's zone,
// plus the clock's correction. None when the photo has neither date ("keine Aufnahmezeit").
// The decoder must hold the Exif directory's tags (a container opened with kDecodeAll); the
// computer's zone is the process's TZ, as mktime takes it.
std::optional<int64_t> photoTimeUtc(const TImageInfo& exif, const CameraClock& clock);

}  // namespace vistado
