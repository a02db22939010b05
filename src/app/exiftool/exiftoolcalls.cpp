#include "app/exiftool/exiftoolcalls.h"

#include "meta/file/pathparts.h"

#include <algorithm>

namespace vistado {

namespace {

// What a shell makes of a quoted value: the text without its double quotes.
std::string unquoted(std::string text)
{
    std::erase(text, '"');
    return text;
}

}  // namespace

ExifToolCall backupCall(const std::string& path)
{
    ExifToolCall call;
    call.parameterText = " -overwrite_original  -gpslatitude -gpslongitude -w \"" + folderPart(path) +
                         "gpstext/%f.txt\" \"" + path + "\"";
    call.options = {"-overwrite_original", "-gpslatitude", "-gpslongitude", "-w", "%dgpstext/%f.txt"};
    return call;
}

std::vector<TagValue> restoreTags(const GpsBackup& backup)
{
    return {{"gpslatitude", unquoted(backup.latitude.value)},
            {"gpslatituderef", backup.latitude.reference},
            {"gpslongitude", unquoted(backup.longitude.value)},
            {"gpslongituderef", backup.longitude.reference}};
}

}  // namespace vistado
