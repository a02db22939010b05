#pragma once

#include <string>

namespace vistado::test {

// A fresh folder for one test, removed with everything in it at the end.
class TTempDir {
public:
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    const std::string& Path() const { return path; }
    // The path of a file of that name inside the folder.
    std::string File(const std::string& name) const { return path + "/" + name; }

private:
    std::string path;
};

void WriteFile(const std::string& path, const std::string& bytes);
void MakeFolder(const std::string& path);
std::string ReadFile(const std::string& path);

// The folder of the sample camera files, or empty when it is not there.
std::string CorpusDir();

}  // namespace vistado::test
