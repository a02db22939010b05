#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace vistado {

// Turns the value text of a tag into the text shown. A plain function pointer,
// so that tag tables stay constant data.
using TagFormatter = std::string (*)(const std::string& text);

// One row of a tag table and, copied, one decoded tag (Exif, maker note and
// IPTC alike). A row sets only tagId, key, caption, valueMap, formatText and
// formatter; a decoded tag fills in the rest.
struct TTagEntry {
    int32_t tableId = 0;        // 0 main walk, 1 maker-note walk and derived entries
    uint16_t valueType = 0;     // TIFF type of the value
    uint16_t recordNumber = 0;  // IPTC record number
    uint16_t tagId = 0;         // tag or dataset number; 0 marks an entry no list stores
    std::string key{};            // the searchable name
    std::string caption{};        // the display label
    std::string valueMap{};       // items "number:text" joined by ","
    std::string text{};           // the value as text
    std::string rawBytes{};       // the value's bytes as in the file
    int32_t rawOffset = 0;      // segment position of the value
    std::string formatText{};     // a format template ("%5.2f", "%s sec", ...)
    int32_t maxLength = 0;      // byte count of rawBytes (IPTC rows: the dataset's maximum)
    TagFormatter formatter = nullptr;
};

// Index of the first entry whose key equals key, ASCII letters compared
// without regard to case; -1 when none. Every lookup by name goes through it.
int32_t indexOfKey(std::span<const TTagEntry> entries, const std::string& key);

}  // namespace vistado
