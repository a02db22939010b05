#pragma once

#include <string>
#include <vector>

namespace vistado::test {

// Photos for the commands' tests: real small JPEG images into which ExifTool, as a camera
// or a photo program would, writes Exif data, GPS positions and comments.

struct Photo {
    std::string name;
    std::vector<std::string> tags;  // ExifTool assignments such as -Comment=Urlaub; none: plain JFIF
};

// ExifTool's assignments of a GPS position: latitude and longitude in decimal degrees,
// without sign, and their reference letters.
std::vector<std::string> gpsTags(const std::string& latitude, const std::string& latitudeRef,
                                 const std::string& longitude, const std::string& longitudeRef);
// Exif data without a position (camera make and model).
std::vector<std::string> cameraTags();

// Writes the photos into `folder`, all in one ExifTool run.
void makePhotos(const std::string& folder, const std::vector<Photo>& photos);

// Runs ExifTool on `file` with `arguments` in front of it, and gives what it printed, without
// the last line end.
std::string exifTool(const std::vector<std::string>& arguments, const std::string& file);

// The file's compressed image data and what follows it: everything from its first
// quantisation table (DQT) on.
std::string imageDataPart(const std::string& jpeg);

}  // namespace vistado::test
