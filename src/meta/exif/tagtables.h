#pragma once

#include "meta/tagentry.h"

#include <cstdint>
#include <span>
#include <string>

namespace vistado {

// Which table a TIFF directory's tags come from.
enum class DirectoryKind { Main = 1, Gps = 2 };

// The 253 rows of the main tag table (ascending tag numbers) and the 31 rows
// of the GPS table. Captions are empty until FillDescriptions has run.
std::span<const TTagEntry> mainTagTable();
std::span<const TTagEntry> gpsTagTable();
// Tag number 0, key "Unknown": the row for tags that no table lists.
const TTagEntry& fallbackTagRow();

// Gives every row without a caption of its own the SpacedName of its key.
// Runs once per process; later calls do nothing.
void FillDescriptions();

// A copy of the row of the tag in the table of that kind, or of the fallback row.
TTagEntry LookupTableEntry(uint16_t tag, DirectoryKind kind);
// The same row itself, for readers that copy only what they keep.
const TTagEntry& tableRow(uint16_t tag, DirectoryKind kind);

// Index of the first main-table row whose key equals key, ASCII letters
// compared without regard to case; -1 when none.
int32_t TableIndexOfKey(const std::string& key);

}  // namespace vistado
