#pragma once

#include "meta/tagentry.h"

#include <cstddef>
#include <string>

namespace vistado {

// Formatters of the main and GPS tag tables: each takes the value text that
// the walk rendered and gives the text shown.

// A RATIONAL triple "d/1, m/1, s/100" as degrees in the GPS rendering mode;
// no hemisphere letter.
std::string RenderGpsCoordinate(const std::string& text);
// Hours, minutes, seconds as "h:m:s" without leading zeros.
std::string RenderGpsTime(const std::string& text);
// The quoted component bytes as "YCbCr", "RGB", ...
std::string RenderComponents(const std::string& text);
// The Flash bits in words; a text that is not an integer is a range error.
std::string RenderFlash(const std::string& text);
// An APEX shutter speed as seconds.
std::string RenderShutterSpeed(const std::string& text);
// The text without its 8-character character-code prefix.
std::string RenderUserComment(const std::string& text);
// A UTF-16LE string given as a BYTE list: the low byte of each code unit.
std::string RenderXpText(const std::string& text);

// How many characters of a rendered value a formatter of the Exif tables
// reads at most (no more need be rendered): the first characters that it
// shows without one, everything for those that read a whole list.
size_t renderedLengthUsed(TagFormatter formatter);

}  // namespace vistado
