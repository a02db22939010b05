#pragma once

#include <set>
#include <string>

namespace vistado::test {

// A fresh folder for one test, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return folder; }
    // The path of a file of that name inside the folder.
    std::string file(const std::string& name) const { return folder + "/" + name; }

private:
    std::string folder;
};

void writeFile(const std::string& path, const std::string& bytes);
void makeFolder(const std::string& path);
std::string readFile(const std::string& path);
// The names in a folder, "." and ".." left out.
std::set<std::string> folderEntries(const std::string& folder);

// The folder of the sample camera files, or empty when it is not there.
std::string corpusDir();

}  // namespace vistado::test
