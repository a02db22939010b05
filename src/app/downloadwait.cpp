#include "app/downloadwait.h"

#include <filesystem>

namespace vistado {

bool awaitDownloadedFile(const std::string& file, std::chrono::milliseconds limit, net::THTTPGet& download)
{
    if (!download.awaitEnd(limit)) {
        download.CancelDownload();
        return false;
    }
    // The component leaves the file only when the whole body came.
    return std::filesystem::exists(file);
}

}  // namespace vistado
