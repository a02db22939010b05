#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/stat.h>

namespace vistado {

// Reads a file from its first byte through a buffer, so the byte-wise segment
// scan costs one system call per chunk, not one per byte. Long reads go
// straight into their target, so no more of the file is read than asked for
// (and one chunk).
class FileReader {
public:
    // Opens the file for reading; raises std::system_error when it cannot.
    explicit FileReader(const std::string& path);
    // Reads a file just opened, from its first byte, through the caller's
    // descriptor, which stays the caller's to close.
    FileReader(int descriptor, const std::string& path);
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // The next byte (0 to 255), or -1 at the end of the file.
    int readByte();
    // Appends up to count bytes to target; fewer only at the end of the file.
    // Returns how many were appended.
    size_t readInto(std::string& target, size_t count);
    // Passes over count bytes without keeping them.
    void skip(size_t count);
    // The file's status; raises std::system_error when the system cannot tell.
    struct stat status() const;
    // The offset in the file of the next byte to be read.
    int64_t position() const { return chunkStart + static_cast<int64_t>(chunkPos); }

private:
    bool refill();

    int fd = -1;
    bool ownsDescriptor = true;
    std::string path;
    char chunk[16384];
    size_t chunkFill = 0;
    size_t chunkPos = 0;
    int64_t chunkStart = 0;  // file offset of chunk[0]
};

// Every byte of the file, read to its end. Raises std::system_error when the
// file cannot be opened or read.
std::string readWholeFile(const std::string& path);

}  // namespace vistado
