#include "download_test.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace vistado::net::test {

std::unique_ptr<THTTPGet> DownloadTest::makeGet(Reports& reports, const std::string& url)
{
    auto get = std::make_unique<THTTPGet>(ui.thread());
    get->URL = url;
    get->FileName = target();
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

void DownloadTest::fetch(THTTPGet& get)
{
    get.StartDownload();
    ASSERT_TRUE(ui.pumpUntil([&] { return !get.busy(); })) << "download not reported in time";
}

std::vector<std::string> DownloadTest::folderEntries() const
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<std::string> DownloadTest::contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace vistado::net::test
