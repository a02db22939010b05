#pragma once

#include "meta/tagentry.h"

#include <span>

namespace vistado {

// The tag tables of the maker notes, one per maker and note layout. A row sets
// tagId, key, caption and a value map or a formatter; a row captioned "Skip"
// (any letter case) makes the maker-note walk ignore entries with its tag.
std::span<const TTagEntry> NikonTiffHeaderTable();  // notes that carry a TIFF header or none
std::span<const TTagEntry> NikonHeaderTable();      // notes that begin "Nikon" (older cameras)
std::span<const TTagEntry> OlympusTable();
std::span<const TTagEntry> CasioTable();
std::span<const TTagEntry> CasioQvcTable();  // notes that begin "QVC"
std::span<const TTagEntry> FujiTable();
std::span<const TTagEntry> CanonTable();
std::span<const TTagEntry> EpsonTable();
std::span<const TTagEntry> SanyoTable();
std::span<const TTagEntry> MinoltaTable();

}  // namespace vistado
