// Writes the fuzz targets' seed files, built with the tests' builders:
//   fuzz_seeds FOLDER
// makes FOLDER/openimage, FOLDER/writer, FOLDER/iptc, FOLDER/app13writer,
// FOLDER/xmppacket, FOLDER/placereply, FOLDER/gpsbackup, FOLDER/exiftoolreply and FOLDER/track.

#include "geocoderreplies.h"
#include "gpxbuilder.h"
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

// A packet as photo programs write it: a wrapper, several namespaces, a bag, a struct.
constexpr const char* kSeedPacket =
    "<?xpacket begin='\xEF\xBB\xBF' id='W5M0MpCehiHzreSzNTczkc9d'?>\n"
    "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'>"
    "<rdf:Description rdf:about='' xmlns:dc='http://purl.org/dc/elements/1.1/' "
    "xmlns:xmp='http://ns.adobe.com/xap/1.0/' xmlns:Iptc4xmpExt='http://iptc.org/std/Iptc4xmpExt/2008-02-29/' "
    "xmlns:xmpNote='http://ns.adobe.com/xmp/note/' xmp:Rating='3' xmpNote:HasExtendedXMP='0123'>"
    "<dc:subject><rdf:Bag><rdf:li>Alpen</rdf:li><rdf:li>Urlaub</rdf:li></rdf:Bag></dc:subject>"
    "<Iptc4xmpExt:LocationShown><rdf:Bag><rdf:li rdf:parseType='Resource'><Iptc4xmpExt:City>Wien</Iptc4xmpExt:City>"
    "</rdf:li></rdf:Bag></Iptc4xmpExt:LocationShown>"
    "</rdf:Description></rdf:RDF></x:xmpmeta>\n<?xpacket end='w'?>";

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
    // IPTC datasets in the IPTC-NAA tag, as LONG values as editors write them.
    TiffBuilder iptcTiff(false);
    std::string datasets = iptcDataset(2, 90, "Kingston") + iptcDataset(2, 120, "A caption");
    datasets.resize((datasets.size() + 3) / 4 * 4, '\0');
    iptcTiff.addEntry(0, 0x83BB, 4, static_cast<uint32_t>(datasets.size() / 4), datasets);
    writeSeed(folder / "openimage", "iptc.tif", iptcTiff.build());
    writeSeed(folder / "iptc", "seed1", iptc.substr(2));
    writeSeed(folder / "iptc", "seed2", iptcSegmentWith(iptcDataset(2, 20, "Supp, \"Cat\"") + iptcDataset(8, 10, "x")).substr(2));
    writeSeed(folder / "app13writer", "seed1", iptc.substr(4));
    writeSeed(folder / "app13writer", "seed2",
              app13SegmentWith(photoshopResource(0x03ED, std::string(16, '\x01')) +
                               photoshopResource(0x0404, iptcDataset(1, 90, "\x1B%G") + iptcDataset(2, 0, "\x00\x04") +
                                                             iptcDataset(2, 25, "Alpen") + iptcDataset(2, 120, "Text")) +
                               photoshopResource(0x0425, std::string(16, '\0')))
                  .substr(4));
    writeSeed(folder / "app13writer", "seed3", app13SegmentWith(photoshopResource(0x040C, "thumb")).substr(4));
    writeSeed(folder / "xmppacket", "empty", "<x:xmpmeta xmlns:x='adobe:ns:meta/'></x:xmpmeta>");
    writeSeed(folder / "xmppacket", "photo", kSeedPacket);
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
    const double start = 1721037600;
    writeSeed(folder / "track", "segments.gpx",
              gpxDocument({{{start, 48.1, 11.5, 520.5}, {start + 60.25, 48.2, 11.6, {}}}, {{start - 30, -33.9, 151.2, -2}}}));
    writeSeed(folder / "track", "gpx10.gpx",
              "<gpx version=\"1.0\" xmlns=\"http://www.topografix.com/GPX/1/0\"><trk><trkseg>"
              "<trkpt lat=\"48\" lon=\"11\"><ele>1</ele><time>2024-07-15T12:00:00.5+02:00</time></trkpt>"
              "<trkpt lat=\"48.5\" lon=\"-11\"><time>2024-07-15T04:31:00-05:30</time></trkpt>"
              "</trkseg></trk></gpx>");
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
