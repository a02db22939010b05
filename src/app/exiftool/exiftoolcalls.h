#pragma once

#include "app/exiftool/exiftoolreply.h"
#include "app/exiftool/gpstext.h"

#include <string>
#include <vector>

namespace vistado {

// The backup's request to ExifTool, built twice from the same pieces: as the parameter text
// a shell command line would carry (the backup shows it in the window caption), and as the
// options ExifTool really gets, each one whole, the image's path following them as a file
// name of its own. The double quotes a shell would have removed are not there.
struct ExifToolCall {
    std::string parameterText;
    std::vector<std::string> options;
};

// Prints the image's GPS latitude and longitude into gpstext/<base name>.txt beside it.
// The options name that file through ExifTool's own %d (the image's folder), so that a "%"
// in a folder name is not taken for one of ExifTool's codes.
ExifToolCall backupCall(const std::string& path);

// The tags the restore writes: the backed-up coordinates, without the quotes they carry in
// the backup, and their reference letters.
std::vector<TagValue> restoreTags(const GpsBackup& backup);

}  // namespace vistado
