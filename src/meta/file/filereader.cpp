#include "meta/file/filereader.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace vistado {

FileReader::FileReader(const std::string& path) : path(path)
{
    // O_NONBLOCK: a FIFO named like an image reads as empty instead of waiting
    // for a writer.
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        throw std::system_error(errno, std::generic_category(), path);
}

FileReader::FileReader(int descriptor, const std::string& path)
    : fd(descriptor), ownsDescriptor(false), path(path)
{
}

FileReader::~FileReader()
{
    if (ownsDescriptor)
        ::close(fd);
}

struct stat FileReader::status() const
{
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        throw std::system_error(errno, std::generic_category(), path);
    return info;
}

bool FileReader::refill()
{
    chunkStart += static_cast<int64_t>(chunkFill);
    chunkFill = 0;
    chunkPos = 0;
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

int FileReader::readByte()
{
    if (chunkPos == chunkFill && !refill())
        return -1;
    return static_cast<unsigned char>(chunk[chunkPos++]);
}

size_t FileReader::readInto(std::string& target, size_t count)
{
    const size_t buffered = std::min(count, chunkFill - chunkPos);
    target.append(chunk + chunkPos, buffered);
    chunkPos += buffered;
    size_t done = buffered;
    if (done < count) {
        chunkStart += static_cast<int64_t>(chunkFill);
        chunkFill = 0;
        chunkPos = 0;
        const size_t start = target.size();
        target.resize(start + count - done);
        while (done < count) {
            const ssize_t got = ::read(fd, target.data() + start + (done - buffered), count - done);
            if (got > 0) {
                done += static_cast<size_t>(got);
                chunkStart += got;
            } else if (got == 0 || errno == EAGAIN) {
                break;
            } else if (errno != EINTR) {
                throw std::system_error(errno, std::generic_category(), path);
            }
        }
        target.resize(start + (done - buffered));
    }
    return done;
}

void FileReader::skip(size_t count)
{
    while (count > 0) {
        if (chunkPos == chunkFill && !refill())
            return;
        const size_t step = std::min(count, chunkFill - chunkPos);
        chunkPos += step;
        count -= step;
    }
}

std::string readWholeFile(const std::string& path)
{
    FileReader file(path);
    // The size is only a hint: the file is read to its end, whatever it holds then.
    constexpr size_t kChunk = 1 << 20;
    struct stat info {};
    size_t want = ::stat(path.c_str(), &info) == 0 && info.st_size > 0
                      ? static_cast<size_t>(info.st_size) + 1
                      : kChunk;
    std::string bytes;
    while (file.readInto(bytes, want) == want)
        want = kChunk;
    return bytes;
}

}  // namespace vistado
