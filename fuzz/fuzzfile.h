#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace vistado::fuzz {

// A temporary file of one name suffix, made once per process and removed at
// exit; each input is written into it.
class FuzzFile {
public:
    explicit FuzzFile(const char* suffix)
    {
        const char* dir = std::getenv("TMPDIR");
        path = std::string(dir != nullptr ? dir : "/tmp") + "/vistado-fuzz-XXXXXX" + suffix;
        const int fd = ::mkstemps(path.data(), static_cast<int>(std::string(suffix).size()));
        if (fd < 0)
            std::abort();
        ::close(fd);
    }
    ~FuzzFile() { std::remove(path.c_str()); }
    FuzzFile(const FuzzFile&) = delete;
    FuzzFile& operator=(const FuzzFile&) = delete;

    const std::string& write(const uint8_t* data, size_t size) const
    {
        FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0)
            std::abort();
        return path;
    }
    const std::string& name() const { return path; }

private:
    std::string path;
};

}  // namespace vistado::fuzz
