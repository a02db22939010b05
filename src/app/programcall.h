#pragma once

#include "track/phototime.h"

#include <string>
#include <vector>

namespace vistado {

// What the program is asked to do by its command line. A first argument that does not begin
// with "--" is the window's (a JPEG file or a folder; further ones are ignored). One of the
// commands below runs at once without showing the window, on the job list its PATH gives
// by the same rules (none: the current directory):
//     vistado --orte [PATH]         the place run
//     vistado --orte --nur-kommentar [PATH]   the place run, the place into the comment alone
//     vistado --gps-sichern [PATH]  the GPS backup
//     vistado --gps-zurueck [PATH]  the GPS restore
//     vistado --track FILE.gpx [--track FILE2.gpx ...] [--zeitzone +HH:MM] [--versatz ±SECONDS] [PATH]
//                                   positions from GPS tracks
enum class ProgramCommand { Window, Places, GpsBackup, GpsRestore, GpsTrack, Help, Version, Bad };

struct ProgramCall {
    ProgramCommand command = ProgramCommand::Window;
    std::string path;  // the commands' PATH
    bool commentOnly = false;  // the place run writes no location fields
    std::vector<std::string> trackFiles;  // the track run's GPX files, in the order given
    CameraClock clock;                    // and the camera's zone and clock correction
};

// `arguments` are those behind the program's name.
ProgramCall parseProgramCall(const std::vector<std::string>& arguments);

// How to call the program, for --help and a bad command line.
// --version prints the program's name and version.
extern const char* const kProgramUsage;

}  // namespace vistado
