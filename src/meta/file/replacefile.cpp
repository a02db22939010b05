#include "meta/file/replacefile.h"

#include "meta/file/lockedfile.h"
#include "meta/file/pathparts.h"
#include "meta/file/temporaryname.h"
#include "meta/file/writeerror.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace vistado {

namespace {

constexpr int kNameAttempts = 100;

struct AttributeError {
    int error;
};

// Calls a list or get function of the extended attributes with a buffer
// that grows until the answer fits (it may grow between the two calls).
template <typename Call>
std::optional<std::string> attributeQuery(Call call)
{
    std::string buffer;
    for (;;) {
        const ssize_t size = call(nullptr, 0);
        if (size >= 0) {
            buffer.resize(static_cast<size_t>(size));
            const ssize_t got = call(buffer.data(), buffer.size());
            if (got >= 0) {
                buffer.resize(static_cast<size_t>(got));
                return buffer;
            }
        }
        if (errno == ERANGE)
            continue;
        // No such attribute, or a file system that keeps none.
        if (errno == ENODATA || errno == ENOTSUP)
            return std::nullopt;
        throw AttributeError{errno};
    }
}

std::vector<std::string> attributeNames(int fd)
{
    const std::optional<std::string> list =
        attributeQuery([fd](char* buffer, size_t size) { return ::flistxattr(fd, buffer, size); });
    std::vector<std::string> names;
    if (!list)
        return names;
    for (size_t start = 0; start < list->size();) {
        const size_t end = list->find('\0', start);
        names.push_back(list->substr(start, end - start));
        start = end == std::string::npos ? list->size() : end + 1;
    }
    return names;
}

std::optional<std::string> attributeValue(int fd, const std::string& name)
{
    return attributeQuery(
        [fd, &name](char* buffer, size_t size) { return ::fgetxattr(fd, name.c_str(), buffer, size); });
}

std::string realPath(const std::string& path)
{
    char* real = ::realpath(path.c_str(), nullptr);
    if (real == nullptr)
        return {};
    std::string resolved = real;
    std::free(real);
    return resolved;
}

// Where a path leads, every symbolic link resolved: a link to the file it
// names, any other path (even one of a file gone meanwhile) to its name in
// its resolved folder. Empty when that cannot be told.
std::string placeOf(const std::string& path)
{
    struct stat link {};
    if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode))
        return realPath(path);
    const std::string folder = realPath(folderPart(path).empty() ? "." : folderPart(path));
    if (folder.empty())
        return {};
    return (folder == "/" ? folder : folder + "/") + fileNamePart(path);
}

}  // namespace

ReplacementFile::ReplacementFile(const std::string& targetPath, std::unique_ptr<LockedFile> read)
    : target(targetPath), path(targetPath)
{
    struct stat link {};
    if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        path = realPath(targetPath);
        if (path.empty())
            fail(errno);
    }

    const std::string place = placeOf(path);
    if (read != nullptr && !place.empty() && placeOf(read->path()) == place) {
        original = std::move(read);
    } else {
        read.reset();
        try {
            original = std::make_unique<LockedFile>(path);
        } catch (const std::system_error& failed) {
            if (failed.code().value() != ENOENT)
                fail(failed.code().value());
        }
    }
    if (original != nullptr) {
        // A file without any write bit was made read-only on purpose.
        if ((currentStatus().st_mode & 0222) == 0)
            fail(EACCES);
        // A file gone meanwhile is reported by the check before the rename.
        if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0 && errno != ENOENT)
            fail(errno);
        if (!original->lockExclusive())
            throw EWriteError("Datei \"" + fullPath(target) + "\" ist von einem anderen Programm gesperrt");
    }

    const std::string folder = folderPart(path);
    removeStaleTemporaries(folder);
    // Only the owner may read the new file until it gets the target's bits; a
    // new target gets the bits of any newly created file.
    const mode_t creationMode = original != nullptr ? 0600 : 0666;
    for (int attempt = 0; fd < 0; ++attempt) {
        temporary = folder + temporaryName(fileNamePart(path));
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, creationMode);
        if (fd < 0 && (errno != EEXIST || attempt + 1 == kNameAttempts)) {
            const int error = errno;
            temporary.clear();
            fail(error);
        }
    }
    // Marks the file as being written, for a cleaner that cannot see this
    // process; a file system without locks has only the process id in the name.
    static_cast<void>(::flock(fd, LOCK_EX | LOCK_NB));
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
    if (original != nullptr) {
        // Taken now, so that a change made since the read is kept.
        const struct stat info = currentStatus();
        // Owner first: a change of owner clears the set-user-ID bits that
        // fchmod then restores. Only the super-user may give a file away and
        // only a member may give it a group: refused that, the new file keeps
        // the writer as its owner, and its group too where it must.
        if (::fchown(fd, info.st_uid, info.st_gid) != 0) {
            if (errno != EPERM)
                fail(errno);
            if (::fchown(fd, static_cast<uid_t>(-1), info.st_gid) != 0 && errno != EPERM)
                fail(errno);
        }
        // Before the bits: an ACL sets the group bits from its mask, which
        // fchmod then sets back from the bits.
        copyAttributes();
        if (::fchmod(fd, info.st_mode & 07777) != 0)
            fail(errno);
    }
    if (::fsync(fd) != 0)
        fail(errno);
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0)
        fail(errno);
    // After the flush, so that a change made while the new file went to the
    // disk is seen too. Our own writers are kept off by the lock from here on.
    if (!targetUnchanged())
        throw EWriteError("wurde inzwischen geändert");
    if (::rename(temporary.c_str(), path.c_str()) != 0)
        fail(errno);
    temporary.clear();

    const std::string folder = folderPart(path).empty() ? "." : folderPart(path);
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    // EINVAL: a file system that cannot flush a folder keeps nothing to flush.
    if (folderFd < 0 || (::fsync(folderFd) != 0 && errno != EINVAL)) {
        const int error = errno;
        if (folderFd >= 0)
            ::close(folderFd);
        throw EWriteError("Ordner \"" + fullPath(folder) + "\" kann nicht auf die Platte geschrieben werden. " +
                          std::generic_category().message(error));
    }
    ::close(folderFd);
}

// Every extended attribute the target holds now, and none that the new file got
// otherwise (a folder's default ACL). A value the new file holds already
// (a security label the system gave it) is left as it is.
void ReplacementFile::copyAttributes()
{
    try {
        const int from = original->descriptor();
        const std::vector<std::string> names = attributeNames(from);
        for (const std::string& name : names) {
            const std::optional<std::string> value = attributeValue(from, name);
            if (!value || attributeValue(fd, name) == value)
                continue;
            if (::fsetxattr(fd, name.c_str(), value->data(), value->size(), 0) != 0)
                throw AttributeError{errno};
        }
        for (const std::string& name : attributeNames(fd))
            if (std::find(names.begin(), names.end(), name) == names.end() && ::fremovexattr(fd, name.c_str()) != 0)
                throw AttributeError{errno};
    } catch (const AttributeError& failed) {
        fail(failed.error);
    }
}

struct stat ReplacementFile::currentStatus() const
{
    try {
        return original->current();
    } catch (const std::system_error& failed) {
        fail(failed.code().value());
    }
}

bool ReplacementFile::targetUnchanged() const
{
    if (original != nullptr)
        return original->unchangedAt(path);
    struct stat info {};
    return ::lstat(path.c_str(), &info) != 0 && errno == ENOENT;
}

void ReplacementFile::fail(int error) const
{
    throw createFailed(target, error);
}

}  // namespace vistado
