#include "filecalls.h"

#include <chrono>
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
std::string pendingPathPart;

void record(FileCall call, std::chrono::steady_clock::time_point start)
{
    call.took = std::chrono::steady_clock::now() - start;
    const std::lock_guard<std::mutex> hold(guard);
    calls.push_back(std::move(call));
}

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

void duringNextFileSync(std::function<void()> action, std::string pathPart)
{
    const std::lock_guard<std::mutex> hold(guard);
    pendingAction = std::move(action);
    pendingPathPart = std::move(pathPart);
}

}  // namespace vistado::test

// These stand in for the C library's within the program.
extern "C" int fsync(int fd)
{
    using namespace vistado::test;
    struct stat info {};
    const bool folder = ::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode);
    const std::string path = pathOf(fd);
    std::function<void()> action;
    if (!folder) {
        const std::lock_guard<std::mutex> hold(guard);
        if (path.find(pendingPathPart) != std::string::npos)
            action = std::exchange(pendingAction, nullptr);
    }
    if (action)
        action();
    const auto start = std::chrono::steady_clock::now();
    const int result = static_cast<int>(::syscall(SYS_fsync, fd));
    const int error = errno;
    record({folder ? "fsync folder" : "fsync file", path, {}}, start);
    errno = error;
    return result;
}

extern "C" int rename(const char* from, const char* to) noexcept
{
    using namespace vistado::test;
    const auto start = std::chrono::steady_clock::now();
    const int result = ::renameat(AT_FDCWD, from, AT_FDCWD, to);
    const int error = errno;
    record({"rename", from, to}, start);
    errno = error;
    return result;
}
