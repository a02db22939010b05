#include "meta/filereader.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>

namespace vistado {

TFileReader::TFileReader(const std::string& path) : path(path)
{
    // O_NONBLOCK: a FIFO named like an image reads as empty instead of waiting
    // for a writer.
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        throw std::system_error(errno, std::generic_category(), path);
}

TFileReader::~TFileReader()
{
    ::close(fd);
}

bool TFileReader::Refill()
{
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got >= 0) {
            chunkFill = static_cast<size_t>(got);
            chunkPos = 0;
            return got > 0;
        }
        if (errno == EAGAIN)
            return false;
        if (errno != EINTR)
            throw std::system_error(errno, std::generic_category(), path);
    }
}

int TFileReader::ReadByte()
{
    if (chunkPos == chunkFill && !Refill())
        return -1;
    return static_cast<unsigned char>(chunk[chunkPos++]);
}

size_t TFileReader::ReadInto(std::string& target, size_t count)
{
    size_t done = 0;
    while (done < count) {
        if (chunkPos == chunkFill && !Refill())
            break;
        const size_t take = std::min(count - done, chunkFill - chunkPos);
        target.append(chunk + chunkPos, take);
        chunkPos += take;
        done += take;
    }
    return done;
}

}  // namespace vistado
