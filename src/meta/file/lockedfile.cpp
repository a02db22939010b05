#include "meta/file/lockedfile.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace vistado {

namespace {

// A path replaced again and again while we wait is taken as it stands after
// this many turns.
constexpr int kReplacedTurns = 100;

enum class LockResult { Taken, Busy, Unsupported };

// Tries at once, then at growing intervals, so that an uncontended lock costs
// one call and a contended one little more than the other holder's time.
LockResult takeLock(int fd, int operation)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(LockedFile::kLockWaitSeconds);
    std::chrono::milliseconds interval(1);
    for (;;) {
        if (::flock(fd, operation | LOCK_NB) == 0)
            return LockResult::Taken;
        if (errno == EINTR)
            continue;
        // EINVAL, ENOLCK, and EBADF for an exclusive lock over NFS on a file
        // opened for reading: this file system offers us no lock.
        if (errno != EWOULDBLOCK)
            return LockResult::Unsupported;
        if (Clock::now() >= deadline)
            return LockResult::Busy;
        std::this_thread::sleep_for(interval);
        interval = std::min(interval * 2, std::chrono::milliseconds(64));
    }
}

bool sameTime(const timespec& one, const timespec& other)
{
    return one.tv_sec == other.tv_sec && one.tv_nsec == other.tv_nsec;
}

// The same file with the same content, as far as its status tells.
bool sameFileState(const struct stat& one, const struct stat& other)
{
    return one.st_dev == other.st_dev && one.st_ino == other.st_ino && one.st_size == other.st_size &&
           sameTime(one.st_mtim, other.st_mtim);
}

}  // namespace

LockedFile::LockedFile(const std::string& path) : takenPath(path)
{
    for (int turn = 0;; ++turn) {
        // O_NONBLOCK: a FIFO named like an image opens without a writer.
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0)
            throw std::system_error(errno, std::generic_category(), path);
        // A reader goes on without the lock when the writer does not let go in time.
        takeLock(fd, LOCK_SH);
        struct stat now {};
        if (::fstat(fd, &takenInfo) != 0) {
            const int error = errno;
            ::close(fd);
            throw std::system_error(error, std::generic_category(), path);
        }
        if (turn + 1 == kReplacedTurns || ::stat(path.c_str(), &now) != 0 ||
            (now.st_dev == takenInfo.st_dev && now.st_ino == takenInfo.st_ino))
            break;
        ::close(fd);
    }
}

LockedFile::~LockedFile()
{
    ::close(fd);
}

bool LockedFile::lockExclusive()
{
    return takeLock(fd, LOCK_EX) != LockResult::Busy;
}

struct stat LockedFile::current() const
{
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        throw std::system_error(errno, std::generic_category(), takenPath);
    return info;
}

bool LockedFile::unchangedAt(const std::string& path) const
{
    struct stat now {};
    return ::stat(path.c_str(), &now) == 0 && sameFileState(now, takenInfo);
}

}  // namespace vistado
