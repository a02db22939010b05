// libFuzzer target: any bytes as an image file, opened as the program opens
// it, then read as the place run reads it.

#include "meta/gpsposition.h"
#include "meta/imgdata.h"
#include "meta/settings.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace vistado {
namespace {

// One temporary file per extension, made once per process and removed at exit.
class FuzzFile {
public:
    explicit FuzzFile(const char* suffix)
    {
        const char* dir = std::getenv("TMPDIR");
        path = std::string(dir != nullptr ? dir : "/tmp") + "/fuzz_openimage-XXXXXX" + suffix;
        const int fd = ::mkstemps(path.data(), static_cast<int>(std::string(suffix).size()));
        if (fd < 0)
            std::abort();
        ::close(fd);
    }
    ~FuzzFile() { std::remove(path.c_str()); }

    const std::string& write(const uint8_t* data, size_t size) const
    {
        FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0)
            std::abort();
        return path;
    }

private:
    std::string path;
};

}  // namespace
}  // namespace vistado

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace vistado;
    static const FuzzFile jpeg(".jpg");
    static const FuzzFile tiff(".tif");
    // Inputs that start like TIFF data take the TIFF path.
    const bool isTiff = size >= 2 && (data[0] == 'I' || data[0] == 'M') && data[1] == data[0];
    const std::string& path = (isTiff ? tiff : jpeg).write(data, size);

    setDecimalSeparator('.');
    TimgData image(kDecodeAll);
    if (image.OpenImage(path) && image.ExifPresent()) {
        gpsPositionText(*image.exifDecoder);
        image.exifDecoder->SummaryText();
    }
    if (image.commentSection != nullptr)
        image.CommentText();
    return 0;
}
