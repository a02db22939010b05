#pragma once

#include "track/trackpoint.h"

#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vistado {

// The points of one or more GPS tracks, sorted by time; points of equal time keep the order
// in which they were read.
class Track {
public:
    Track() = default;
    explicit Track(std::vector<TrackPoint> points);

    std::span<const TrackPoint> points() const { return sorted; }

private:
    std::vector<TrackPoint> sorted;
};

// A track file that cannot be read or is no GPX. what() is the text the track command shows,
// "Track nicht lesbar: FILE: REASON".
class TrackReadError : public std::runtime_error {
public:
    TrackReadError(const std::string& file, const std::string& reason);
};

// Reads the GPX files into one track, their segments kept apart. Raises TrackReadError for
// the first file that cannot be read.
Track readTrackFiles(const std::vector<std::string>& paths);

// The track of one GPX document held in memory. Raises GpxError.
Track readGpxDocument(std::string_view document);

}  // namespace vistado
