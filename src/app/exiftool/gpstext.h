#pragma once

#include <istream>
#include <string>

namespace vistado {

// The GPS backup text files: ExifTool writes one per image into the folder gpstext beside
// it, holding lines such as
//     GPS Latitude                    : 48 deg 8' 13.75" N
//     GPS Longitude                   : 11 deg 34' 34.05" E
// and the restore reads them back.

// The backup folder of an image: its folder part followed by "gpstext" (no trailing "/").
std::string mache_gpsdatenpfad(const std::string& path);

// The name the image's backup text file has before ".txt": the image's file name without its
// last extension, as ExifTool's %f has it (Foto.Urlaub.jpg gives Foto.Urlaub, x.JPG.jpg gives
// x.JPG, .jpg gives an empty name). The backup files on users' disks carry these names.
std::string backupBaseName(const std::string& path);

// Where the image's backup text file lies: backup folder, "/", base name, ".txt".
std::string backupTextFile(const std::string& path);

// The text without its blanks.
std::string RemoveBlanks(const std::string& text);

// One coordinate of a backup line: the value as ExifTool is to get it back, in double
// quotes (for the line above: "48  8 13.75", the quotes included), and the reference letter.
struct DmsValue {
    std::string value;
    std::string reference;  // one letter, or empty when the line ends too early
};

// Takes the value part of a backup line apart: behind ": " the degrees up to "deg" (the
// blank in front of it stays), behind "deg " the minutes up to "'", behind "' " the seconds
// up to the double quote, and the letter two places behind that. A piece whose end mark is
// missing is empty and the next piece is sought in the same rest; without the double quote
// there is no letter either.
DmsValue ParseDmsLine(const std::string& line);

// What a backup text file holds: the last "GPS Latitude" and "GPS Longitude" lines, found by
// their name part with blanks removed and without regard to case. Every other line (also
// "GPS Latitude Ref") is ignored; a coordinate without a line stays empty.
struct GpsBackup {
    DmsValue latitude;
    DmsValue longitude;
};
GpsBackup readGpsBackup(std::istream& text);

// The backup holds both coordinates in a form ExifTool can write back: degrees, minutes and
// seconds as plain numbers, minutes and seconds below 60, at most 90 degrees of latitude
// and 180 of longitude in all, latitude N or S, longitude E or W. Restoring from anything
// less would delete or garble the image's position.
bool backupComplete(const GpsBackup& backup);

}  // namespace vistado
