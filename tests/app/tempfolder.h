#pragma once

#include <string>

// A folder of its own for one test, removed with everything in it afterwards.
// Paths are bytes throughout, so names in any character set can be made and removed.
class TempFolder {
public:
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();

    // The folder's path, without a trailing "/".
    const std::string& path() const { return path_; }
    // Writes a file at `name` below the folder; the folders on the way must exist.
    void addFile(const std::string& name, const std::string& content = "") const;
    void addFolder(const std::string& name) const;
    std::string read(const std::string& name) const;

private:
    std::string path_;
};
