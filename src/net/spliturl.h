#pragma once

#include <string>

namespace vistado::net {

// Where a download goes. An empty host means the URL could not be split; the
// request then fails.
struct UrlParts {
    std::string host;
    int port = 80;
    std::string objectPath;  // from the first "/" on, query included
    bool secure = false;     // https
};

// Splits "http://host[:port]/path" (port 80 by default) and
// "https://host[:port]/path" (port 443). The scheme is matched without regard
// to letter case and may be left out (plain HTTP). The host is a name, an IPv4
// address or a bracketed IPv6 address; anything else there (a user name, a
// second scheme, a bad port) gives an empty host.
UrlParts SplitUrl(const std::string& url);

}  // namespace vistado::net
