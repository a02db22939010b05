// libFuzzer target: any bytes as a GPX track file. A document either fails with the reader's
// own error or gives a track sorted by time, with finite times and positions in range; read in
// small pieces, as a file is read, it gives the same.

#include "track/gpxreader.h"
#include "track/track.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace {

using namespace vistado;

std::optional<std::vector<TrackPoint>> readInPieces(std::string_view document, size_t pieceSize)
{
    std::vector<TrackPoint> points;
    try {
        GpxReader reader(points, 0);
        do {
            const std::string_view piece = document.substr(0, pieceSize);
            document.remove_prefix(piece.size());
            reader.feed(piece, document.empty());
        } while (!document.empty());
    } catch (const GpxError&) {
        return std::nullopt;
    }
    std::stable_sort(points.begin(), points.end(),
                     [](const TrackPoint& a, const TrackPoint& b) { return a.time < b.time; });
    return points;
}

bool samePoints(const std::vector<TrackPoint>& a, std::span<const TrackPoint> b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const TrackPoint& x, const TrackPoint& y) {
        return x.time == y.time && x.latitude == y.latitude && x.longitude == y.longitude && x.height == y.height &&
               x.segment == y.segment;
    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view document(reinterpret_cast<const char*>(data), size);
    std::optional<Track> track;
    try {
        track = readGpxDocument(document);
    } catch (const GpxError&) {
    }
    const std::optional<std::vector<TrackPoint>> pieces = readInPieces(document, 7);
    if (track.has_value() != pieces.has_value() || (track && !samePoints(*pieces, track->points())))
        std::abort();
    if (!track)
        return 0;
    const auto points = track->points();
    for (size_t i = 0; i < points.size(); ++i) {
        const TrackPoint& point = points[i];
        if (!std::isfinite(point.time) || (i > 0 && points[i - 1].time > point.time) ||
            !(std::abs(point.latitude) <= 90) || !(std::abs(point.longitude) <= 180) ||
            (point.height && !std::isfinite(*point.height)))
            std::abort();
    }
    return 0;
}
