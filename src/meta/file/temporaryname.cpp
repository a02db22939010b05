#include "meta/file/temporaryname.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vistado {

namespace {

// Long names are cut in the temporary file's name, so that it fits where the
// target's name fits.
constexpr size_t kNameKept = 64;
constexpr char kMark[] = ".vistado-";
constexpr size_t kMarkLength = sizeof kMark - 1;
// More hex digits than a process id ever has.
constexpr size_t kMaxIdDigits = 8;

std::string hex(unsigned long value)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    do {
        text.insert(text.begin(), digits[value % 16]);
        value /= 16;
    } while (value != 0);
    return text;
}

bool isHex(const std::string& text)
{
    return !text.empty() && text.find_first_not_of("0123456789abcdef") == std::string::npos;
}

bool processRuns(pid_t process)
{
    // EPERM: it runs, as another user.
    return ::kill(process, 0) == 0 || errno != ESRCH;
}

// Whether a writer holds the file's lock. A file whose lock cannot be tried
// counts as not held: its process id has already said that it is stale.
bool heldByWriter(int folder, const char* name)
{
    const int fd = ::openat(folder, name, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return true;  // cannot be looked at: leave it
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

}  // namespace

std::string temporaryName(const std::string& targetName)
{
    // O_EXCL makes a clash (or a name planted by someone else) harmless: the
    // writer takes the next count then.
    static std::atomic<unsigned long> count{0};
    return "." + targetName.substr(0, kNameKept) + kMark + hex(static_cast<unsigned long>(::getpid())) + "-" +
           hex(count++);
}

std::optional<pid_t> temporaryOwner(const std::string& name)
{
    const size_t mark = name.rfind(kMark);
    if (name.size() < 2 || name[0] != '.' || mark == std::string::npos || mark < 2)
        return std::nullopt;
    const std::string tag = name.substr(mark + kMarkLength);
    const size_t dash = tag.find('-');
    if (dash == std::string::npos || dash > kMaxIdDigits)
        return std::nullopt;
    const std::string process = tag.substr(0, dash);
    if (!isHex(process) || !isHex(tag.substr(dash + 1)))
        return std::nullopt;
    const unsigned long id = std::strtoul(process.c_str(), nullptr, 16);
    if (id == 0 || id > 0x7FFFFFFF)
        return std::nullopt;
    return static_cast<pid_t>(id);
}

void removeStaleTemporaries(const std::string& folder)
{
    static std::mutex guard;
    static std::set<std::string> cleaned;
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(folder.empty() ? "." : folder.c_str(), nullptr),
                                                      &std::free);
    if (!real)
        return;
    {
        const std::lock_guard<std::mutex> hold(guard);
        if (!cleaned.insert(real.get()).second)
            return;
    }
    DIR* entries = ::opendir(real.get());
    if (entries == nullptr)
        return;
    const int folderFd = ::dirfd(entries);
    const pid_t self = ::getpid();
    while (const dirent* entry = ::readdir(entries)) {
        const std::optional<pid_t> owner = temporaryOwner(entry->d_name);
        if (!owner || *owner == self || processRuns(*owner))
            continue;
        struct stat info {};
        if (::fstatat(folderFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode))
            continue;
        if (!heldByWriter(folderFd, entry->d_name))
            ::unlinkat(folderFd, entry->d_name, 0);
    }
    ::closedir(entries);
}

}  // namespace vistado
