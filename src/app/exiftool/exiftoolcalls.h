#pragma once

#include "app/exiftool/gpstext.h"

#include <string>
#include <vector>

namespace vistado {

// The two ExifTool calls of the GPS backup and restore. Each is built twice from the same
// pieces: as the parameter text a shell command line would carry (the backup shows it in
// the window caption), and as the argument list ExifTool is really started with. In the list
// the image path is always one argument behind "--", so a name such as -x; "y".jpg stays a
// file name, and the double quotes a shell would have removed are not there.
struct ExifToolCall {
    std::string parameterText;
    std::vector<std::string> arguments;
};

// Prints the image's GPS latitude and longitude into gpstext/<base name>.txt beside it.
// The list names that file through ExifTool's own %d (the image's folder), so that a "%"
// in a folder name is not taken for one of ExifTool's codes.
ExifToolCall backupCall(const std::string& path);

// Writes the backed-up coordinates and their reference letters into the image.
ExifToolCall restoreCall(const GpsBackup& backup, const std::string& path);

}  // namespace vistado
