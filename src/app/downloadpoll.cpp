#include "app/downloadpoll.h"

#include <chrono>
#include <filesystem>
#include <thread>

namespace vistado {

bool awaitDownloadedFile(const std::string& file, int polls, const net::THTTPGet& download)
{
    for (int poll = 0; poll < polls; ++poll) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (std::filesystem::exists(file))
            return true;
        // A body cut short is kept, and may have arrived since the look above.
        if (download.failed())
            return std::filesystem::exists(file);
    }
    return false;
}

}  // namespace vistado
