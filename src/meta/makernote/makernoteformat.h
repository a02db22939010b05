#pragma once

#include "meta/tagentry.h"

#include <cstddef>
#include <string>
#include <vector>

namespace vistado {

// Formatters of the maker-note tables: each takes the value text the
// maker-note walk rendered for one entry and gives the text shown.

// The quoted ASCII colour mode "MODE1" to "MODE3" in words; anything else as
// its first five characters after the opening quote.
std::string FormatNikonColorMode(const std::string& text);
// Four rationals (shortest and longest focal length, widest aperture at
// each) as "18.0-70.0(mm)  F3.5-F4.5".
std::string FormatNikonLens(const std::string& text);

// How many characters of a rendered value the formatter of a maker table
// reads at most, as renderedLengthUsed tells for the Exif tables: the first
// characters shown without one, everything for those that read a whole list.
size_t makerNoteLengthUsed(TagFormatter formatter);

// The Canon formatters split one list into labelled lines (each after CR LF)
// and store every item as a derived entry of the note being walked; they set
// the formatter expansion flag, so the walk reports the plain list as well.
std::string FormatCanonSettings(const std::string& text);         // camera settings, tag 0x0001
std::string FormatCanonShotInfo(const std::string& text);         // shot information, tag 0x0004
std::string FormatCanonCustomFunctions(const std::string& text);  // custom functions, tag 0x000F

// Every label under which the formatters store derived entries.
std::vector<std::string> makerNoteFormatterLabels();

// Item decoders: CR LF + label + " = " + value, the value stored as a derived
// entry; the empty text, and nothing stored, when the value is empty after
// trimming. position counts the list's fields from 0 (split at ",").
std::string DecodePlainItem(const std::string& list, const std::string& label, int position);
std::string DecodeMappedItem(const std::string& list, const std::string& label, int position,
                             const std::string& valueMap);
std::string DecodeCustomFunction(const std::string& label, int value, const std::string& valueMap);

}  // namespace vistado
