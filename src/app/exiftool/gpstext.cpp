#include "app/exiftool/gpstext.h"

#include "meta/text/asciitext.h"
#include "meta/file/pathparts.h"
#include "places/textlines.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <sstream>
#include <string_view>

namespace vistado {

namespace {

// The rest of a backup line is read in pieces of at most this many characters.
constexpr std::size_t kRestLimit = 100;

// The rest of `text` from `start` on, at most kRestLimit characters.
std::string restFrom(const std::string& text, std::size_t start)
{
    return start < text.size() ? text.substr(start, kRestLimit) : std::string();
}

// A number as ExifTool prints the pieces of a coordinate: digits with at most one ".".
std::optional<double> plainNumber(const std::string& text)
{
    if (text.empty() || text.find_first_not_of("0123456789.") != std::string::npos)
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// A coordinate whose quoted value holds degrees, minutes and seconds, blank-separated, within
// `maxDegrees` in all, and whose reference is one of `references`.
bool coordinateComplete(const DmsValue& coordinate, double maxDegrees, std::string_view references)
{
    if (coordinate.reference.size() != 1 || references.find(coordinate.reference[0]) == std::string_view::npos)
        return false;
    // ParseDmsLine puts the value in double quotes.
    const std::string& value = coordinate.value;
    std::istringstream pieces(value.size() >= 2 ? value.substr(1, value.size() - 2) : std::string());
    double parts[3];
    std::string piece;
    for (double& part : parts) {
        const std::optional<double> number = pieces >> piece ? plainNumber(piece) : std::nullopt;
        if (!number)
            return false;
        part = *number;
    }
    if (pieces >> piece)
        return false;
    const auto [degrees, minutes, seconds] = parts;
    return minutes < 60 && seconds < 60 && degrees + minutes / 60 + seconds / 3600 <= maxDegrees;
}

// Cuts `rest` at `mark`: gives the text in front of it and leaves in `rest` what follows
// the mark and `skip` more characters. Without the mark: empty, and `rest` stays.
std::string cutAt(std::string& rest, const std::string& mark, std::size_t skip)
{
    const std::size_t at = rest.find(mark);
    if (at == std::string::npos)
        return {};
    std::string piece = rest.substr(0, at);
    rest = restFrom(rest, at + mark.size() + skip);
    return piece;
}

}  // namespace

std::string mache_gpsdatenpfad(const std::string& path)
{
    return folderPart(path) + "gpstext";
}

std::string backupBaseName(const std::string& path)
{
    const std::string name = fileNamePart(path);
    return name.substr(0, name.size() - extensionPart(name).size());
}

std::string backupTextFile(const std::string& path)
{
    return mache_gpsdatenpfad(path) + "/" + backupBaseName(path) + ".txt";
}

std::string RemoveBlanks(const std::string& text)
{
    std::string result = text;
    std::erase(result, ' ');
    return result;
}

DmsValue ParseDmsLine(const std::string& line)
{
    const std::size_t colon = line.find(':');
    std::string rest = restFrom(line, colon == std::string::npos ? 1 : colon + 2);
    const std::string degrees = cutAt(rest, "deg", 1);
    const std::string minutes = cutAt(rest, "'", 1);
    const std::size_t quote = rest.find('"');
    const std::string seconds = quote == std::string::npos ? std::string() : rest.substr(0, quote);
    const std::string reference =
        quote == std::string::npos || quote + 2 >= rest.size() ? std::string() : rest.substr(quote + 2, 1);
    return {"\"" + degrees + " " + minutes + " " + seconds + "\"", reference};
}

GpsBackup readGpsBackup(std::istream& text)
{
    GpsBackup backup;
    while (!atTextEnd(text)) {
        const std::string line = readTextLine(text);
        const std::size_t colon = line.find(':');
        const std::string key =
            colon == std::string::npos ? std::string() : lowerAscii(RemoveBlanks(line.substr(0, colon)));
        if (key == "gpslatitude")
            backup.latitude = ParseDmsLine(line);
        else if (key == "gpslongitude")
            backup.longitude = ParseDmsLine(line);
    }
    return backup;
}

bool backupComplete(const GpsBackup& backup)
{
    return coordinateComplete(backup.latitude, 90, "NS") && coordinateComplete(backup.longitude, 180, "EW");
}

}  // namespace vistado
