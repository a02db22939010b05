#pragma once

#include "meta/file/lockedfile.h"

#include <memory>
#include <string>
#include <string_view>
#include <sys/stat.h>

namespace vistado {

// A new version of a file, written to a temporary file in the same folder and
// put in the target's place only when it is complete and on the disk. Until
// Commit the target stays exactly as it was; a replacement that fails or is
// abandoned removes its temporary file. Every failure raises EWriteError,
// "Datei "%s" kann nicht erstellt werden. %s" naming the target unless said
// otherwise.
class ReplacementFile {
public:
    // A target that is a symbolic link stands for the file it points to: the
    // link stays, the file it names is replaced. An existing target that may
    // not be written (no write permission, or no write bit at all, which even
    // the super-user respects here) is refused.
    //
    // `read` is the file a reader holds, when the new version is made from
    // it. If the target is that file, the replacement takes over its lock,
    // holds it exclusively until the rename and goes ahead only if the file
    // is still as it was read; otherwise the target is locked and compared
    // from here on. Our own left-over temporary files in the folder are
    // removed first.
    ReplacementFile(const std::string& target, std::unique_ptr<LockedFile> read = nullptr);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    void write(std::string_view bytes);
    // May run on another thread than the rest. Gives the new file the target's owner and group (where the system
    // allows), extended attributes (ACLs among them) and permission bits,
    // flushes it to the disk, and renames it over the target, then flushes
    // the folder, so that the rename outlives a power cut. A new target gets
    // the bits a newly created file gets. When the target has changed since
    // it was read (or locked here), by any program, nothing is replaced:
    // "wurde inzwischen geändert". A failed flush of the folder,
    // after the rename, raises "Ordner "%s" kann nicht auf die Platte
    // geschrieben werden. %s".
    void commit();

private:
    [[noreturn]] void fail(int error) const;
    struct stat currentStatus() const;
    void copyAttributes();
    bool targetUnchanged() const;

    std::string target;  // as the caller named it, for messages
    std::string path;    // the file that is replaced
    std::string temporary;
    int fd = -1;
    // The target as it is replaced, held exclusively: the reader's, or one
    // taken here. None for a target that does not exist yet.
    std::unique_ptr<LockedFile> original;
};

}  // namespace vistado
