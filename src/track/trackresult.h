#pragma once

#include "track/phototime.h"
#include "track/trackmatch.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vistado {

class TImageInfo;

inline constexpr char kNoPhotoTimeText[] = "keine Aufnahmezeit";
inline constexpr char kNoTrackPositionText[] = "keine Trackposition";

// What the track gives one photo.
struct PhotoTrackResult {
    std::optional<int64_t> photoTime;  // UTC seconds; none: "keine Aufnahmezeit"
    TrackMatch match;                  // empty without a photo time
};

// The photo's time (photoTimeUtc) and the track's position then.
PhotoTrackResult matchPhoto(const TImageInfo& exif, const CameraClock& clock, const Track& track);

// One tag the command writes: ExifTool's tag name and the value in ExifTool's printed form,
// as in the argument "-TAG=VALUE" (without -n).
struct TagAssignment {
    std::string tag;
    std::string value;
};

// What the track command writes into a photo that has no position of its own, through the
// ExifTool process: GPSLatitude/Ref, GPSLongitude/Ref, GPSAltitude/Ref (when the position has
// a height), GPSDateStamp/GPSTimeStamp (the photo's time in UTC) and GPSVersionID 2.3.0.0.
// Empty when the track gave no position: nothing is written then.
std::vector<TagAssignment> trackGpsTags(const PhotoTrackResult& result);

// The photo's outcome as the status grid shows it: the position as the place run writes it
// (48.137154,-11.576124), "keine Trackposition" or "keine Aufnahmezeit".
std::string trackOutcomeText(const PhotoTrackResult& result);

// The photo's run-log line, without its line end: path, outcome and the time to the track's
// nearest point in whole seconds, "PATH;48.137154,11.576124;12 s",
// "PATH;keine Trackposition;5400 s"; the last field is empty without a photo time or track.
std::string trackLogLine(const std::string& path, const PhotoTrackResult& result);

}  // namespace vistado
