#pragma once

#include <string>
#include <string_view>
#include <sys/types.h>

namespace vistado {

// A new version of a file, written to a temporary file in the same folder and
// put in the target's place only when it is complete and on the disk. Until
// Commit the target stays exactly as it was; a replacement that fails or is
// abandoned removes its temporary file. Every failure raises EWriteError
// "Datei "%s" kann nicht erstellt werden. %s" naming the target.
class ReplacementFile {
public:
    // A target that is a symbolic link stands for the file it points to. An
    // existing target that may not be written (no write permission, or no
    // write bit at all, which even the super-user respects here) is refused.
    explicit ReplacementFile(const std::string& target);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    void write(std::string_view bytes);
    // Flushes the new file to the disk, gives it the target's permission bits
    // (and owner and group, where the system allows), and renames it over the
    // target. A new target gets the bits a newly created file gets.
    void commit();

private:
    [[noreturn]] void fail(int error) const;

    std::string target;  // as the caller named it, for messages
    std::string path;    // the file that is replaced
    std::string temporary;
    int fd = -1;
    bool targetExists = false;
    uid_t ownerId = 0;
    gid_t groupId = 0;
    mode_t mode = 0;
};

}  // namespace vistado
