#pragma once

#include <string>
#include <string_view>

namespace vistado {

// Converts UTF-8 text to the 8-bit character set `charset`, named as iconv knows it (the
// program passes its locale's nl_langinfo(CODESET), for example "ISO-8859-1").
//
// Each character the target cannot hold, and each stretch of bytes that is not UTF-8,
// becomes "?". A plain ASCII locale ("ANSI_X3.4-1968", the "C" locale) keeps the text in
// UTF-8: on such a system the terminal and the files are UTF-8 in practice, and "?" for
// every accent would lose the names. Throws std::runtime_error for a set iconv does not know.
std::string utf8ToAnsi(std::string_view utf8, const std::string& charset);

// The way back, for showing 8-bit texts (paths, place texts) in the window: converts text in
// `charset` to UTF-8. UTF-8 and plain ASCII locales keep the text as it is, matching
// utf8ToAnsi. Throws std::runtime_error for a set iconv does not know.
std::string ansiToUtf8(std::string_view ansi, const std::string& charset);

}  // namespace vistado
