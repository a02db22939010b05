#include "app/exiftool/exiftoolreply.h"

#include <algorithm>
#include <charconv>

namespace vistado {

namespace {

// ExifTool's closing counts, each a number in front of its words.
struct CountLine {
    std::string_view words;
    int ExifToolReply::*count;
};

constexpr CountLine kCountLines[] = {
    {" image files updated", &ExifToolReply::filesUpdated},
    {" image files unchanged", &ExifToolReply::filesUnchanged},
    {" output files created", &ExifToolReply::outputFilesCreated},
};

constexpr std::string_view kError = "Error: ";
constexpr std::string_view kWarning = "Warning: ";

void takeCount(std::string_view line, ExifToolReply& reply)
{
    line.remove_prefix(std::min(line.find_first_not_of(' '), line.size()));
    int number = 0;
    const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), number);
    if (error != std::errc() || end == line.data())
        return;
    const std::string_view words(end, static_cast<std::size_t>(line.data() + line.size() - end));
    for (const CountLine& count : kCountLines) {
        if (words == count.words)
            reply.*count.count = number;
    }
}

void takeLine(std::string_view line, ExifToolReply& reply)
{
    if (line.starts_with(kError)) {
        reply.errors.emplace_back(line.substr(kError.size()));
    } else if (line.starts_with(kWarning)) {
        reply.warnings.emplace_back(line.substr(kWarning.size()));
    } else if (line.starts_with('-')) {
        const std::size_t equals = line.find('=');
        if (equals != std::string_view::npos && equals > 1)
            reply.values.push_back({std::string(line.substr(1, equals - 1)), std::string(line.substr(equals + 1))});
    } else {
        takeCount(line, reply);
    }
}

}  // namespace

ExifToolReply parseExifToolReply(std::string_view text)
{
    ExifToolReply reply;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        takeLine(line, reply);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return reply;
}

std::optional<std::size_t> replyLength(std::string_view received, unsigned id, std::size_t from)
{
    const std::string marker = "{ready" + std::to_string(id) + "}\n";
    for (std::size_t at = received.find(marker, from); at != std::string_view::npos;
         at = received.find(marker, at + 1)) {
        if (at == 0 || received[at - 1] == '\n')
            return at;
    }
    return std::nullopt;
}

}  // namespace vistado
