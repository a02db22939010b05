#pragma once

#include "meta/tagentry.h"

#include <cstdint>
#include <span>

namespace vistado {

// The 49 rows of the IPTC dataset table, in their fixed order: record number,
// dataset number, key, caption and the dataset's maximum length. Lookups take
// the first row that matches. Row 0, "SKIP" (2:0, the record version), stands
// for a dataset that is treated as one outside the table.
std::span<const TTagEntry> iptcDatasetTable();

inline constexpr const char* kSkipKey = "SKIP";

// Whether values of the dataset are comma lists that are merged instead of
// stored once per occurrence (SuppCategory and Keywords). Only the dataset
// number counts, not the record number.
bool isListValued(uint16_t dataset);

}  // namespace vistado
