// The daily update check of the window's start-up.
#include "app/vistado4.h"

#include "app/downloadwait.h"
#include "places/textlines.h"

#include <sys/stat.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace vistado {

namespace {

constexpr const char* kVersionFile = "vistado.ver";
constexpr std::chrono::milliseconds kVersionWait{2000};

// The file was last changed on today's calendar date, in local time.
bool modifiedToday(const std::string& file)
{
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0)
        return false;
    const std::time_t now = std::time(nullptr);
    std::tm today{};
    std::tm modified{};
    localtime_r(&now, &today);
    localtime_r(&status.st_mtime, &modified);
    return today.tm_year == modified.tm_year && today.tm_yday == modified.tm_yday;
}

}  // namespace

// Once a day, fetches the newest version's number from the update server and shows a notice
// when it is not ours. The version file's date records the day of the last download.
void TForm1::versionpruefen()
{
    if (services.updateHost.empty())
        return;  // nobody has set up an update server for us
    const std::string file = ownFile(kVersionFile);
    if (modifiedToday(file))
        return;
    std::error_code error;
    std::filesystem::remove(file, error);
    if (error)
        return;  // the old file stays: no new one could take its place, nothing to compare

    HTTPGet2.URL = versionFileUrl(services);
    HTTPGet2.FileName = file;
    HTTPGet2.StartDownload();
    if (!awaitDownloadedFile(file, kVersionWait, HTTPGet2))
        return;
    std::ifstream in(file, std::ios::binary);
    const std::string newest = in.is_open() ? readTextLine(in) : std::string();
    if (newest != ownVersion) {
        Label1->setText(localText(newVersionNotice(services)));
        Label1->show();
    }
}

}  // namespace vistado
