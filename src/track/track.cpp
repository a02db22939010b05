#include "track/track.h"

#include "track/gpxreader.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace vistado {

namespace {

bool earlier(const TrackPoint& a, const TrackPoint& b) { return a.time < b.time; }

// Closes the file descriptor at the end of the read, whichever way it ends.
struct OpenFile {
    explicit OpenFile(int fd) : fd(fd) {}
    ~OpenFile() { ::close(fd); }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    int fd;
};

// Feeds the file to the reader piece by piece: a track of millions of points is never held
// whole as text.
void readGpxFile(const std::string& path, GpxReader& reader)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw TrackReadError(path, std::strerror(errno));
    const OpenFile file(fd);
    std::array<char, 1 << 16> piece;
    for (;;) {
        const ssize_t got = ::read(fd, piece.data(), piece.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw TrackReadError(path, std::strerror(errno));
        try {
            reader.feed({piece.data(), static_cast<size_t>(got)}, got == 0);
        } catch (const GpxError& error) {
            throw TrackReadError(path, error.what());
        }
        if (got == 0)
            return;
    }
}

}  // namespace

Track::Track(std::vector<TrackPoint> points) : sorted(std::move(points))
{
    // Loggers write their points in order; only a track that is not needs the sort's buffer.
    if (!std::is_sorted(sorted.begin(), sorted.end(), earlier))
        std::stable_sort(sorted.begin(), sorted.end(), earlier);
}

TrackReadError::TrackReadError(const std::string& file, const std::string& reason)
    : std::runtime_error("Track nicht lesbar: " + file + ": " + reason)
{
}

Track readTrackFiles(const std::vector<std::string>& paths)
{
    std::vector<TrackPoint> points;
    uint32_t segment = 0;
    for (const std::string& path : paths) {
        GpxReader reader(points, segment);
        readGpxFile(path, reader);
        segment = reader.nextSegment();
    }
    return Track(std::move(points));
}

Track readGpxDocument(std::string_view document)
{
    std::vector<TrackPoint> points;
    GpxReader reader(points, 0);
    reader.feed(document, true);
    return Track(std::move(points));
}

}  // namespace vistado
