#pragma once

#include <istream>
#include <string>
#include <string_view>

namespace vistado {

// The place text the place run writes in front of an image's comment: up to five pieces
// ">" + name + "<" with nothing between them, for example >Marktgasse<>Altstadt<>Musterstadt<>Oberland<.

// Scans a geocoder reply line by line into its place text, the names converted from UTF-8
// to `charset` (see utf8ToAnsi). The line holding "<status>" must carry "OK", else the place
// text is empty. Of the lines holding "<long_name>", in document order across all results,
// the first is skipped, the next four give a piece each, and the sixth gives one unless its
// name starts with a digit (a house number or a postcode). A piece is the line from its
// first ">" up to and including the next "<"; names are taken as they stand, without
// decoding XML entities. Names missing at the reply's end add nothing.
std::string placeTextFromReply(std::istream& reply, const std::string& charset);

// The comment carries no place text yet: it holds fewer than four ">" (any ">" counts,
// typed ones too).
bool nochkeinort(std::string_view comment);

}  // namespace vistado
