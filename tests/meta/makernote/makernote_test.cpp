// The maker-note decoder on camera files built in code: which layout and table
// each maker's make selects, and what the decode leaves behind.

#include "meta/imagefiletest.h"

#include "meta/makernote/makernote.h"
#include "meta/exif/tagnumbers.h"

#include <functional>
#include <vector>

namespace vistado::test {
namespace {

// Builds a note for the TIFF offset it will lie at, in a byte order.
using NoteMaker = std::function<std::string(uint32_t at, bool bigEndian)>;

struct Camera {
    std::string make;
    std::string model;        // none when empty
    std::string exifVersion;  // none when empty
};

// TIFF data of a camera file: Make and Model in IFD0, then an Exif directory
// holding the Exif version, the maker note and, behind the note, the image
// width (read in the Exif data's byte order again).
std::string cameraTiff(bool bigEndian, const Camera& camera, const NoteMaker& makeNote)
{
    TiffBuilder tiff(bigEndian);
    tiff.addAscii(0, kMake, camera.make);
    if (!camera.model.empty())
        tiff.addAscii(0, kModel, camera.model);
    const int exif = tiff.addDirectory();
    tiff.addPointer(0, kExifOffset, exif);
    uint32_t entries = 2;
    if (!camera.exifVersion.empty()) {
        tiff.addUndefined(exif, kExifVersion, camera.exifVersion);
        ++entries;
    }
    // The note is the directory's only value stored behind it.
    const uint32_t noteAt = tiff.directoryOffset(exif) + 2 + 12 * entries + 4;
    tiff.addUndefined(exif, kMakerNote, makeNote(noteAt, bigEndian));
    tiff.addLongs(exif, kExifImageWidth, {640});
    return tiff.build();
}

// Where the Make text lies in cameraTiff's data: the first value behind IFD0.
uint32_t makeTextOffset(const Camera& camera)
{
    const uint32_t entries = camera.model.empty() ? 2 : 3;
    return 8 + 2 + 12 * entries + 4;
}

std::string withHeader(const std::string& header, const TiffBuilder& note, uint32_t at)
{
    return header + note.directoryBlock(0, at + static_cast<uint32_t>(header.size()));
}

// A note with a TIFF header of its own at byte 10, as newer Nikon cameras
// write it.
std::string nikonFormANote(uint32_t, bool bigEndian)
{
    TiffBuilder note(bigEndian);
    note.addShorts(0, 0x0002, {0, 100});
    note.addAscii(0, 0x0004, "NORMAL");
    return std::string("Nikon\0\x02\x10\0\0", 10) + (bigEndian ? "MM" : "II") + note.u16(42) +
        note.u32(8) + note.directoryBlock(0, 8);
}

std::string nikonHeaderNote(uint32_t at, bool bigEndian)
{
    TiffBuilder note(bigEndian);
    note.addAscii(0, 0x0002, "08.00");
    note.addShorts(0, 0x0003, {12});
    return withHeader(std::string("Nikon\0\x01\0", 8), note, at);
}

std::string nikonPlainNote(uint32_t at, bool bigEndian)
{
    TiffBuilder note(bigEndian);
    note.addShorts(0, 0x0002, {0, 100});
    note.addAscii(0, 0x0004, "NORMAL");
    return note.directoryBlock(0, at);
}

std::string olympusNote(uint32_t at, bool bigEndian)
{
    TiffBuilder note(bigEndian);
    note.addShorts(0, 0x0201, {2});
    note.addAscii(0, 0x0207, "SR874");
    return withHeader(std::string("OLYMP\0\x01\0", 8), note, at);
}

std::string casioQvcNote(uint32_t at, bool bigEndian)
{
    TiffBuilder note(bigEndian);
    note.addShorts(0, 0x3002, {3});
    note.addAscii(0, 0x3006, "Europe");
    return withHeader(std::string("QVC\0\0\0", 6), note, at);
}

std::string casioNote(uint32_t at, bool bigEndian)
{
    TiffBuilder note(bigEndian);
    note.addShorts(0, 0x0002, {3});
    note.addRationals(0, 0x0006, {{2500, 1}});
    return note.directoryBlock(0, at);
}

// Little-endian whatever the Exif data's order; offsets count from the note's
// first byte.
std::string fujiNote(uint32_t, bool)
{
    TiffBuilder note(false);
    note.addAscii(0, 0x1000, "NORMAL ");
    note.addShorts(0, 0x1001, {3});
    return "FUJIFILM" + note.u32(12) + note.directoryBlock(0, 12);
}

std::string canonNote(uint32_t at, bool bigEndian)
{
    TiffBuilder note(bigEndian);
    note.addAscii(0, 0x0007, "Firmware Version 1.10");
    note.addLongs(0, 0x0008, {1171771});
    return note.directoryBlock(0, at);
}

std::string epsonNote(uint32_t at, bool bigEndian)
{
    TiffBuilder note(bigEndian);
    note.addShorts(0, 0x0201, {2});
    note.addShorts(0, 0x0203, {7});  // "Skip"
    note.addAscii(0, 0x0209, "EPSON CAMERA");
    note.addShorts(0, 0x0F00, {8});  // "skip"
    return withHeader(std::string("EPSON\0\x01\0", 8), note, at);
}

std::string sanyoNote(uint32_t at, bool bigEndian)
{
    TiffBuilder note(bigEndian);
    note.addLongs(0, 0x0200, {0, 1, 2});
    note.addShorts(0, 0x0201, {2});
    return withHeader(std::string("SANYO\0\x01\0", 8), note, at);
}

std::string minoltaNote(uint32_t at, bool bigEndian)
{
    TiffBuilder note(bigEndian);
    note.addAscii(0, 0x0000, "DiMAGE");
    note.addUndefined(0, 0x0E00, std::string("PrintIM\0" "0300", 12));
    return note.directoryBlock(0, at);
}

struct Expected {
    const char* key;
    const char* text;
};

struct LayoutCase {
    const char* name;
    Camera camera;
    NoteMaker note;
    std::vector<Expected> tags;  // maker-note tags and their stored texts
    const char* report;
};

const std::vector<LayoutCase>& layoutCases()
{
    static const std::vector<LayoutCase> cases = {
        {"NikonTiffHeader", {"NIKON", "COOLPIX P1", "0220"}, nikonFormANote,
         {{"ISOSpeed", "0, 100"}, {"Quality", "\"NORMAL\""}},
         "\r\nISO Speed = 0, 100\r\nQuality = \"NORMAL\""},
        {"NikonHeader", {"NIKON", "E950", "0210"}, nikonHeaderNote,
         {{"FamilyID", "\"08.00\""}, {"Quality", "2 Mpixel Fine"}},
         "\r\nFamilyID = \"08.00\"\r\nQuality = 2 Mpixel Fine"},
        {"NikonHeaderless", {"NIKON CORPORATION", "NIKON D1", "0210"}, nikonPlainNote,
         {{"ISOSpeed", "0, 100"}, {"Quality", "\"NORMAL\""}},
         "\r\nISO Speed = 0, 100\r\nQuality = \"NORMAL\""},
        {"Olympus", {"OLYMPUS OPTICAL CO.,LTD", "C960Z", "0210"}, olympusNote,
         {{"JpegQual", "HQ"}, {"Firmware", "\"SR874\""}},
         "\r\nJpegQual = HQ\r\nFirmware = \"SR874\""},
        {"CasioQvc", {"CASIO COMPUTER CO.,LTD.", "EX-Z750", "0221"}, casioQvcNote,
         {{"Quality", "Fine"}, {"TimeZone", "\"Europe\""}},
         "\r\nQuality = Fine\r\nTime Zone = \"Europe\""},
        {"Casio", {"CASIO", "QV-3000EX", "0210"}, casioNote,
         {{"Quality", "Fine"}, {"ObjectDistance", "2500/1"}},
         "\r\nQuality = Fine\r\nObjectDistance = 2500/1"},
        {"Fuji", {"FUJIFILM", "FinePix E500", "0220"}, fujiNote,
         {{"Quality", "\"NORMAL \""}, {"Sharpness", "Normal"}},
         "\r\nQuality = \"NORMAL \"\r\nSharpness = Normal"},
        {"Canon", {"Canon", "Canon PowerShot S40", "0220"}, canonNote,
         {{"FirmwareVersion", "\"Firmware Version 1.10\""}, {"ImageNumber", "1171771"}},
         "\r\nFirmwareVersion = \"Firmware Version 1.10\"\r\nImageNumber = 1171771"},
        {"Epson", {"SEIKO EPSON CORP.", "PhotoPC 3000Z", "0210"}, epsonNote,
         {{"JpegQuality", "2"}, {"CameraID", "\"EPSON CAMERA\""}},
         "\r\nJpegQuality = 2\r\nCameraID = \"EPSON CAMERA\""},
        {"Sanyo", {"SANYO Electric Co.,Ltd.", "SR6", "0200"}, sanyoNote,
         {{"Special Mode", "0, 1, 2"}, {"JpegQuality", "2"}},
         "\r\nSpecial Mode = 0, 1, 2\r\nJpegQuality = 2"},
        {"Minolta", {"Minolta Co., Ltd.", "DiMAGE 7", "0220"}, minoltaNote,
         {{"PIMdata", "\"PrintIM.0300\""}},
         "\r\nModelID = \"DiMAGE\"\r\nPIMdata = \"PrintIM.0300\""},
    };
    return cases;
}

class MakerNoteTest : public ImageFileTest {
protected:
    bool openCamera(bool bigEndian, const Camera& camera, const NoteMaker& note,
                    const std::string& name = "image.jpg")
    {
        const std::string tiff = cameraTiff(bigEndian, camera, note);
        if (name.ends_with(".jpg"))
            return open(jpegFile({exifSegment(tiff), quantTableSegment(), scanSegment()}), name);
        return open(tiff, name);
    }

    // What the walk hands back as its error text, which the read does not
    // keep: the note decoded once more on its own.
    std::string walkError()
    {
        MakerNote note = decoder().makerNote();
        TmsInfo again(decoder().readingTiff, note);
        again.DecodeMakerNote(note);
        return note.errorText;
    }

    std::vector<const TTagEntry*> makerTags()
    {
        std::vector<const TTagEntry*> found;
        for (const TTagEntry& tag : decoder().tags())
            if (tag.tableId == 1)
                found.push_back(&tag);
        return found;
    }
};

TEST_F(MakerNoteTest, EachMakeSelectsItsLayoutAndTable)
{
    for (const LayoutCase& c : layoutCases()) {
        for (const bool bigEndian : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (bigEndian ? " Motorola" : " Intel"));
            ASSERT_TRUE(openCamera(bigEndian, c.camera, c.note));
            EXPECT_TRUE(decoder().makerNoteDecoded);
            EXPECT_EQ(decoder().makerNoteReport(), c.report);
            ASSERT_EQ(makerTags().size(), c.tags.size());
            for (const Expected& tag : c.tags)
                EXPECT_EQ(value(tag.key), tag.text) << tag.key;
            EXPECT_EQ(decoder().imageWidth, 640);
            EXPECT_EQ(decoder().bigEndian, bigEndian);
            EXPECT_EQ(walkError(), "");
        }
    }
}

// The same file read as a TIFF file, where the Exif data's offsets count from
// the file's first byte rather than from behind a JPEG segment's header.
TEST_F(MakerNoteTest, TiffFilesTakeTheSameLayouts)
{
    for (const LayoutCase& c : layoutCases()) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(openCamera(true, c.camera, c.note, "image.tif"));
        EXPECT_EQ(decoder().makerNoteReport(), c.report);
        for (const Expected& tag : c.tags)
            EXPECT_EQ(value(tag.key), tag.text) << tag.key;
        EXPECT_EQ(walkError(), "");
    }
}

// The newer Olympus note: "OLYMPUS\0", a byte-order mark and a version, the
// directory at byte 12, offsets counted from the note's first byte.
std::string olympusNewNote(uint32_t, bool bigEndian)
{
    TiffBuilder note(bigEndian);
    note.addShorts(0, 0x0201, {3});
    note.addAscii(0, 0x0207, "D4303");
    return std::string("OLYMPUS\0", 8) + (bigEndian ? "MM" : "II") + std::string("\x03\x00", 2) +
        note.directoryBlock(0, 12);
}

// A note in the other byte order than the Exif data around it.
NoteMaker swapped(NoteMaker makeNote)
{
    return [makeNote](uint32_t at, bool bigEndian) { return makeNote(at, !bigEndian); };
}

// Notes in a byte order of their own: stated by their own header, or, for a
// note without one, the only order in which its entry count fits.
TEST_F(MakerNoteTest, NotesAreReadInTheirOwnByteOrder)
{
    const LayoutCase cases[] = {
        {"Nikon TIFF header", {"NIKON", "COOLPIX P1", "0220"}, swapped(nikonFormANote),
         {{"ISOSpeed", "0, 100"}, {"Quality", "\"NORMAL\""}}, ""},
        {"Canon without header", {"Canon", "Canon PowerShot S40", "0220"}, swapped(canonNote),
         {{"FirmwareVersion", "\"Firmware Version 1.10\""}, {"ImageNumber", "1171771"}}, ""},
        {"Olympus since 2004", {"OLYMPUS IMAGING CORP.", "E-500", "0221"}, olympusNewNote,
         {{"JpegQual", "SHQ"}, {"Firmware", "\"D4303\""}}, ""},
        {"Olympus since 2004, other order", {"OLYMPUS IMAGING CORP.", "E-500", "0221"}, swapped(olympusNewNote),
         {{"JpegQual", "SHQ"}, {"Firmware", "\"D4303\""}}, ""},
    };
    for (const LayoutCase& c : cases) {
        for (const bool bigEndian : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (bigEndian ? " in Motorola" : " in Intel"));
            ASSERT_TRUE(openCamera(bigEndian, c.camera, c.note));
            ASSERT_EQ(makerTags().size(), c.tags.size());
            for (const Expected& tag : c.tags)
                EXPECT_EQ(value(tag.key), tag.text) << tag.key;
            EXPECT_EQ(decoder().bigEndian, bigEndian);
            EXPECT_EQ(decoder().imageWidth, 640);
        }
    }
}

struct MovedCase {
    const char* name;
    int32_t writtenAt;  // where the note's offsets say it stands, from where it does
    bool trailer;       // ends with the trailer naming that place
    const char* firmware;
};

// Editors move a note without mending its offsets. A trailer naming the old
// place corrects them; without one, values that cannot be where the offsets
// say are left out, and the values held in the entries stay.
TEST_F(MakerNoteTest, MovedNoteYieldsNoInventedValues)
{
    const MovedCase cases[] = {
        {"not moved", 0, false, "\"Firmware Version 1.10\""},
        {"not moved, with trailer", 0, true, "\"Firmware Version 1.10\""},
        {"moved, trailer names the old place", 300, true, "\"Firmware Version 1.10\""},
        {"moved back, trailer names the old place", -20, true, "\"Firmware Version 1.10\""},
        {"moved, values would lie in its own directory", -20, false, ""},
        {"moved, values would lie beyond the Exif data", 5000, false, ""},
    };
    for (const MovedCase& c : cases) {
        for (const bool bigEndian : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (bigEndian ? " in Motorola" : " in Intel"));
            const NoteMaker note = [&c](uint32_t at, bool motorola) {
                TiffBuilder tiff(motorola);
                tiff.addAscii(0, 0x0007, "Firmware Version 1.10");
                tiff.addLongs(0, 0x0008, {1171771});
                const uint32_t writtenAt = at + static_cast<uint32_t>(c.writtenAt);
                std::string bytes = tiff.directoryBlock(0, writtenAt);
                if (c.trailer)
                    bytes += (motorola ? std::string("MM\0*", 4) : std::string("II*\0", 4)) + tiff.u32(writtenAt);
                return bytes;
            };
            ASSERT_TRUE(openCamera(bigEndian, {"Canon", "Canon EOS 40D", "0221"}, note));
            EXPECT_EQ(value("FirmwareVersion"), c.firmware);
            EXPECT_EQ(value("ImageNumber"), "1171771");
        }
    }
}

struct FormACase {
    const char* exifVersion;
    const char* model;
    const char* file;
    bool formA;
};

// Newer Nikon notes carry a TIFF header of their own; the decoder knows them
// by the Exif version, or in a TIFF file without one by a D-series model.
TEST_F(MakerNoteTest, NikonTiffHeaderFormByVersionAndModel)
{
    const FormACase cases[] = {
        {"0220", "COOLPIX P1", "image.jpg", true},
        {"0221", "COOLPIX P1", "image.jpg", true},
        {"0230", "Z 6", "image.jpg", true},
        {"0210", "E950", "image.jpg", false},
        {"0200", "E950", "image.jpg", false},
        {"021", "E950", "image.jpg", false},
        {"", "NIKON D70", "image.jpg", false},
        {"", "NIKON D70", "image.nef", true},
        {"", "D1X", "image.nef", true},
        {"", "NIKON E5700", "image.nef", false},
        {"", "NIKON ", "image.nef", false},
        {"", "", "image.nef", false},
        {"0220", "NIKON E5700", "image.nef", true},
    };
    for (const FormACase& c : cases) {
        SCOPED_TRACE(std::string(c.exifVersion) + " " + c.model + " " + c.file);
        ASSERT_TRUE(openCamera(false, {"NIKON", c.model, c.exifVersion}, nikonFormANote, c.file));
        EXPECT_TRUE(decoder().makerNoteDecoded);
        if (c.formA) {
            EXPECT_EQ(value("Quality"), "\"NORMAL\"");
        } else {
            // Read in the "Nikon" header form, the header's zero bytes 8 and 9
            // count no entries.
            EXPECT_EQ(decoder().makerNoteReport(), "");
            EXPECT_EQ(decoder().IndexOfName("Quality"), -1);
        }
        EXPECT_EQ(walkError(), "");
    }
}

TEST_F(MakerNoteTest, UnknownMakesWalkNothing)
{
    for (const char* make : {"KONICA MINOLTA", " NIKON", "PENTAX Corporation", "NIKO", ""}) {
        SCOPED_TRACE(make);
        ASSERT_TRUE(openCamera(false, {make, "", "0220"}, canonNote));
        EXPECT_FALSE(decoder().makerNoteDecoded);
        EXPECT_EQ(decoder().makerNoteReport(), "");
        EXPECT_TRUE(makerTags().empty());
    }
    ASSERT_TRUE(openCamera(false, {"canon inc.", "", "0220"}, canonNote));
    EXPECT_TRUE(decoder().makerNoteDecoded);
}

// Fuji notes are little-endian inside Exif data of either order; the Exif
// data's order holds again behind the note, also when the note is broken.
TEST_F(MakerNoteTest, FujiByteOrderIsRestored)
{
    const Camera fuji{"FUJIFILM", "FinePix E500", "0220"};
    ASSERT_TRUE(openCamera(true, fuji, fujiNote));
    EXPECT_EQ(value("Sharpness"), "Normal");
    EXPECT_TRUE(decoder().bigEndian);
    EXPECT_EQ(decoder().imageWidth, 640);

    const NoteMaker broken = [](uint32_t, bool) {
        return std::string("FUJIFILM\x0c\0\0\0\xff\xff", 14) + std::string(20, '\0');
    };
    ASSERT_TRUE(openCamera(true, fuji, broken));
    EXPECT_TRUE(decoder().makerNoteDecoded);
    EXPECT_TRUE(decoder().bigEndian);
    EXPECT_EQ(decoder().imageWidth, 640);
    EXPECT_EQ(value("ExifImageWidth"), "640");
    EXPECT_TRUE(walkError().starts_with("Error Detected = ")) << image.errorText;
    EXPECT_TRUE(decoder().bigEndian);
}

// A value whose offset leads out of the note is read from the Exif data at
// the place the offset designates: here the Make text of IFD0.
TEST_F(MakerNoteTest, ValueBeyondTheNoteIsReadFromTheExifData)
{
    const Camera canon{"Canon", "", "0220"};
    const NoteMaker note = [&canon](uint32_t at, bool bigEndian) {
        TiffBuilder tiff(bigEndian);
        tiff.addRawEntry(0, 0x0009, 2, 6, makeTextOffset(canon));
        return tiff.directoryBlock(0, at);
    };
    for (const char* file : {"image.jpg", "image.tif"}) {
        for (const bool bigEndian : {false, true}) {
            SCOPED_TRACE(std::string(file) + (bigEndian ? " Motorola" : " Intel"));
            ASSERT_TRUE(openCamera(bigEndian, canon, note, file));
            EXPECT_EQ(value("OwnerName"), "\"Canon\"");
        }
    }
}

TEST_F(MakerNoteTest, SkipRowsAreIgnoredInAnyLetterCase)
{
    ASSERT_TRUE(openCamera(false, {"SEIKO EPSON CORP.", "", "0210"}, epsonNote));
    EXPECT_EQ(decoder().makerNoteReport(), "\r\nJpegQuality = 2\r\nCameraID = \"EPSON CAMERA\"");
    ASSERT_EQ(makerTags().size(), 2u);
    for (const TTagEntry* tag : makerTags())
        EXPECT_NE(tag->tagId, 0x0203);
}

// The decoder itself: its fields after a decode, and no current image left
// behind for a formatter to reach.
TEST_F(MakerNoteTest, DecoderFields)
{
    ASSERT_TRUE(openCamera(false, {"Minolta Co., Ltd.", "", "0220"}, minoltaNote));
    MakerNote note = decoder().makerNote();
    TmsInfo known(false, note);
    EXPECT_EQ(known.notePos, decoder().makerNotePos);
    EXPECT_TRUE(known.DecodeMakerNote(note));
    EXPECT_EQ(known.makeText, "Minolta Co., Ltd.");
    EXPECT_EQ(known.notePos, decoder().makerNotePos);
    EXPECT_EQ(currentMakerNote(), nullptr);

    note.cameraMake = "KONICA MINOLTA";
    TmsInfo fromTiff(true, note);
    EXPECT_FALSE(fromTiff.DecodeMakerNote(note));
    EXPECT_EQ(fromTiff.makeText, "");
    EXPECT_EQ(fromTiff.notePos, decoder().makerNotePos + 16);
}

// A Canon note: the camera settings, shot information and custom functions
// split into labelled lines and derived entries found by name.
TEST_F(MakerNoteTest, CanonDerivedEntries)
{
    const NoteMaker note = [](uint32_t at, bool bigEndian) {
        TiffBuilder tiff(bigEndian);
        std::vector<uint16_t> settings(34, 0);
        settings[0] = 68;
        settings[1] = 1;      // Macro mode, and Self Timer (same field)
        settings[3] = 4;      // Compression Rate: not in its map
        settings[5] = 1;      // Drive Mode
        settings[7] = 2;      // Focus Mode
        settings[17] = 3;     // Metering Mode
        settings[19] = 12289;  // AF Point
        settings[32] = 1;     // the second Focus Mode
        tiff.addShorts(0, 0x0001, settings);
        std::vector<uint16_t> shot(19, 0);
        shot[7] = 2;
        shot[15] = 65504;
        tiff.addShorts(0, 0x0004, shot);
        tiff.addShorts(0, 0x000F, {8, 257, 3585});
        return tiff.directoryBlock(0, at);
    };
    ASSERT_TRUE(openCamera(false, {"Canon", "Canon EOS 10D", "0221"}, note));
    EXPECT_EQ(value("Macro mode"), "Macro");
    EXPECT_EQ(value("Self Timer"), " 1");
    EXPECT_EQ(value("Drive Mode"), "Continuous");
    EXPECT_EQ(value("Focus Mode"), "AI Focus");  // the first of the two
    EXPECT_EQ(value("Metering Mode"), "Evaluative");
    EXPECT_EQ(value("AF Point"), "Auto AF point selection");
    EXPECT_EQ(value("White balance"), "Cloudy");
    EXPECT_EQ(value("Flash bias"), "-1 EV");
    EXPECT_EQ(value("Noise Reduction"), " On");
    EXPECT_EQ(value("Superimposed Display"), " Off");
    EXPECT_EQ(decoder().IndexOfName("Compression Rate"), -1);
    EXPECT_EQ(value("ExposureInfo1").substr(0, 12), "68, 1, 0, 4,");
    EXPECT_EQ(value("CustomFunctions"), "8, 257, 3585");

    const TTagEntry derived = decoder().EntryByName("macro MODE");
    EXPECT_EQ(derived.tagId, kDerivedTagId);
    EXPECT_EQ(derived.tableId, 1);
    EXPECT_EQ(derived.valueType, 2);
    EXPECT_EQ(derived.caption, "Macro mode");
    EXPECT_LT(decoder().IndexOfName("Macro mode"), decoder().IndexOfName("ExposureInfo1"));

    const std::string& report = decoder().makerNoteReport();
    EXPECT_TRUE(report.starts_with("\r\nMacro mode = Macro\r\nSelf Timer =  1\r\nFlash Mode = Not fired"))
        << report;
    EXPECT_NE(report.find("\r\nFocus Mode = Continuous\r\nExposureInfo1 = 68, 1, 0, 4, 0, 1,"),
              std::string::npos);
    EXPECT_NE(report.find("\r\nNoise Reduction =  On\r\nSuperimposed Display =  Off"
                          "\r\nCustomFunctions = 8, 257, 3585"),
              std::string::npos);
}

// A custom-functions value of 30,000 fields (an ASCII text, so no value
// count caps it) is read as far as any camera's list goes.
TEST_F(MakerNoteTest, LongCanonListReadsAsFarAsACameraWrites)
{
    std::string list = "8";
    for (int i = 0; i < 30000; ++i)
        list += i < 100 ? ",769" : ",1";
    const NoteMaker note = [&list](uint32_t at, bool bigEndian) {
        TiffBuilder tiff(bigEndian);
        tiff.addAscii(0, 0x000F, list);
        return tiff.directoryBlock(0, at);
    };
    ASSERT_TRUE(openCamera(false, {"Canon", "Canon EOS 10D", "0221"}, note));
    EXPECT_EQ(value("Mirror Lockup"), "Enable");
    size_t lines = 0;
    for (size_t at = decoder().makerNoteReport().find("Mirror Lockup"); at != std::string::npos;
         at = decoder().makerNoteReport().find("Mirror Lockup", at + 1))
        ++lines;
    EXPECT_EQ(lines, 100u);
}

// Cameras write each tag once: a note repeating one (thousands of times, to
// make every formatter's lines thousands of times) yields it once.
TEST_F(MakerNoteTest, RepeatedTagInANoteIsTakenOnce)
{
    const NoteMaker note = [](uint32_t at, bool bigEndian) {
        TiffBuilder tiff(bigEndian);
        tiff.addShorts(0, 0x000F, {8, 769});
        for (uint32_t number : {1171771u, 42u, 43u})
            tiff.addLongs(0, 0x0008, {number});
        return tiff.directoryBlock(0, at);
    };
    ASSERT_TRUE(openCamera(false, {"Canon", "Canon EOS 10D", "0221"}, note));
    EXPECT_EQ(makerTags().size(), 3u);  // the list, its one derived line, the number
    EXPECT_EQ(value("ImageNumber"), "1171771");
}

}  // namespace
}  // namespace vistado::test
