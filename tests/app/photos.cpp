#include "photos.h"

#include "realjpeg.h"
#include "runprogram.h"
#include "testfiles.h"

#include <cstdio>
#include <stdexcept>

namespace vistado::test {

std::vector<std::string> gpsTags(const std::string& latitude, const std::string& latitudeRef,
                                 const std::string& longitude, const std::string& longitudeRef)
{
    return {"-GPSLatitude=" + latitude, "-GPSLatitudeRef=" + latitudeRef, "-GPSLongitude=" + longitude,
            "-GPSLongitudeRef=" + longitudeRef};
}

std::vector<std::string> cameraTags()
{
    return {"-Make=Vistado", "-Model=Testkamera"};
}

void makePhotos(const std::string& folder, const std::vector<Photo>& photos)
{
    // One ExifTool run for all photos: its start-up costs more than the writing.
    std::string argumentFile;
    for (const Photo& photo : photos) {
        const std::string path = folder + "/" + photo.name;
        writeFile(path, realJpeg(32, 24));
        if (photo.tags.empty())
            continue;
        argumentFile += "-overwrite_original\n";
        for (const std::string& tag : photo.tags)
            argumentFile += tag + "\n";
        argumentFile += path + "\n-execute\n";
    }
    if (argumentFile.empty())
        return;
    const std::string arguments = folder + "/.exiftool-arguments";
    writeFile(arguments, argumentFile);
    const auto result = runProgram({"exiftool", "-@", arguments});
    std::remove(arguments.c_str());
    if (result.exitStatus != 0)
        throw std::runtime_error("exiftool: " + result.err);
}

std::string exifTool(const std::vector<std::string>& arguments, const std::string& file)
{
    std::vector<std::string> command{"exiftool"};
    command.insert(command.end(), arguments.begin(), arguments.end());
    command.push_back("--");
    command.push_back(file);
    std::string out = runProgram(command).out;
    if (!out.empty() && out.back() == '\n')
        out.pop_back();
    return out;
}

std::string imageDataPart(const std::string& jpeg)
{
    const std::size_t tables = jpeg.find("\xFF\xDB");
    if (tables == std::string::npos)
        throw std::runtime_error("no quantisation table");
    return jpeg.substr(tables);
}

}  // namespace vistado::test
