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
constexpr long kPatientSeconds = 60;

class HttpGetLifecycle : public DownloadTest {
protected:
    // Waits without pumping, as a caller polling for the target file does.
    static bool waitFor(const std::function<bool()>& done)
    {
        auto end = Clock::now() + seconds(10);
        while (!done() && Clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return done();
    }

    // A download that has reached a server which never answers.
    std::unique_ptr<THTTPGet> startWaiting(const RawServer& silent, Reports& reports)
    {
        auto get = makeGet(reports, silent.url("/x"));
        get->stallTimeout = kPatientSeconds;
        get->StartDownload();
        EXPECT_TRUE(waitFor([&] { return silent.connections() == 1; }));
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
    auto get = makeGet(reports, server.url("/n/1"));
    get->StartDownload();
    get->URL = server.url("/n/2");
    get->StartDownload();
    ASSERT_TRUE(ui.pumpUntil([&] { return !get->busy(); }));

    EXPECT_EQ(reports.doneFile, 1);
    EXPECT_EQ(contents(target()), "1");
    EXPECT_EQ(server.requests().size(), 1u);

    // Once reported, the component takes the next download.
    fetch(*get);
    EXPECT_EQ(reports.doneFile, 2);
    EXPECT_EQ(contents(target()), "2");
    EXPECT_EQ(server.requests().size(), 2u);
}

TEST_F(HttpGetLifecycle, WaitThreadReturnsOnceReported)
{
    RawServer server("HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nok");
    Reports reports;
    auto get = makeGet(reports, server.url());
    get->WaitThread = true;
    get->StartDownload();

    EXPECT_FALSE(get->busy());
    EXPECT_EQ(reports.doneFile, 1);
    EXPECT_EQ(contents(target()), "ok");
}

// The wait for a download ends with the download, not at a clock's tick: a wait that ran
// to its limit would outlast the test's time-out.
TEST_F(HttpGetLifecycle, AwaitEndReturnsWhenTheDownloadEnds)
{
    HttpServer server([](httplib::Server& routes) {
        routes.Get("/x", [](const httplib::Request&, httplib::Response& response) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            response.set_content("ok", "text/plain");
        });
    });
    Reports reports;
    auto get = makeGet(reports, server.url("/x"));
    get->StartDownload();
    ASSERT_TRUE(get->awaitEnd(std::chrono::hours(1)));

    // The target is final before the report has run on this thread.
    EXPECT_EQ(contents(target()), "ok");
    EXPECT_EQ(reports.total(), 0);
    ASSERT_TRUE(ui.pumpUntil([&] { return !get->busy(); }));
    EXPECT_EQ(reports.doneFile, 1);
    EXPECT_TRUE(get->awaitEnd(std::chrono::milliseconds(0)));
}

TEST_F(HttpGetLifecycle, RefusedConnectionFailsWithoutFile)
{
    RefusingPort refusing;
    vistado::test::writeFile(target(), "reply of an earlier download");
    Reports reports;
    auto get = makeGet(reports, refusing.url("/x"));
    get->StartDownload();

    // The failure shows before its report has run on this thread.
    ASSERT_TRUE(waitFor([&] { return get->failed(); }));
    EXPECT_TRUE(get->busy());
    EXPECT_EQ(reports.total(), 0);
    ASSERT_TRUE(ui.pumpUntil([&] { return !get->busy(); }));

    EXPECT_EQ(reports.errors, 1);
    EXPECT_TRUE(get->failed());
    EXPECT_EQ(get->fault(), DownloadFault::Unreachable);
    EXPECT_TRUE(folderEntries().empty());
}

TEST_F(HttpGetLifecycle, UnsplittableUrlFails)
{
    Reports reports;
    auto get = makeGet(reports, "http://no-path-here");
    fetch(*get);

    EXPECT_EQ(reports.errors, 1);
    EXPECT_TRUE(folderEntries().empty());
}

TEST_F(HttpGetLifecycle, SilentServerTimesOut)
{
    RawServer silent(std::nullopt);
    Reports reports;
    auto get = makeGet(reports, silent.url("/x"));
    get->stallTimeout = 1;
    auto started = Clock::now();
    fetch(*get);

    EXPECT_EQ(reports.errors, 1);
    EXPECT_LT(Clock::now() - started, seconds(kPatientSeconds / 2));
    EXPECT_EQ(get->fault(), DownloadFault::TimedOut);
    EXPECT_TRUE(folderEntries().empty());
}

TEST_F(HttpGetLifecycle, CancelIsPromptAgainstSilentServer)
{
    RawServer silent(std::nullopt);
    Reports reports;
    auto get = startWaiting(silent, reports);
    EXPECT_FALSE(get->awaitEnd(std::chrono::milliseconds(0)));
    auto cancelled = Clock::now();
    get->CancelDownload();
    ASSERT_TRUE(ui.pumpUntil([&] { return !get->busy(); }));

    EXPECT_LT(Clock::now() - cancelled, seconds(kPatientSeconds / 2));
    EXPECT_EQ(get->fault(), DownloadFault::Cancelled);
    EXPECT_EQ(reports.errors, 1);
    EXPECT_TRUE(folderEntries().empty());
}

TEST_F(HttpGetLifecycle, DestroyingWhileWaitingForTheServer)
{
    RawServer silent(std::nullopt);
    Reports reports;
    auto get = startWaiting(silent, reports);
    auto destroyed = Clock::now();
    get.reset();
    EXPECT_LT(Clock::now() - destroyed, seconds(kPatientSeconds / 2));

    for (int i = 0; i < 3; ++i)
        ui.pump();
    EXPECT_EQ(reports.total(), 0);
    EXPECT_TRUE(folderEntries().empty());
}

TEST_F(HttpGetLifecycle, DestroyingWhileTheWorkerWaitsForProgressReport)
{
    RawServer server("HTTP/1.0 200 OK\r\nContent-Length: 3000\r\n\r\n" + std::string(3000, 'x'));
    Reports reports;
    auto get = makeGet(reports, server.url("/x"));
    get->OnProgress = [&](THTTPGet&, std::int64_t total, std::int64_t readed) {
        reports.progress.emplace_back(total, readed);
    };
    get->StartDownload();
    ASSERT_TRUE(waitFor([&] { return ui.pending() == 1; }));
    get.reset();

    // The report still queued no longer reaches the component.
    ui.pump();
    EXPECT_TRUE(reports.progress.empty());
    EXPECT_EQ(reports.total(), 0);
    EXPECT_TRUE(folderEntries().empty());
}

}  // namespace
}  // namespace vistado::net::test
