#include "meta/imagefiletest.h"

#include "meta/exif/gpsposition.h"
#include "meta/rangeerror.h"
#include "meta/exif/tagnumbers.h"

namespace vistado::test {
namespace {

// Tests that hold in both byte orders.
class ExifWalkTest : public ImageFileTest, public testing::WithParamInterface<bool> {
protected:
    TiffBuilder tiff{GetParam()};

    int count(const std::string& key)
    {
        int n = 0;
        for (const TTagEntry& tag : decoder().tags())
            n += tag.key == key;
        return n;
    }
};

INSTANTIATE_TEST_SUITE_P(ByteOrders, ExifWalkTest, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "Motorola" : "Intel";
                         });

TEST_P(ExifWalkTest, StoresTagsWithTheirValues)
{
    tiff.addAscii(0, kMake, "NIKON");
    tiff.addShorts(0, 0x0112, {6});
    tiff.addRationals(0, 0x011A, {{72, 1}});
    ASSERT_TRUE(openExif(tiff));
    ASSERT_EQ(decoder().tags().size(), 3u);
    const TTagEntry& make = decoder().tags()[0];
    EXPECT_EQ(make.key, "Make");
    EXPECT_EQ(make.text, "NIKON");
    EXPECT_EQ(make.rawBytes, std::string("NIKON\0", 6));
    EXPECT_EQ(make.maxLength, 6);
    EXPECT_EQ(make.valueType, 2);
    EXPECT_EQ(make.tableId, 0);
    EXPECT_EQ(image.exifSection->bytes.substr(static_cast<size_t>(make.rawOffset - 1), 5), "NIKON");
    EXPECT_EQ(value("Orientation"), "CounterClockwise 90°");
    EXPECT_EQ(value("XResolution"), "72.00");
    EXPECT_EQ(decoder().cameraMake, "NIKON");
    EXPECT_EQ(decoder().reportText,
              "\r\nMake = NIKON\r\nOrientation = CounterClockwise 90°\r\nXResolution = 72.00");
}

TEST_P(ExifWalkTest, FirstDirectoryOffsetZeroMeansOffset8)
{
    tiff.addAscii(0, kMake, "Zero");
    tiff.setFirstDirectoryOffset(0);
    ASSERT_TRUE(openExif(tiff));
    EXPECT_EQ(value("Make"), "Zero");
}

TEST_P(ExifWalkTest, EmptyValuesAreSkipped)
{
    tiff.addRawEntry(0, kMake, 2, 0, 0);
    tiff.addRawEntry(0, kModel, 0, 5, 0);
    tiff.addAscii(0, 0x0131, "Software");
    ASSERT_TRUE(openExif(tiff));
    ASSERT_EQ(decoder().tags().size(), 1u);
    EXPECT_EQ(decoder().reportText, "\r\nSoftware = Software");
}

TEST_P(ExifWalkTest, FourBytesInlineFiveBytesByOffset)
{
    tiff.addAscii(0, kMake, "abc");
    tiff.addAscii(0, kModel, "abcd");
    ASSERT_TRUE(openExif(tiff));
    EXPECT_EQ(value("Make"), "abc");
    EXPECT_EQ(value("Model"), "abcd");
    EXPECT_EQ(decoder().tags()[0].rawOffset, 9 + 8 + 2 + 8);  // the value field of entry 1
    EXPECT_EQ(decoder().tags()[1].rawOffset, 9 + 8 + 2 + 24 + 4);  // behind the directory
}

// A text is whole up to its first zero byte; what follows is padding.
TEST_P(ExifWalkTest, TextEndsAtTheFirstZero)
{
    const std::string description(419, 'd');
    tiff.addEntry(0, kMake, 2, 6, std::string("SONY\0\0", 6));
    tiff.addEntry(0, kModel, 2, 8, std::string("ION230\0F", 8));
    tiff.addEntry(0, 0x0131, 2, 3, "xyz");
    tiff.addAscii(0, 0x010E, description);
    tiff.addAscii(0, 0x013B, "Anna\tBen");
    ASSERT_TRUE(openExif(tiff));
    EXPECT_EQ(value("Make"), "SONY");
    EXPECT_EQ(decoder().cameraMake, "SONY");
    EXPECT_EQ(value("Model"), "ION230");
    EXPECT_EQ(value("Software"), "xyz");
    EXPECT_EQ(value("ImageDescription"), description);
    EXPECT_EQ(value("Artist"), "Anna.Ben");
}

TEST_P(ExifWalkTest, UndefinedValuesQuotedUpToZero)
{
    const int exif = tiff.addDirectory();
    tiff.addPointer(0, kExifOffset, exif);
    tiff.addUndefined(exif, 0x9000, "0221");
    tiff.addUndefined(exif, 0xA000, std::string("01\0000", 4));
    tiff.addUndefined(exif, 0x9101, std::string("\x01\x02\x03\x00", 4));
    ASSERT_TRUE(openExif(tiff));
    EXPECT_EQ(value("ExifVersion"), "\"0221\"");
    EXPECT_EQ(decoder().exifVersion, "0221");
    EXPECT_EQ(value("FlashPixVersion"), "\"01\"");
    EXPECT_EQ(value("ComponentsConfiguration"), "YCbCr");
}

TEST_P(ExifWalkTest, PointerLoopsAreWalkedOnce)
{
    const int exif = tiff.addDirectory();
    tiff.addAscii(0, kMake, "Loop");
    tiff.addPointer(0, kExifOffset, exif);
    tiff.addShorts(exif, 0x8827, {200});
    tiff.addPointer(exif, kExifOffset, 0);     // back to IFD0
    tiff.addPointer(exif, 0xA005, exif);       // to itself
    ASSERT_TRUE(openExif(tiff));
    EXPECT_EQ(count("Make"), 1);
    EXPECT_EQ(count("ISOSpeedRatings"), 1);
    EXPECT_EQ(count("ExifOffset"), 2);
    EXPECT_EQ(count("InteroperabilityOffset"), 1);
}

TEST_P(ExifWalkTest, SameGpsDirectoryDecodedOnce)
{
    const int exif = tiff.addDirectory();
    const int gps = tiff.addDirectory();
    tiff.addPointer(0, kGpsInfo, gps);
    tiff.addPointer(0, kExifOffset, exif);
    tiff.addPointer(exif, kGpsInfo, gps);
    tiff.addAscii(gps, 1, "N");
    ASSERT_TRUE(openExif(tiff));
    EXPECT_EQ(count("GPSLatitudeRef"), 1);
    EXPECT_EQ(count("GPSInfo"), 2);
}

TEST_P(ExifWalkTest, BrokenGpsEntryCutsOnlyTheGpsDirectory)
{
    const int gps = tiff.addDirectory();
    tiff.addAscii(0, kMake, "Before");
    tiff.addPointer(0, kGpsInfo, gps);
    tiff.addAscii(0, kModel, "After");
    tiff.addAscii(gps, 1, "S");
    tiff.addRationals(gps, 2, {{33, 1}, {51, 1}, {2442, 100}});
    tiff.addRawEntry(gps, 3, 13, 1, 0);
    tiff.addAscii(gps, 3, "W");
    ASSERT_TRUE(openExif(tiff));
    EXPECT_EQ(image.errorText, "<none>");
    EXPECT_EQ(value("GPSLatitudeRef"), "S");
    EXPECT_EQ(value("GPSLatitude"), "33.856783");
    EXPECT_EQ(value("GPSLongitudeRef"), "");
    EXPECT_EQ(value("Make"), "Before");
    EXPECT_EQ(value("Model"), "After");
}

TEST_P(ExifWalkTest, OffsetsAt2To31AreRangeErrorsBelowThemNot)
{
    const int exif = tiff.addDirectory();
    tiff.addPointer(0, kExifOffset, exif);
    tiff.addAscii(0, kModel, "After");
    tiff.addRawEntry(exif, 0x9286, 7, 100, 0x7FFFFFFF);  // beyond the data: empty
    tiff.addShorts(exif, 0x8827, {100});
    tiff.addRawEntry(exif, 0x829A, 5, 1, 0x80000000);    // 2^31: the rest is cut
    tiff.addShorts(exif, 0xA002, {640});
    ASSERT_TRUE(openExif(tiff));
    EXPECT_EQ(value("UserComment"), "");
    EXPECT_EQ(value("ISOSpeedRatings"), "100");
    EXPECT_EQ(decoder().IndexOfName("ExposureTime"), -1);
    EXPECT_EQ(decoder().imageWidth, 0);
    EXPECT_EQ(value("Model"), "After");
}

TEST_P(ExifWalkTest, UnknownTagsAreReportedNotStored)
{
    const int gps = tiff.addDirectory();
    tiff.addShorts(0, 0xC000, {1});
    tiff.addPointer(0, kGpsInfo, gps);
    tiff.addBytes(gps, 0, {2, 2, 0, 0});
    ASSERT_TRUE(openExif(tiff));
    EXPECT_EQ(decoder().reportText, "\r\nUnknown = 1\r\nGPSInfo = " +
                                         std::to_string(tiff.directoryOffset(gps)) +
                                         "\r\nGPSVersion ID = 2, 2, 0, 0");
    EXPECT_EQ(decoder().tags().size(), 1u);
    EXPECT_EQ(decoder().EntryByName("Unknown").tagId, 0);
}

TEST_P(ExifWalkTest, PickedValuesLastOneWins)
{
    const int exif = tiff.addDirectory();
    tiff.addShorts(0, 0x0100, {4000});
    tiff.addLongs(0, 0x0101, {3000});
    tiff.addAscii(0, 0x0132, "2001:01:01 01:01:01");
    tiff.addPointer(0, kExifOffset, exif);
    tiff.addAscii(exif, 0x9003, "2008:10:22 16:28:39");
    tiff.addAscii(exif, 0x9004, "2008:10:22 16:28:40");
    tiff.addLongs(exif, 0xA002, {640});
    tiff.addShorts(exif, 0xA003, {480});
    tiff.addShorts(exif, 0x9209, {25});
    ASSERT_TRUE(openExif(tiff));
    EXPECT_EQ(decoder().imageWidth, 640);
    EXPECT_EQ(decoder().imageHeight, 480);
    EXPECT_EQ(decoder().photoDate, "2008:10:22 16:28:39");
    EXPECT_EQ(decoder().flashValue, 25);
    EXPECT_EQ(value("Flash"), "On, auto mode");
    const std::string& bytes = image.exifSection->bytes;
    EXPECT_EQ(bytes.substr(static_cast<size_t>(decoder().dateTimePos - 1), 4), "2001");
    EXPECT_EQ(bytes.substr(static_cast<size_t>(decoder().dateTimeOriginalPos - 1), 19), "2008:10:22 16:28:39");
    EXPECT_EQ(bytes.substr(static_cast<size_t>(decoder().dateTimeDigitizedPos - 1), 19), "2008:10:22 16:28:40");
    EXPECT_EQ(read32In(bytes, decoder().widthValuePos, GetParam()), 640u);
}

TEST_P(ExifWalkTest, SameTagTwiceStoresBoth)
{
    tiff.addAscii(0, kMake, "First");
    tiff.addAscii(0, kMake, "Second");
    ASSERT_TRUE(openExif(tiff));
    EXPECT_EQ(count("Make"), 2);
    EXPECT_EQ(value("Make"), "First");
    EXPECT_EQ(decoder().cameraMake, "Second");
}

TEST_P(ExifWalkTest, UserCommentTrimmedWithoutCodePrefix)
{
    const int exif = tiff.addDirectory();
    tiff.addPointer(0, kExifOffset, exif);
    tiff.addUndefined(exif, 0x9286, std::string("ASCII\0\0\0  Urlaub in Rom \0", 26));
    ASSERT_TRUE(openExif(tiff));
    EXPECT_EQ(decoder().userComment, "Urlaub in Rom");
    EXPECT_EQ(value("UserComment"), "Urlaub in Rom");
    EXPECT_EQ(decoder().userCommentLength, 26 - 9);
    EXPECT_EQ(image.exifSection->bytes.substr(static_cast<size_t>(decoder().userCommentPos - 1), 5), "ASCII");
}

TEST_P(ExifWalkTest, FlashThatIsNoIntegerCutsTheExifDirectory)
{
    const int exif = tiff.addDirectory();
    tiff.addPointer(0, kExifOffset, exif);
    tiff.addAscii(0, kModel, "Model");
    tiff.addShorts(exif, 0x8827, {100});
    tiff.addAscii(exif, 0x9209, "bright");
    tiff.addShorts(exif, 0xA002, {640});
    ASSERT_TRUE(openExif(tiff));
    EXPECT_EQ(value("ISOSpeedRatings"), "100");
    EXPECT_EQ(decoder().IndexOfName("Flash"), -1);
    EXPECT_EQ(decoder().imageWidth, 0);
    EXPECT_EQ(value("Model"), "Model");
}

TEST_P(ExifWalkTest, MakerNoteBytesAndPosition)
{
    const int exif = tiff.addDirectory();
    tiff.addPointer(0, kExifOffset, exif);
    tiff.addUndefined(exif, 0x927C, "NoteBytes");
    ASSERT_TRUE(openExif(tiff));
    EXPECT_EQ(decoder().makerNoteBytes, "NoteBytes");
    EXPECT_EQ(image.exifSection->bytes.substr(static_cast<size_t>(decoder().makerNotePos - 1), 9), "NoteBytes");
}

TEST_P(ExifWalkTest, TextRunningPastTheDataFailsItsDirectory)
{
    const int exif = tiff.addDirectory();
    tiff.addPointer(0, kExifOffset, exif);
    tiff.addAscii(0, kModel, "Model");
    tiff.addRawEntry(exif, 0x9003, 2, 20, 60000);
    tiff.addShorts(exif, 0xA002, {640});
    ASSERT_TRUE(openExif(tiff));
    EXPECT_EQ(decoder().imageWidth, 0);
    EXPECT_EQ(value("Model"), "Model");
}

// A GPS directory at 48.5 N, 11.5 E, pointed to from IFD0.
void addGpsDirectory(TiffBuilder& tiff)
{
    const int gps = tiff.addDirectory();
    tiff.addPointer(0, kGpsInfo, gps);
    tiff.addAscii(gps, 0x0001, "N");
    tiff.addRationals(gps, 0x0002, {{48, 1}, {30, 1}, {0, 1}});
    tiff.addAscii(gps, 0x0003, "E");
    tiff.addRationals(gps, 0x0004, {{11, 1}, {30, 1}, {0, 1}});
}

// Decoding only the position stores only the GPS tags, yet reads a file to
// the same end as the whole decode: an IFD0 value that fails the whole read
// fails it too.
TEST_P(ExifWalkTest, PositionOnlyDecodeReadsToTheSameEnd)
{
    enum class Broken { Nothing, FlashNoInteger, TextPastTheData };
    for (const Broken broken : {Broken::Nothing, Broken::FlashNoInteger, Broken::TextPastTheData}) {
        SCOPED_TRACE(static_cast<int>(broken));
        TiffBuilder file(GetParam());
        file.addAscii(0, kMake, "Maker");
        file.addAscii(0, 0x010E, "Urlaub");
        if (broken == Broken::FlashNoInteger)
            file.addAscii(0, 0x9209, "bright");
        if (broken == Broken::TextPastTheData)
            file.addRawEntry(0, 0x0131, 2, 20, 60000);
        addGpsDirectory(file);
        image.decodeSelector = kDecodeAll;
        const bool whole = openExif(file);
        EXPECT_EQ(whole, broken == Broken::Nothing);
        const std::string position = whole ? gpsPositionText(decoder()) : "";
        image.decodeSelector = kDecodePosition;
        EXPECT_EQ(openExif(file), whole);
        if (!whole)
            continue;
        EXPECT_EQ(gpsPositionText(decoder()), position);
        EXPECT_EQ(decoder().cameraMake, "Maker");
        EXPECT_EQ(decoder().IndexOfName("ImageDescription"), -1);
        EXPECT_EQ(decoder().reportText, "");
    }
}

// Writers may point two tags at one value; values that add up to several
// times the segment overlap on purpose, and those beyond are passed over.
TEST_P(ExifWalkTest, ValuesOverlappingBeyondTheSegmentArePassedOver)
{
    tiff.addAscii(0, kMake, "Maker");
    tiff.addUndefined(0, 0xC4A5, std::string(20000, 'x'));
    for (int i = 0; i < 2000; ++i)
        tiff.addRawEntry(0, 0x010E, 2, 40000, 8);
    addGpsDirectory(tiff);
    ASSERT_TRUE(openExif(tiff));
    EXPECT_GE(count("ImageDescription"), 2);
    EXPECT_LT(count("ImageDescription"), 10);
    EXPECT_FALSE(gpsPositionText(decoder()).empty());
}

// Overlapping directories would walk the same entries again and again: the
// walk ends once the entries walked no longer fit the data.
TEST_F(ImageFileTest, OverlappingDirectoriesWalkNoMoreEntriesThanTheDataHolds)
{
    const std::string tiff = overlappingDirectories(200, 15);
    ASSERT_TRUE(open(jpegFile({exifSegment(tiff), scanSegment()})));
    size_t pointers = 0;
    for (const TTagEntry& tag : decoder().tags())
        pointers += tag.tagId == kExifOffset;
    EXPECT_GE(pointers, 150u);
    EXPECT_LE(pointers * 12, tiff.size());
}

TEST_F(ImageFileTest, OversizedDirectoryWalksNothing)
{
    TiffBuilder tiff(false);
    tiff.addAscii(0, kMake, "Maker");
    ASSERT_TRUE(openExif(tiff));
    const size_t before = decoder().tags().size();
    // A count of 0x7FFF at a place inside the segment.
    image.exifDecoder->buffer += std::string("\xFF\x7F", 2);
    const auto start = static_cast<int64_t>(image.exifDecoder->buffer.size()) - 1;
    decoder().WalkDirectory(start, 9, image.exifSection->length - 6, DirectoryKind::Main);
    EXPECT_EQ(image.errorText, "Illegally sized directory");
    EXPECT_EQ(decoder().tags().size(), before);
}

TEST_F(ImageFileTest, RenderOnlyAndStoreOnlyDecodes)
{
    TiffBuilder tiff(true);
    tiff.addAscii(0, kMake, "Maker");
    image.decodeSelector = kDecodeRender;
    ASSERT_TRUE(openExif(tiff));
    EXPECT_TRUE(decoder().tags().empty());
    EXPECT_EQ(decoder().reportText, "\r\nMake = Maker");
    EXPECT_EQ(decoder().cameraMake, "Maker");
    image.decodeSelector = kDecodeStore;
    ASSERT_TRUE(openExif(tiff));
    EXPECT_TRUE(decoder().tags().empty());
    EXPECT_EQ(decoder().reportText, "");
}

TEST_F(ImageFileTest, AddTagRefusesTagNumberZero)
{
    ASSERT_TRUE(open(jpegFile({exifSegment(TiffBuilder(false).build()), scanSegment()})));
    EXPECT_EQ(decoder().AddTag(TTagEntry{}), -1);
    EXPECT_EQ(decoder().AddTag(TTagEntry{.tagId = 5, .key = "Five"}), 0);
    EXPECT_EQ(decoder().AddTag(TTagEntry{}), 0);
    EXPECT_EQ(decoder().tags().size(), 1u);
}

TEST_F(ImageFileTest, VisitedSetPerDecoder)
{
    ASSERT_TRUE(open(jpegFile({exifSegment(TiffBuilder(false).build()), scanSegment()})));
    EXPECT_TRUE(decoder().WasVisited(17, 9));
    EXPECT_FALSE(decoder().WasVisited(9, 17));
    decoder().MarkVisited(100, -7);
    EXPECT_TRUE(decoder().WasVisited(100, -7));
    decoder().ClearVisited();
    EXPECT_FALSE(decoder().WasVisited(17, 9));
}

}  // namespace
}  // namespace vistado::test
