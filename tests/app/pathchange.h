#pragma once

#include <cstdlib>
#include <string>

// PATH changed for one test (to leave exiftool out, say) and put back afterwards.
class TPathChange {
public:
    explicit TPathChange(const std::string& path) : old_(std::getenv("PATH") ? std::getenv("PATH") : "")
    {
        setenv("PATH", path.c_str(), 1);
    }
    ~TPathChange() { setenv("PATH", old_.c_str(), 1); }
    TPathChange(const TPathChange&) = delete;
    TPathChange& operator=(const TPathChange&) = delete;

private:
    std::string old_;
};
