#pragma once

#include <cstdlib>
#include <string>

namespace vistado::test {

// PATH changed for one test (to leave exiftool out, say) and put back afterwards.
class PathChange {
public:
    explicit PathChange(const std::string& path) : oldPath(std::getenv("PATH") ? std::getenv("PATH") : "")
    {
        setenv("PATH", path.c_str(), 1);
    }
    ~PathChange() { setenv("PATH", oldPath.c_str(), 1); }
    PathChange(const PathChange&) = delete;
    PathChange& operator=(const PathChange&) = delete;

private:
    std::string oldPath;
};

}  // namespace vistado::test
