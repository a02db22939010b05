#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "net/httpget.h"
#include "testfiles.h"
#include "uiqueue.h"

namespace vistado::net::test {

// What a component reported through its events.
struct Reports {
    int doneFile = 0;
    int doneString = 0;
    int errors = 0;
    std::string fileName;
    std::int64_t fileSize = -1;
    std::string text;
    std::vector<std::pair<std::int64_t, std::int64_t>> progress;  // total, readed

    int total() const { return doneFile + doneString + errors; }
};

// A per-test folder, the test thread as user-interface thread, and
// components whose events land in a Reports.
class DownloadTest : public ::testing::Test {
protected:
    std::unique_ptr<THTTPGet> makeGet(Reports& reports, const std::string& url);

    // Starts the download and pumps until it has been reported.
    void fetch(THTTPGet& get);

    std::string target() const { return folder.file("reply.dat"); }
    std::vector<std::string> folderEntries() const;
    // The file's bytes, or nothing when it does not exist.
    static std::optional<std::string> contents(const std::string& path);

    vistado::test::TempDir folder;
    UiQueue ui;
};

}  // namespace vistado::net::test
