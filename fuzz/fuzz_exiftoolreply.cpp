// libFuzzer target: any bytes as what ExifTool prints, read as the ExifTool layer reads it:
// arriving in pieces, the reply to the request number the first byte gives cut off at its
// ready line, then taken apart line by line.

#include "app/exiftool/exiftoolreply.h"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace vistado;
    if (size == 0)
        return 0;
    const unsigned id = data[0] % 16;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string marker = "{ready" + std::to_string(id) + "}\n";

    // The pieces grow as the socket delivers them; the search resumes where it stopped.
    std::string received;
    std::size_t searched = 0;
    std::optional<std::size_t> length;
    for (std::size_t at = 0; at < bytes.size() && !length;) {
        const std::size_t piece = 1 + static_cast<unsigned char>(bytes[at]) % 7;
        received.append(bytes.substr(at, piece));
        at += piece;
        length = replyLength(received, id, searched);
        searched = received.size() > 32 ? received.size() - 32 : 0;
    }
    if (length) {
        // The reply ends where its whole ready line begins, and at the first such line.
        if (received.compare(*length, marker.size(), marker) != 0 || (*length > 0 && received[*length - 1] != '\n'))
            std::abort();
        if (replyLength(received, id) != length)
            std::abort();
    }
    const ExifToolReply reply = parseExifToolReply(std::string_view(received).substr(0, length.value_or(received.size())));
    for (const TagValue& value : reply.values) {
        if (value.name.empty() || value.name.find('\n') != std::string::npos || value.value.find('\n') != std::string::npos)
            std::abort();
    }
    return 0;
}
