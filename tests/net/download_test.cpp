#include "download_test.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace vistado::net::test {

std::unique_ptr<THTTPGet> DownloadTest::MakeGet(Reports& reports, const std::string& url)
{
    auto get = std::make_unique<THTTPGet>(ui.Thread());
    get->URL = url;
    get->FileName = Target();
    get->OnDoneFile = [&reports](THTTPGet&, const std::string& fileName, std::int64_t fileSize) {
        ++reports.doneFile;
        reports.fileName = fileName;
        reports.fileSize = fileSize;
    };
    get->OnDoneString = [&reports](THTTPGet&, const std::string& result) {
        ++reports.doneString;
        reports.text = result;
    };
    get->OnError = [&reports](THTTPGet&) { ++reports.errors; };
    return get;
}

void DownloadTest::Fetch(THTTPGet& get)
{
    get.StartDownload();
    ASSERT_TRUE(ui.PumpUntil([&] { return !get.Busy(); })) << "download not reported in time";
}

std::vector<std::string> DownloadTest::FolderEntries() const
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<std::string> DownloadTest::Contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace vistado::net::test
