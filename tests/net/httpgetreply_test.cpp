#include <optional>
#include <string>
#include <vector>

#include "download_test.h"
#include "httpserver.h"
#include "rawserver.h"

namespace vistado::net::test {
namespace {

using vistado::test::HttpServer;
using vistado::test::RawServer;

std::string Body(std::size_t size)
{
    std::string body;
    for (std::size_t i = 0; i < size; ++i)
        body += static_cast<char>('a' + i % 26);
    return body;
}

std::string Reply(const std::string& statusLine, const std::string& headers, const std::string& body)
{
    return statusLine + "\r\n" + headers + "\r\n" + body;
}

struct ReplyCase {
    const char* name;
    std::string reply;
    bool binaryData;
    bool done;                           // OnDoneFile, else OnError
    std::optional<std::string> kept;     // the target afterwards
};

const std::string oldTarget = "reply of an earlier download";

std::vector<ReplyCase> ReplyCases()
{
    return {
        {"length as sent", Reply("HTTP/1.0 200 OK", "Content-Length: 512\r\n", Body(512)), false, true, Body(512)},
        {"empty body of length 0", Reply("HTTP/1.0 200 OK", "Content-Length: 0\r\n", ""), false, true, ""},
        {"body cut short is kept", Reply("HTTP/1.0 200 OK", "Content-Length: 512\r\n", Body(300)), false, false,
         Body(300)},
        {"body without length is kept", Reply("HTTP/1.0 200 OK", "", Body(300)), false, false, Body(300)},
        {"body without length, binary data", Reply("HTTP/1.0 200 OK", "", Body(300)), true, false, oldTarget},
        {"binary data with length", Reply("HTTP/1.0 200 OK", "Content-Length: 300\r\n", Body(300)), true, true,
         Body(300)},
        {"not found", Reply("HTTP/1.0 404 Not Found", "Content-Length: 9\r\n", "not found"), false, false,
         std::nullopt},
        {"server error", Reply("HTTP/1.1 500 Internal Server Error", "Content-Length: 4\r\n", "oops"), false, false,
         std::nullopt},
        {"headers cut off", "HTTP/1.0 200 OK\r\nContent-Len", false, false, std::nullopt},
        {"length not a number", Reply("HTTP/1.0 200 OK", "Content-Length: zwoelf\r\n", "twelve bytes"), false, false,
         std::nullopt},
    };
}

class HttpGetReply : public DownloadTest {};

TEST_F(HttpGetReply, ContentLengthAndStatusDecideTheOutcome)
{
    for (const ReplyCase& c : ReplyCases()) {
        SCOPED_TRACE(c.name);
        vistado::test::WriteFile(Target(), oldTarget);
        RawServer server(c.reply);
        Reports reports;
        auto get = MakeGet(reports, server.Url("/x"));
        get->BinaryData = c.binaryData;
        Fetch(*get);

        EXPECT_EQ(reports.doneFile, c.done ? 1 : 0);
        EXPECT_EQ(reports.errors, c.done ? 0 : 1);
        EXPECT_EQ(get->Succeeded(), c.done);
        if (c.done) {
            EXPECT_EQ(reports.fileName, Target());
            EXPECT_EQ(reports.fileSize, static_cast<std::int64_t>(c.kept->size()));
        }
        EXPECT_EQ(Contents(Target()), c.kept);
        // Nothing but the target is left behind.
        EXPECT_EQ(FolderEntries(), c.kept ? std::vector<std::string>{"reply.dat"} : std::vector<std::string>{});
    }
}

TEST_F(HttpGetReply, ReportsProgressPerChunkBeforeTheTargetExists)
{
    const std::string body = Body(5000);
    RawServer server(Reply("HTTP/1.0 200 OK", "Content-Length: 5000\r\n", body));
    Reports reports;
    auto get = MakeGet(reports, server.Url("/x"));
    bool targetSeenEarly = false;
    get->OnProgress = [&](THTTPGet& sender, std::int64_t total, std::int64_t readed) {
        EXPECT_EQ(&sender, get.get());
        reports.progress.emplace_back(total, readed);
        targetSeenEarly |= Contents(Target()).has_value();
    };
    Fetch(*get);

    ASSERT_EQ(reports.doneFile, 1);
    EXPECT_FALSE(targetSeenEarly) << "the target was visible before the body was complete";
    ASSERT_GE(reports.progress.size(), 5u);
    std::int64_t before = 0;
    for (const auto& [total, readed] : reports.progress) {
        EXPECT_EQ(total, 5000);
        EXPECT_GT(readed, before);
        EXPECT_LE(readed - before, 1025);
        before = readed;
    }
    EXPECT_EQ(before, 5000);
    EXPECT_EQ(Contents(Target()), body);
}

TEST_F(HttpGetReply, WithoutFileNameTheBodyComesAsText)
{
    RawServer ok(Reply("HTTP/1.0 200 OK", "", "4.2.1\r\n"));
    RawServer empty(Reply("HTTP/1.0 200 OK", "Content-Length: 0\r\n", ""));
    RawServer missing(Reply("HTTP/1.0 404 Not Found", "", "not found"));
    struct {
        const RawServer& server;
        bool done;
    } cases[] = {{ok, true}, {empty, false}, {missing, false}};
    for (const auto& c : cases) {
        Reports reports;
        auto get = MakeGet(reports, c.server.Url("/x"));
        get->FileName = "";
        Fetch(*get);

        EXPECT_EQ(reports.doneString, c.done ? 1 : 0);
        EXPECT_EQ(reports.errors, c.done ? 0 : 1);
        if (c.done) {
            EXPECT_EQ(reports.text, "4.2.1\r\n");
        }
    }
    EXPECT_TRUE(FolderEntries().empty());
}

TEST_F(HttpGetReply, HttpsUrlSpeaksTls)
{
    // A plain HTTP server cannot answer a TLS handshake: no reply, no file.
    HttpServer server([](httplib::Server& routes) {
        routes.Get("/x", [](const httplib::Request&, httplib::Response& response) {
            response.set_content("plain", "text/plain");
        });
    });
    std::string url = server.Url("/x");
    url.replace(0, 4, "https");
    Reports reports;
    auto get = MakeGet(reports, url);
    Fetch(*get);

    EXPECT_EQ(reports.errors, 1);
    EXPECT_TRUE(FolderEntries().empty());
    EXPECT_TRUE(server.Requests().empty());
}

}  // namespace
}  // namespace vistado::net::test
