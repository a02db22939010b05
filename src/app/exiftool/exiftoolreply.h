#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vistado {

// One tag and its value: what a write sets, what a read gives back.
struct TagValue {
    std::string name;
    std::string value;
    bool operator==(const TagValue&) const = default;
};

// What ExifTool printed for one request, its standard output and error together, taken
// line by line. Lines of other shapes (headers of several files, "Nothing to do.") count
// for nothing.
struct ExifToolReply {
    std::vector<std::string> errors;    // "Error: TEXT", as TEXT
    std::vector<std::string> warnings;  // "Warning: TEXT", as TEXT
    int filesUpdated = 0;               // "    1 image files updated"
    int filesUnchanged = 0;             // "    1 image files unchanged"
    int outputFilesCreated = 0;         // "    1 output files created" (the files of -w)
    std::vector<TagValue> values;       // "-NAME=VALUE", as -args prints each tag
};

ExifToolReply parseExifToolReply(std::string_view text);

// Where the reply to request `id` ends in what has come from ExifTool so far: the length of
// the text in front of its line "{ready<id>}". None while that line has not come whole, so
// the caller reads on. `from` is where the search may start (the line cannot begin before
// it; what came earlier was searched already). Only a whole line counts: ExifTool prints a
// value's line breaks as ".", so no value can end a reply early.
std::optional<std::size_t> replyLength(std::string_view received, unsigned id, std::size_t from = 0);

}  // namespace vistado
