#include <gtest/gtest.h>

#include "net/spliturl.h"

namespace vistado::net {
namespace {

struct SplitCase {
    const char* url;
    const char* host;  // "" when the URL cannot be split
    int port;
    const char* objectPath;
    bool secure;
};

const SplitCase kSplitCases[] = {
    {"http://maps.example.com/maps/api/geocode/xml?latlng=48.1,11.5&sensor=false", "maps.example.com", 80,
     "/maps/api/geocode/xml?latlng=48.1,11.5&sensor=false", false},
    {"HTTP://Update.Example.org/download/vistado.ver", "Update.Example.org", 80, "/download/vistado.ver", false},
    {"update.example.org/download/vistado.ver", "update.example.org", 80, "/download/vistado.ver", false},
    {"http://127.0.0.1:8080/x", "127.0.0.1", 8080, "/x", false},
    {"http://[::1]/x", "[::1]", 80, "/x", false},
    {"http://[::1]:81/x", "[::1]", 81, "/x", false},
    {"https://maps.example.com/geo?key=abc", "maps.example.com", 443, "/geo?key=abc", true},
    {"HttpS://maps.example.com:8443/", "maps.example.com", 8443, "/", true},
    {"http://host/a/b:c/d", "host", 80, "/a/b:c/d", false},
    // Cannot be split: no path, no host, bad ports, a user name, other schemes.
    {"http://host", "", 0, "", false},
    {"http:///path", "", 0, "", false},
    {"http://host:/x", "", 0, "", false},
    {"http://host:0/x", "", 0, "", false},
    {"http://host:65536/x", "", 0, "", false},
    {"http://host:80a/x", "", 0, "", false},
    {"http://user@host/x", "", 0, "", false},
    {"ftp://host/x", "", 0, "", false},
    {"", "", 0, "", false},
};

TEST(SplitUrl, SplitsSchemeHostPortAndPath)
{
    for (const SplitCase& c : kSplitCases) {
        SCOPED_TRACE(c.url);
        UrlParts parts = SplitUrl(c.url);
        EXPECT_EQ(parts.host, c.host);
        if (parts.host.empty())
            continue;
        EXPECT_EQ(parts.port, c.port);
        EXPECT_EQ(parts.objectPath, c.objectPath);
        EXPECT_EQ(parts.secure, c.secure);
    }
}

}  // namespace
}  // namespace vistado::net
