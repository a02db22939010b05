#pragma once

#include "track/trackpoint.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vistado {

// A document that is not well-formed XML or not GPX. what() is the reason alone, in the
// words the track command shows behind the file's name.
class GpxError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the track points of a GPX 1.0 or 1.1 document given piece by piece, so that a file
// is never held whole: every trkpt of every trkseg of every trk, with its time and, where it
// has one, its ele. A point without a valid time or position is passed over, and so is a
// height that is no number. Points are appended in file order; each trkseg gets the next
// segment number.
class GpxReader {
public:
    GpxReader(std::vector<TrackPoint>& points, uint32_t firstSegment);
    ~GpxReader();
    GpxReader(const GpxReader&) = delete;
    GpxReader& operator=(const GpxReader&) = delete;

    // The next piece of the document; last marks its end. Raises GpxError.
    void feed(std::string_view piece, bool last);
    // The number the next document's first segment gets.
    uint32_t nextSegment() const;

private:
    struct State;
    std::unique_ptr<State> state;
};

// Reads a GPX time, xsd:dateTime: YYYY-MM-DDThh:mm:ss, a fraction of any length, and "Z", an
// offset "+hh:mm" or "-hh:mm", or none (then UTC). Blanks around it are allowed. Seconds
// since 1970-01-01 UTC; none when the text is no such time.
std::optional<double> parseGpxTime(std::string_view text);

}  // namespace vistado
