#pragma once

#include "net/httpget.h"

#include <string>

namespace vistado {

// Waits for a download's target file as the window does: pauses 100 ms, looks for the
// file, and so on up to `polls` times, without letting the window process events. Stops
// early once `download` has ended without success, as no file will come then. Gives
// whether the file exists.
bool awaitDownloadedFile(const std::string& file, int polls, const net::THTTPGet& download);

}  // namespace vistado
