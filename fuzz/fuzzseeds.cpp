// Writes the fuzz targets' seed files, built with the tests' builders:
//   fuzz_seeds FOLDER
// makes FOLDER/openimage, FOLDER/writer, FOLDER/iptc, FOLDER/placereply,
// FOLDER/gpsbackup and FOLDER/exiftoolreply.

#include "geocoderreplies.h"
#include "jpegbuilder.h"
#include "realjpeg.h"
#include "tiffbuilder.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace vistado::test {
namespace {

void writeSeed(const std::filesystem::path& folder, const std::string& name, const std::string& bytes)
{
    std::filesystem::create_directories(folder);
    std::ofstream(folder / name, std::ios::binary) << bytes;
}

// Camera-like TIFF data: IFD0, Exif with a maker note, GPS.
std::string cameraTiff(bool bigEndian, const std::string& make, const std::string& note)
{
    TiffBuilder tiff(bigEndian);
    const int exif = tiff.addDirectory();
    const int gps = tiff.addDirectory();
    tiff.addAscii(0, 0x010F, make);
    tiff.addAscii(0, 0x0110, "Model 1");
    tiff.addPointer(0, 0x8769, exif);
    tiff.addPointer(0, 0x8825, gps);
    tiff.addRationals(exif, 0x829A, {{1, 60}});
    tiff.addRationals(exif, 0x920A, {{50, 1}});
    tiff.addRationals(exif, 0xA20E, {{1000, 1}});
    tiff.addRationals(exif, 0xA20F, {{1000, 1}});
    tiff.addShorts(exif, 0xA210, {3});
    tiff.addUndefined(exif, 0x9000, "0221");
    tiff.addUndefined(exif, 0x927C, note);
    tiff.addLongs(exif, 0xA002, {3000});
    tiff.addLongs(exif, 0xA003, {2000});
    tiff.addAscii(gps, 1, "N");
    tiff.addRationals(gps, 2, {{48, 1}, {8, 1}, {1375, 100}});
    tiff.addAscii(gps, 3, "E");
    tiff.addRationals(gps, 4, {{11, 1}, {34, 1}, {3405, 100}});
    return tiff.build();
}

std::string canonNote(bool bigEndian)
{
    TiffBuilder note(bigEndian);
    note.addShorts(0, 0x0001, std::vector<uint16_t>(34, 1));
    note.addShorts(0, 0x000F, {8, 257, 769});
    return note.directoryBlock(0, 0);
}

std::string nikonNote(bool bigEndian)
{
    TiffBuilder note(bigEndian);
    note.addAscii(0, 0x0004, "NORMAL");
    note.addRationals(0, 0x0084, {{180, 10}, {700, 10}, {35, 10}, {45, 10}});
    return std::string("Nikon\0\x02\x10\0\0", 10) + (bigEndian ? "MM" : "II") + note.u16(42) + note.u32(8) +
        note.directoryBlock(0, 8);
}

// The pieces of a real JPEG behind its SOI, so that metadata can go in front.
std::string realImageBehindSoi()
{
    return realJpeg(16, 16).substr(2);
}

void imageSeeds(const std::filesystem::path& folder)
{
    const std::string iptc = iptcSegmentWith(iptcDataset(2, 25, "New York") + iptcDataset(2, 25, "Rom") +
                                             iptcDataset(2, 120, "Caption"));
    std::vector<std::string> segments = {jfifSegment(), exifSegment(cameraTiff(false, "Canon", canonNote(false))),
                                         iptc, commentSegment("Meine Notiz")};
    int n = 0;
    for (const auto& front : std::vector<std::vector<std::string>>{
             segments,
             {exifSegment(cameraTiff(true, "NIKON", nikonNote(true))), xmpSegment(), commentSegment("a")},
             {segment(0xE2, "ICC_PROFILE"), xmpSegment(), exifSegment(cameraTiff(true, "Canon", canonNote(false))),
              commentSegment("first"), commentSegment("last")},
             {jfifSegment(), commentSegment("no Exif")},
         }) {
        std::string file = "\xFF\xD8";
        for (const std::string& s : front)
            file += s;
        file += realImageBehindSoi();
        const std::string name = "seed" + std::to_string(++n) + ".jpg";
        writeSeed(folder / "openimage", name, file);
        writeSeed(folder / "writer", name, file);
    }
    writeSeed(folder / "openimage", "seed.tif", cameraTiff(true, "NIKON", nikonNote(false)));
    writeSeed(folder / "iptc", "seed1", iptc.substr(2));
    writeSeed(folder / "iptc", "seed2", iptcSegmentWith(iptcDataset(2, 20, "Supp, \"Cat\"") + iptcDataset(8, 10, "x")).substr(2));
}

void textSeeds(const std::filesystem::path& folder)
{
    writeSeed(folder / "placereply", "several", kReplyOkSeveralResults);
    writeSeed(folder / "placereply", "zero", kReplyZeroResults);
    writeSeed(folder / "placereply", "umlauts", replyOk({"1", "K\xC3\xB6nigsplatz", "M\xC3\xBCnchen", "Bayern", "DE", "80333"}));
    writeSeed(folder / "gpsbackup", "backup.txt",
              "GPS Latitude Ref                : North\r\n"
              "GPS Latitude                    : 48 deg 8' 13.75\" N\r\n"
              "GPS Longitude Ref               : East\r\n"
              "GPS Longitude                   : 11 deg 34' 34.05\" E\r\n");
    // The first byte is the request's number.
    writeSeed(folder / "exiftoolreply", "written", "\x03    1 image files updated\n{ready3}\n");
    writeSeed(folder / "exiftoolreply", "backup", "\x01    1 directories created\n    1 output files created\n{ready1}\n");
    writeSeed(folder / "exiftoolreply", "failed",
              "\x02Error: Not a valid JPG (looks more like a TXT) - ./a.jpg\n    0 image files updated\n"
              "    1 files weren't updated due to errors\n{ready2}\n");
    writeSeed(folder / "exiftoolreply", "read",
              "\x07Warning: [minor] Odd offset - ./a.jpg\n-GPSLatitude=48.1371538888889\n-Comment=a.b {ready7}\n{ready7}\n");
}

}  // namespace
}  // namespace vistado::test

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: fuzz_seeds FOLDER\n";
        return 2;
    }
    vistado::test::imageSeeds(argv[1]);
    vistado::test::textSeeds(argv[1]);
    return 0;
}
