#pragma once

#include "app/programcall.h"
#include "app/services.h"

#include <string>

namespace vistado {

// Runs one of the commands as if its button had been clicked, without showing the window:
// every run-log line goes to standard output as it is written, the standard error message
// and (for the place run) the caption's messages such as "Google pennt" to standard error.
// Gives the exit status: 0 when the run went through its job list ("fertig"), 1 when it
// stopped early (no answer from the geocoder, an error) or a photo could not be written.
// At the end the run's outcome follows in one line, as the window's status line says it
// ("Fertig: 2 Orte geschrieben, 1 ohne GPS"). A path that is not there, a folder that
// cannot be read, or a path that names neither a folder nor a JPEG file, is said on
// standard error with status 2, and a folder without JPEG files with status 0; no run
// starts then. So is
// a backup, restore or track run without ExifTool (status 2), and a track run whose track
// cannot be read ("Track nicht lesbar: FILE: REASON", status 2). A QApplication must exist.
int runWithoutWindow(const ProgramCall& call, const std::string& currentDirectory, const Services& services);

}  // namespace vistado
