#include "filecalls.h"

#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <utility>

namespace vistado::test {

namespace {

std::mutex guard;
std::vector<FileCall> calls;
std::function<void()> pendingAction;

std::string pathOf(int fd)
{
    char target[4096];
    const ssize_t length = ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), target, sizeof target);
    return length > 0 ? std::string(target, static_cast<size_t>(length)) : std::string();
}

}  // namespace

std::vector<FileCall> takeFileCalls()
{
    const std::lock_guard<std::mutex> hold(guard);
    return std::exchange(calls, {});
}

void duringNextFileSync(std::function<void()> action)
{
    const std::lock_guard<std::mutex> hold(guard);
    pendingAction = std::move(action);
}

}  // namespace vistado::test

using vistado::test::FileCall;

// These stand in for the C library's within this binary.
extern "C" int fsync(int fd)
{
    struct stat info {};
    const bool folder = ::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode);
    std::function<void()> action;
    {
        const std::lock_guard<std::mutex> hold(vistado::test::guard);
        vistado::test::calls.push_back({folder ? "fsync folder" : "fsync file", vistado::test::pathOf(fd), {}});
        if (!folder)
            action = std::exchange(vistado::test::pendingAction, nullptr);
    }
    if (action)
        action();
    return static_cast<int>(::syscall(SYS_fsync, fd));
}

extern "C" int rename(const char* from, const char* to) noexcept
{
    {
        const std::lock_guard<std::mutex> hold(vistado::test::guard);
        vistado::test::calls.push_back({"rename", from, to});
    }
    return ::renameat(AT_FDCWD, from, AT_FDCWD, to);
}
