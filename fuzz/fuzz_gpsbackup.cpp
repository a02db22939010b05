// libFuzzer target: any bytes as a GPS backup text file, read as the restore
// reads it.

#include "app/exiftool/gpstext.h"

#include <cstdint>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace vistado;
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::istringstream in(text);
    readGpsBackup(in);
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        ParseDmsLine(line);
    return 0;
}
