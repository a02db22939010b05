#include "app/exiftool/exiftool.h"

#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace vistado {

namespace {

constexpr auto kLookPause = std::chrono::milliseconds(50);

// A descriptor closed when it goes out of scope.
class Fd {
public:
    explicit Fd(int fd = -1) : fd(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd; }
    void reset()
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }

private:
    int fd;
};

bool isExecutableFile(const std::string& path)
{
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// Waits for the child to end and collects it: its exit status, -1 when a signal ended it;
// none when it has not ended yet and `block` is false.
std::optional<int> reap(pid_t pid, bool block)
{
    int status = 0;
    for (;;) {
        const pid_t got = ::waitpid(pid, &status, block ? 0 : WNOHANG);
        if (got == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (got == 0)
            return std::nullopt;
        if (errno != EINTR)
            return -1;  // not our child any more: nothing left to collect
    }
}

}  // namespace

ExifTool::ExifTool(std::string program) : program(std::move(program)) {}

ExifTool::~ExifTool()
{
    for (const pid_t pid : children)
        reap(pid, true);
}

std::string ExifTool::findInPath() const
{
    if (program.find('/') != std::string::npos)
        return isExecutableFile(program) ? program : std::string();
    const char* path = std::getenv("PATH");
    const std::string folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = folders.find(':', start);
        const std::string folder = folders.substr(start, end - start);
        // An empty entry would mean the current directory, where the photos are: skipped.
        if (!folder.empty() && isExecutableFile(folder + "/" + program))
            return folder + "/" + program;
        if (end == std::string::npos)
            return {};
        start = end + 1;
    }
}

std::optional<pid_t> ExifTool::start(const std::vector<std::string>& arguments)
{
    const std::string executable = findInPath();
    if (executable.empty())
        return std::nullopt;

    // Everything the child needs is made before the fork: between fork and exec it may
    // only make async-signal-safe calls, as other threads (downloads) may hold locks.
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    const Fd devNull(::open("/dev/null", O_RDWR | O_CLOEXEC));
    int ends[2];
    if (devNull.get() < 0 || ::pipe2(ends, O_CLOEXEC) != 0)
        return std::nullopt;
    Fd readEnd(ends[0]);
    Fd writeEnd(ends[1]);

    const pid_t pid = ::fork();
    if (pid < 0)
        return std::nullopt;
    if (pid == 0) {
        ::dup2(devNull.get(), STDIN_FILENO);
        ::dup2(devNull.get(), STDOUT_FILENO);
        ::dup2(devNull.get(), STDERR_FILENO);
        ::execv(executable.c_str(), argv.data());
        // Only reached when exec failed: the parent learns why through the pipe, which a
        // successful exec closes without a word.
        const int error = errno;
        [[maybe_unused]] const ssize_t told = ::write(writeEnd.get(), &error, sizeof error);
        ::_exit(127);
    }

    writeEnd.reset();
    int childError = 0;
    ssize_t got = 0;
    do {
        got = ::read(readEnd.get(), &childError, sizeof childError);
    } while (got < 0 && errno == EINTR);
    if (got > 0) {
        reap(pid, true);
        return std::nullopt;
    }
    exitStatuses.erase(pid);  // an earlier child's, whose id the system has given again
    children.push_back(pid);
    return pid;
}

int ExifTool::running()
{
    std::erase_if(children, [this](pid_t pid) {
        const std::optional<int> status = reap(pid, false);
        if (status)
            exitStatuses[pid] = *status;
        return status.has_value();
    });
    return static_cast<int>(children.size());
}

bool ExifTool::ended(pid_t process)
{
    running();
    return exitStatuses.contains(process);
}

int ExifTool::awaitEnd(pid_t process)
{
    const auto child = std::find(children.begin(), children.end(), process);
    if (child != children.end()) {
        children.erase(child);
        return reap(process, true).value_or(-1);
    }
    const auto kept = exitStatuses.find(process);
    if (kept == exitStatuses.end())
        return -1;  // not started here, or asked for already
    const int status = kept->second;
    exitStatuses.erase(kept);
    return status;
}

void ExifTool::awaitFreeSlot(int limit)
{
    while (running() >= limit)
        std::this_thread::sleep_for(kLookPause);
}

void ExifTool::awaitAllEnded()
{
    bool found = false;
    do {
        found = running() > 0;
        std::this_thread::sleep_for(kLookPause);
    } while (found);
}

}  // namespace vistado
