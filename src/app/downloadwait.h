#pragma once

#include "net/httpget.h"

#include <chrono>
#include <string>

namespace vistado {

// Waits for a download's target file as the window does: without letting the window
// process events, until `download` has ended (with its file or without) or `limit` has
// passed; a download still going then is cancelled. Gives whether the file came.
bool awaitDownloadedFile(const std::string& file, std::chrono::milliseconds limit, net::THTTPGet& download);

}  // namespace vistado
