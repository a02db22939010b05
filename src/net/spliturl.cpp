#include "net/spliturl.h"

#include <string_view>

namespace vistado::net {

namespace {

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i])
            return false;
    }
    return true;
}

bool isHostName(std::string_view name)
{
    if (name.empty())
        return false;
    for (char c : name) {
        bool letterOrDigit = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!letterOrDigit && c != '.' && c != '-' && c != '_')
            return false;
    }
    return true;
}

bool isIpv6Literal(std::string_view name)
{
    if (name.size() < 3 || name.front() != '[' || name.back() != ']')
        return false;
    for (char c : name.substr(1, name.size() - 2)) {
        bool hexDigit = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (!hexDigit && c != ':' && c != '.')
            return false;
    }
    return true;
}

// 1 to 65535 in decimal digits, else 0.
int parsePort(std::string_view digits)
{
    if (digits.empty() || digits.size() > 5)
        return 0;
    int port = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return 0;
        port = port * 10 + (c - '0');
    }
    return port <= 65535 ? port : 0;
}

}  // namespace

UrlParts SplitUrl(const std::string& url)
{
    UrlParts parts;
    std::string_view rest = url;
    if (startsWithNoCase(rest, "http://")) {
        rest.remove_prefix(7);
    } else if (startsWithNoCase(rest, "https://")) {
        rest.remove_prefix(8);
        parts.secure = true;
        parts.port = 443;
    }

    std::size_t slash = rest.find('/');
    if (slash == std::string_view::npos)
        return parts;
    std::string_view authority = rest.substr(0, slash);

    // A port follows the last ":" unless that ":" lies inside brackets.
    std::size_t colon = authority.rfind(':');
    std::size_t bracket = authority.rfind(']');
    std::string_view host = authority;
    if (colon != std::string_view::npos && (bracket == std::string_view::npos || colon > bracket)) {
        int port = parsePort(authority.substr(colon + 1));
        if (port == 0)
            return parts;
        parts.port = port;
        host = authority.substr(0, colon);
    }
    if (!isHostName(host) && !isIpv6Literal(host))
        return parts;

    parts.host = host;
    parts.objectPath = rest.substr(slash);
    return parts;
}

}  // namespace vistado::net
