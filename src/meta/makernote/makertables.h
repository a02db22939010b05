#pragma once

#include "meta/tagentry.h"

#include <span>

namespace vistado {

// The tag tables of the maker notes, one per maker and note layout. A row sets
// tagId, key, caption and a value map or a formatter; a row captioned "Skip"
// (any letter case) makes the maker-note walk ignore entries with its tag.
std::span<const TTagEntry> nikonTiffHeaderTable();  // notes that carry a TIFF header or none
std::span<const TTagEntry> nikonHeaderTable();      // notes that begin "Nikon" (older cameras)
std::span<const TTagEntry> olympusTable();
std::span<const TTagEntry> casioTable();
std::span<const TTagEntry> casioQvcTable();  // notes that begin "QVC"
std::span<const TTagEntry> fujiTable();
std::span<const TTagEntry> canonTable();
std::span<const TTagEntry> epsonTable();
std::span<const TTagEntry> sanyoTable();
std::span<const TTagEntry> minoltaTable();

}  // namespace vistado
