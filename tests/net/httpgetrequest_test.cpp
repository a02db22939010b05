#include <functional>
#include <map>
#include <string>

#include "download_test.h"
#include "httpserver.h"

namespace vistado::net::test {
namespace {

using vistado::test::HttpServer;
using vistado::test::SeenRequest;

const char* const kNone = "(none)";

struct RequestCase {
    const char* name;
    std::function<void(THTTPGet&)> configure;
    const char* method;
    std::map<std::string, std::string> headers;  // kNone: must be absent
    const char* body;
};

const RequestCase kRequestCases[] = {
    {"defaults",
     [](THTTPGet&) {},
     "GET",
     {{"Accept", "*/*"},
      {"User-Agent", "Fetchkin HTTPGet"},
      {"Cache-Control", "no-cache"},
      {"Pragma", "no-cache"},
      {"Referer", kNone},
      {"Authorization", kNone},
      {"Content-Type", kNone}},
     ""},
    {"cache allowed, no agent, own accept list, referrer, credentials",
     [](THTTPGet& get) {
         get.UseCache = true;
         get.Agent = "";
         get.AcceptTypes = "text/xml, application/xml";
         get.Referer = "http://example.org/start";
         get.UserName = "anna";
         get.Password = "geheim";
     },
     "GET",
     {{"Accept", "text/xml, application/xml"},
      {"User-Agent", kNone},
      {"Cache-Control", kNone},
      {"Pragma", kNone},
      {"Referer", "http://example.org/start"},
      {"Authorization", "Basic YW5uYTpnZWhlaW0="}},
     ""},
    {"form post",
     [](THTTPGet& get) { get.PostQuery = "ort=M%C3%BCnchen&n=2"; },
     "POST",
     {{"Content-Type", "application/x-www-form-urlencoded"},
      {"Content-Length", "20"},
      {"Cache-Control", "no-cache"},
      {"User-Agent", "Fetchkin HTTPGet"}},
     "ort=M%C3%BCnchen&n=2"},
};

class HttpGetRequest : public DownloadTest {};

TEST_F(HttpGetRequest, SendsHttp10RequestAsConfigured)
{
    for (const RequestCase& c : kRequestCases) {
        SCOPED_TRACE(c.name);
        std::string body;
        auto answer = [&body](const httplib::Request& request, httplib::Response& response) {
            body = request.body;
            response.set_content("<status>OK</status>", "text/xml");
        };
        HttpServer server([&](httplib::Server& routes) {
            routes.Get("/maps/api/geocode/xml", answer);
            routes.Post("/maps/api/geocode/xml", answer);
        });
        Reports reports;
        auto get = makeGet(reports, server.url("/maps/api/geocode/xml?latlng=48.137154,11.576124&sensor=false"));
        c.configure(*get);
        fetch(*get);

        EXPECT_EQ(reports.doneFile, 1);
        EXPECT_EQ(contents(target()), "<status>OK</status>");
        auto requests = server.requests();
        ASSERT_EQ(requests.size(), 1u);
        const SeenRequest& seen = requests[0];
        EXPECT_EQ(seen.method, c.method);
        EXPECT_EQ(seen.version, "HTTP/1.0");
        EXPECT_EQ(seen.target, "/maps/api/geocode/xml?latlng=48.137154,11.576124&sensor=false");
        for (const auto& [name, value] : c.headers)
            EXPECT_EQ(seen.header(name), value) << name;
        EXPECT_EQ(body, c.body);
    }
}

TEST_F(HttpGetRequest, FollowsRedirects)
{
    HttpServer server([](httplib::Server& routes) {
        routes.Get("/download/vistado.ver", [](const httplib::Request&, httplib::Response& response) {
            response.set_redirect("/neu/vistado.ver");
        });
        routes.Get("/neu/vistado.ver", [](const httplib::Request&, httplib::Response& response) {
            response.set_content("4.2.1\r\n", "text/plain");
        });
    });
    Reports reports;
    auto get = makeGet(reports, server.url("/download/vistado.ver"));
    fetch(*get);

    EXPECT_EQ(reports.doneFile, 1);
    EXPECT_EQ(contents(target()), "4.2.1\r\n");
    EXPECT_EQ(server.requests().size(), 2u);
}

}  // namespace
}  // namespace vistado::net::test
