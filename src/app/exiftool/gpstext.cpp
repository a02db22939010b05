#include "app/exiftool/gpstext.h"

#include "meta/asciitext.h"
#include "meta/pathparts.h"
#include "places/textlines.h"

#include <algorithm>

namespace vistado {

namespace {

// The rest of a backup line is read in pieces of at most this many characters.
constexpr std::size_t kRestLimit = 100;

// The rest of `text` from `start` on, at most kRestLimit characters.
std::string restFrom(const std::string& text, std::size_t start)
{
    return start < text.size() ? text.substr(start, kRestLimit) : std::string();
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
    const std::size_t jpg = upperAscii(name).find(".JPG");
    return jpg == std::string::npos ? std::string() : name.substr(0, jpg);
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

}  // namespace vistado
