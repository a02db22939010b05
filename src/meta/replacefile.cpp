#include "meta/replacefile.h"

#include "meta/pathparts.h"
#include "meta/writeerror.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vistado {

namespace {

// Long names are cut in the temporary file's name, so that it fits where the
// target's name fits.
constexpr size_t kNameKept = 64;
constexpr int kNameAttempts = 100;

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

// A name no other writer uses at the same time: the process and a count.
// O_EXCL makes a clash (or a name planted by someone else) harmless; the next
// count is tried then.
std::string uniqueTag()
{
    static std::atomic<unsigned long> count{0};
    return hex(static_cast<unsigned long>(::getpid())) + "-" + hex(count++);
}

}  // namespace

ReplacementFile::ReplacementFile(const std::string& targetPath) : target(targetPath), path(targetPath)
{
    struct stat link {};
    if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        char* resolved = ::realpath(path.c_str(), nullptr);
        if (resolved == nullptr)
            fail(errno);
        path = resolved;
        std::free(resolved);
    }

    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        targetExists = true;
        ownerId = info.st_uid;
        groupId = info.st_gid;
        mode = info.st_mode & 07777;
        // A file without any write bit was made read-only on purpose.
        if ((info.st_mode & 0222) == 0)
            fail(EACCES);
        if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
            fail(errno);
    } else if (errno != ENOENT) {
        fail(errno);
    }

    const std::string folder = folderPart(path);
    const std::string name = fileNamePart(path).substr(0, kNameKept);
    // Only the owner may read the new file until it gets the target's bits; a
    // new target gets the bits of any newly created file.
    const mode_t creationMode = targetExists ? 0600 : 0666;
    for (int attempt = 0; fd < 0; ++attempt) {
        temporary = folder + "." + name + ".vistado-" + uniqueTag();
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, creationMode);
        if (fd < 0 && (errno != EEXIST || attempt + 1 == kNameAttempts)) {
            const int error = errno;
            temporary.clear();
            fail(error);
        }
    }
}

ReplacementFile::~ReplacementFile()
{
    if (fd >= 0)
        ::close(fd);
    if (!temporary.empty())
        ::unlink(temporary.c_str());
}

void ReplacementFile::write(std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            fail(errno);
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
}

void ReplacementFile::commit()
{
    if (targetExists) {
        // Owner first: a change of owner clears the set-user-ID bits that
        // fchmod then restores. Only the super-user may give a file away and
        // only a member may give it a group: refused that, the new file keeps
        // the writer as its owner, and its group too where it must.
        if (::fchown(fd, ownerId, groupId) != 0) {
            if (errno != EPERM)
                fail(errno);
            if (::fchown(fd, static_cast<uid_t>(-1), groupId) != 0 && errno != EPERM)
                fail(errno);
        }
        if (::fchmod(fd, mode) != 0)
            fail(errno);
    }
    if (::fsync(fd) != 0)
        fail(errno);
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0)
        fail(errno);
    if (::rename(temporary.c_str(), path.c_str()) != 0)
        fail(errno);
    temporary.clear();
}

void ReplacementFile::fail(int error) const
{
    throw createFailed(target, error);
}

}  // namespace vistado
