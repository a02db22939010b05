#include "track/trackresult.h"

#include "track/civiltime.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace vistado {

namespace {

// Fixed decimals with ".", whatever the process's locale says.
std::string fixed(double value, int decimals)
{
    char text[64];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return error == std::errc() ? std::string(text, end) : std::string();
}

// A number of at most `width` digits, with zeros in front.
std::string padded(int value, size_t width)
{
    std::string digits = std::to_string(value);
    return std::string(width - std::min(width, digits.size()), '0') + digits;
}

}  // namespace

PhotoTrackResult matchPhoto(const TImageInfo& exif, const CameraClock& clock, const Track& track)
{
    PhotoTrackResult result;
    result.photoTime = photoTimeUtc(exif, clock);
    if (result.photoTime)
        result.match = matchTrack(track, static_cast<double>(*result.photoTime));
    return result;
}

std::vector<TagAssignment> trackGpsTags(const PhotoTrackResult& result)
{
    if (!result.photoTime || !result.match.position)
        return {};
    const TrackPosition& position = *result.match.position;
    // Eight decimals of a degree are about a millimetre.
    std::vector<TagAssignment> tags = {
        {"GPSLatitude", fixed(std::abs(position.latitude), 8)},
        {"GPSLatitudeRef", position.latitude < 0 ? "S" : "N"},
        {"GPSLongitude", fixed(std::abs(position.longitude), 8)},
        {"GPSLongitudeRef", position.longitude < 0 ? "W" : "E"},
    };
    if (position.height) {
        tags.push_back({"GPSAltitude", fixed(std::abs(*position.height), 2)});
        tags.push_back({"GPSAltitudeRef", *position.height < 0 ? "Below Sea Level" : "Above Sea Level"});
    }
    const CivilTime utc = civilTimeOfUtc(*result.photoTime);
    tags.push_back({"GPSDateStamp", padded(utc.year, 4) + ":" + padded(utc.month, 2) + ":" + padded(utc.day, 2)});
    tags.push_back(
        {"GPSTimeStamp", padded(utc.hour, 2) + ":" + padded(utc.minute, 2) + ":" + padded(utc.second, 2)});
    tags.push_back({"GPSVersionID", "2.3.0.0"});
    return tags;
}

std::string trackOutcomeText(const PhotoTrackResult& result)
{
    if (!result.photoTime)
        return kNoPhotoTimeText;
    if (!result.match.position)
        return kNoTrackPositionText;
    return fixed(result.match.position->latitude, 6) + "," + fixed(result.match.position->longitude, 6);
}

std::string trackLogLine(const std::string& path, const PhotoTrackResult& result)
{
    std::string line = path + ";" + trackOutcomeText(result) + ";";
    if (result.photoTime && result.match.nearestSeconds)
        line += fixed(std::round(*result.match.nearestSeconds), 0) + " s";
    return line;
}

}  // namespace vistado
