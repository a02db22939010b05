#include <chrono>
#include <string>
#include <thread>

#include "download_test.h"
#include "httpserver.h"
#include "rawserver.h"

namespace vistado::net::test {
namespace {

using vistado::test::HttpServer;
using vistado::test::RawServer;
using vistado::test::RefusingPort;

using Clock = std::chrono::steady_clock;
using std::chrono::seconds;

// Long enough that a test finishing well within it shows the timeout was not
// what ended the download.
constexpr long patientSeconds = 60;

class HttpGetLifecycle : public DownloadTest {
protected:
    // Waits without pumping, as a caller polling for the target file does.
    static bool WaitFor(const std::function<bool()>& done)
    {
        auto end = Clock::now() + seconds(10);
        while (!done() && Clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return done();
    }

    // A download that has reached a server which never answers.
    std::unique_ptr<THTTPGet> StartWaiting(const RawServer& silent, Reports& reports)
    {
        auto get = MakeGet(reports, silent.Url("/x"));
        get->StallTimeout = patientSeconds;
        get->StartDownload();
        EXPECT_TRUE(WaitFor([&] { return silent.Connections() == 1; }));
        return get;
    }
};

TEST_F(HttpGetLifecycle, StartWhileBusyMakesNoRequest)
{
    HttpServer server([](httplib::Server& routes) {
        routes.Get(R"(/n/(\d))", [](const httplib::Request& request, httplib::Response& response) {
            response.set_content(request.matches[1].str(), "text/plain");
        });
    });
    Reports reports;
    auto get = MakeGet(reports, server.Url("/n/1"));
    get->StartDownload();
    get->URL = server.Url("/n/2");
    get->StartDownload();
    ASSERT_TRUE(ui.PumpUntil([&] { return !get->Busy(); }));

    EXPECT_EQ(reports.doneFile, 1);
    EXPECT_EQ(Contents(Target()), "1");
    EXPECT_EQ(server.Requests().size(), 1u);

    // Once reported, the component takes the next download.
    Fetch(*get);
    EXPECT_EQ(reports.doneFile, 2);
    EXPECT_EQ(Contents(Target()), "2");
    EXPECT_EQ(server.Requests().size(), 2u);
}

TEST_F(HttpGetLifecycle, WaitThreadReturnsOnceReported)
{
    RawServer server("HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nok");
    Reports reports;
    auto get = MakeGet(reports, server.Url());
    get->WaitThread = true;
    get->StartDownload();

    EXPECT_FALSE(get->Busy());
    EXPECT_EQ(reports.doneFile, 1);
    EXPECT_EQ(Contents(Target()), "ok");
}

TEST_F(HttpGetLifecycle, RefusedConnectionFailsWithoutFile)
{
    RefusingPort refusing;
    vistado::test::WriteFile(Target(), "reply of an earlier download");
    Reports reports;
    auto get = MakeGet(reports, refusing.Url("/x"));
    get->StartDownload();

    // The failure shows before its report has run on this thread.
    ASSERT_TRUE(WaitFor([&] { return get->Failed(); }));
    EXPECT_TRUE(get->Busy());
    EXPECT_EQ(reports.Total(), 0);
    ASSERT_TRUE(ui.PumpUntil([&] { return !get->Busy(); }));

    EXPECT_EQ(reports.errors, 1);
    EXPECT_TRUE(get->Failed());
    EXPECT_TRUE(FolderEntries().empty());
}

TEST_F(HttpGetLifecycle, UnsplittableUrlFails)
{
    Reports reports;
    auto get = MakeGet(reports, "http://no-path-here");
    Fetch(*get);

    EXPECT_EQ(reports.errors, 1);
    EXPECT_TRUE(FolderEntries().empty());
}

TEST_F(HttpGetLifecycle, SilentServerTimesOut)
{
    RawServer silent(std::nullopt);
    Reports reports;
    auto get = MakeGet(reports, silent.Url("/x"));
    get->StallTimeout = 1;
    auto started = Clock::now();
    Fetch(*get);

    EXPECT_EQ(reports.errors, 1);
    EXPECT_LT(Clock::now() - started, seconds(patientSeconds / 2));
    EXPECT_TRUE(FolderEntries().empty());
}

TEST_F(HttpGetLifecycle, CancelIsPromptAgainstSilentServer)
{
    RawServer silent(std::nullopt);
    Reports reports;
    auto get = StartWaiting(silent, reports);
    auto cancelled = Clock::now();
    get->CancelDownload();
    ASSERT_TRUE(ui.PumpUntil([&] { return !get->Busy(); }));

    EXPECT_LT(Clock::now() - cancelled, seconds(patientSeconds / 2));
    EXPECT_EQ(reports.errors, 1);
    EXPECT_TRUE(FolderEntries().empty());
}

TEST_F(HttpGetLifecycle, DestroyingWhileWaitingForTheServer)
{
    RawServer silent(std::nullopt);
    Reports reports;
    auto get = StartWaiting(silent, reports);
    auto destroyed = Clock::now();
    get.reset();
    EXPECT_LT(Clock::now() - destroyed, seconds(patientSeconds / 2));

    for (int i = 0; i < 3; ++i)
        ui.Pump();
    EXPECT_EQ(reports.Total(), 0);
    EXPECT_TRUE(FolderEntries().empty());
}

TEST_F(HttpGetLifecycle, DestroyingWhileTheWorkerWaitsForProgressReport)
{
    RawServer server("HTTP/1.0 200 OK\r\nContent-Length: 3000\r\n\r\n" + std::string(3000, 'x'));
    Reports reports;
    auto get = MakeGet(reports, server.Url("/x"));
    get->OnProgress = [&](THTTPGet&, std::int64_t total, std::int64_t readed) {
        reports.progress.emplace_back(total, readed);
    };
    get->StartDownload();
    ASSERT_TRUE(WaitFor([&] { return ui.Pending() == 1; }));
    get.reset();

    // The report still queued no longer reaches the component.
    ui.Pump();
    EXPECT_TRUE(reports.progress.empty());
    EXPECT_EQ(reports.Total(), 0);
    EXPECT_TRUE(FolderEntries().empty());
}

}  // namespace
}  // namespace vistado::net::test
