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

std::string bodyOf(std::size_t size)
{
    std::string body;
    for (std::size_t i = 0; i < size; ++i)
        body += static_cast<char>('a' + i % 26);
    return body;
}

std::string replyOf(const std::string& statusLine, const std::string& headers, const std::string& body)
{
    return statusLine + "\r\n" + headers + "\r\n" + body;
}

struct ReplyCase {
    const char* name;
    std::string reply;
    bool binaryData;
    bool done;                           // OnDoneFile, else OnError
    std::optional<std::string> kept;     // the target afterwards
    DownloadFault fault;
    long status;
};

const std::string kOldTarget = "reply of an earlier download";

std::vector<ReplyCase> replyCases()
{
    using enum DownloadFault;
    return {
        {"length as sent", replyOf("HTTP/1.0 200 OK", "Content-Length: 512\r\n", bodyOf(512)), false, true, bodyOf(512),
         None, 200},
        {"empty body of length 0", replyOf("HTTP/1.0 200 OK", "Content-Length: 0\r\n", ""), false, true, "", None, 200},
        // A reply cut off after part of its body never passes for a reply.
        {"body cut short", replyOf("HTTP/1.0 200 OK", "Content-Length: 512\r\n", bodyOf(300)), false, false,
         std::nullopt, CutShort, 200},
        {"body without length is kept", replyOf("HTTP/1.0 200 OK", "", bodyOf(300)), false, false, bodyOf(300), None,
         200},
        {"body without length, binary data", replyOf("HTTP/1.0 200 OK", "", bodyOf(300)), true, false, kOldTarget,
         NotKept, 200},
        {"binary data with length", replyOf("HTTP/1.0 200 OK", "Content-Length: 300\r\n", bodyOf(300)), true, true,
         bodyOf(300), None, 200},
        {"not found", replyOf("HTTP/1.0 404 Not Found", "Content-Length: 9\r\n", "not found"), false, false,
         std::nullopt, ErrorStatus, 404},
        {"server error", replyOf("HTTP/1.1 500 Internal Server Error", "Content-Length: 4\r\n", "oops"), false, false,
         std::nullopt, ErrorStatus, 500},
        {"headers cut off", "HTTP/1.0 200 OK\r\nContent-Len", false, false, std::nullopt, CutShort, 0},
        {"length not a number", replyOf("HTTP/1.0 200 OK", "Content-Length: zwoelf\r\n", "twelve bytes"), false, false,
         std::nullopt, CutShort, 0},
    };
}

class HttpGetReply : public DownloadTest {};

TEST_F(HttpGetReply, ContentLengthAndStatusDecideTheOutcome)
{
    for (const ReplyCase& c : replyCases()) {
        SCOPED_TRACE(c.name);
        vistado::test::writeFile(target(), kOldTarget);
        RawServer server(c.reply);
        Reports reports;
        auto get = makeGet(reports, server.url("/x"));
        get->BinaryData = c.binaryData;
        fetch(*get);

        EXPECT_EQ(reports.doneFile, c.done ? 1 : 0);
        EXPECT_EQ(reports.errors, c.done ? 0 : 1);
        EXPECT_EQ(get->hasSucceeded(), c.done);
        EXPECT_EQ(get->fault(), c.fault);
        EXPECT_EQ(get->httpStatus(), c.status);
        if (c.done) {
            EXPECT_EQ(reports.fileName, target());
            EXPECT_EQ(reports.fileSize, static_cast<std::int64_t>(c.kept->size()));
        }
        EXPECT_EQ(contents(target()), c.kept);
        // Nothing but the target is left behind.
        EXPECT_EQ(folderEntries(), c.kept ? std::vector<std::string>{"reply.dat"} : std::vector<std::string>{});
    }
}

TEST_F(HttpGetReply, ReportsProgressPerChunkBeforeTheTargetExists)
{
    const std::string body = bodyOf(5000);
    RawServer server(replyOf("HTTP/1.0 200 OK", "Content-Length: 5000\r\n", body));
    Reports reports;
    auto get = makeGet(reports, server.url("/x"));
    bool targetSeenEarly = false;
    get->OnProgress = [&](THTTPGet& sender, std::int64_t total, std::int64_t readed) {
        EXPECT_EQ(&sender, get.get());
        reports.progress.emplace_back(total, readed);
        targetSeenEarly |= contents(target()).has_value();
    };
    fetch(*get);

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
    EXPECT_EQ(contents(target()), body);
}

TEST_F(HttpGetReply, WithoutFileNameTheBodyComesAsText)
{
    RawServer ok(replyOf("HTTP/1.0 200 OK", "", "4.2.1\r\n"));
    RawServer empty(replyOf("HTTP/1.0 200 OK", "Content-Length: 0\r\n", ""));
    RawServer missing(replyOf("HTTP/1.0 404 Not Found", "", "not found"));
    struct {
        const RawServer& server;
        bool done;
    } cases[] = {{ok, true}, {empty, false}, {missing, false}};
    for (const auto& c : cases) {
        Reports reports;
        auto get = makeGet(reports, c.server.url("/x"));
        get->FileName = "";
        fetch(*get);

        EXPECT_EQ(reports.doneString, c.done ? 1 : 0);
        EXPECT_EQ(reports.errors, c.done ? 0 : 1);
        if (c.done) {
            EXPECT_EQ(reports.text, "4.2.1\r\n");
        }
    }
    EXPECT_TRUE(folderEntries().empty());
}

TEST_F(HttpGetReply, HttpsUrlSpeaksTls)
{
    // A plain HTTP server cannot answer a TLS handshake: no reply, no file.
    HttpServer server([](httplib::Server& routes) {
        routes.Get("/x", [](const httplib::Request&, httplib::Response& response) {
            response.set_content("plain", "text/plain");
        });
    });
    std::string url = server.url("/x");
    url.replace(0, 4, "https");
    Reports reports;
    auto get = makeGet(reports, url);
    fetch(*get);

    EXPECT_EQ(reports.errors, 1);
    EXPECT_TRUE(folderEntries().empty());
    EXPECT_TRUE(server.requests().empty());
}

}  // namespace
}  // namespace vistado::net::test
