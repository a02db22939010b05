#pragma once

#include <string>
#include <sys/stat.h>

namespace vistado {

// A file held open under an advisory lock (flock), so that our own writers
// (another run, vistado-meta --comment) keep off it while it is held, and
// what the file was when it was taken: the identity a writer compares just
// before it replaces the file, to see whether any program changed it since.
//
// A reader takes the lock shared; a writer makes it exclusive from the start
// of its write to the rename. Programs that take no locks (ExifTool) are not
// kept off; the identity check is what catches them. On a file system
// without locks the file is held unlocked; a lock another process keeps
// for longer than kLockWaitSeconds is not waited for any longer.
class LockedFile {
public:
    static constexpr int kLockWaitSeconds = 30;

    // Opens the file for reading and takes the lock shared, waiting while a
    // writer holds it. When the path names another file once the lock is
    // had (the writer replaced it meanwhile), takes that one instead. Raises
    // std::system_error when the file cannot be opened.
    explicit LockedFile(const std::string& path);
    ~LockedFile();
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;

    // Makes the lock exclusive, waiting for the other holders to let go.
    // False when they did not let go in time; the file is then held
    // without a lock. (Making a lock exclusive lets it go for a moment:
    // the identity check covers that moment.)
    bool lockExclusive();

    int descriptor() const { return fd; }
    // The path the file was taken by.
    const std::string& path() const { return takenPath; }
    // The file's status now: its owner, bits and attributes may have
    // changed since it was taken, without changing what it holds. Raises
    // std::system_error when the system cannot tell.
    struct stat current() const;
    // Whether the path still names the file as it was taken: the same inode,
    // size and modification time. Any write or replacement by another
    // program changes one of them.
    bool unchangedAt(const std::string& path) const;

private:
    int fd = -1;
    std::string takenPath;
    struct stat takenInfo {};
};

}  // namespace vistado
