#include "imagefiletest.h"

#include "meta/rangeerror.h"
#include "meta/tagnumbers.h"

namespace vistado::test {
namespace {

// Tests that hold in both byte orders.
class ExifWalkTest : public ImageFileTest, public testing::WithParamInterface<bool> {
protected:
    TTiffBuilder tiff{GetParam()};

    int Count(const std::string& key)
    {
        int n = 0;
        for (const TTagEntry& tag : Decoder().tags)
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
    tiff.AddAscii(0, kMake, "NIKON");
    tiff.AddShorts(0, 0x0112, {6});
    tiff.AddRationals(0, 0x011A, {{72, 1}});
    ASSERT_TRUE(OpenExif(tiff));
    ASSERT_EQ(Decoder().tags.size(), 3u);
    const TTagEntry& make = Decoder().tags[0];
    EXPECT_EQ(make.key, "Make");
    EXPECT_EQ(make.text, "NIKON");
    EXPECT_EQ(make.rawBytes, std::string("NIKON\0", 6));
    EXPECT_EQ(make.maxLength, 6);
    EXPECT_EQ(make.valueType, 2);
    EXPECT_EQ(make.tableId, 0);
    EXPECT_EQ(image.exifSection->bytes.substr(static_cast<size_t>(make.rawOffset - 1), 5), "NIKON");
    EXPECT_EQ(Value("Orientation"), "CounterClockwise 90°");
    EXPECT_EQ(Value("XResolution"), "72.00");
    EXPECT_EQ(Decoder().cameraMake, "NIKON");
    EXPECT_EQ(Decoder().reportText,
              "\r\nMake = NIKON\r\nOrientation = CounterClockwise 90°\r\nXResolution = 72.00");
}

TEST_P(ExifWalkTest, FirstDirectoryOffsetZeroMeansOffset8)
{
    tiff.AddAscii(0, kMake, "Zero");
    tiff.SetFirstDirectoryOffset(0);
    ASSERT_TRUE(OpenExif(tiff));
    EXPECT_EQ(Value("Make"), "Zero");
}

TEST_P(ExifWalkTest, EmptyValuesAreSkipped)
{
    tiff.AddRawEntry(0, kMake, 2, 0, 0);
    tiff.AddRawEntry(0, kModel, 0, 5, 0);
    tiff.AddAscii(0, 0x0131, "Software");
    ASSERT_TRUE(OpenExif(tiff));
    ASSERT_EQ(Decoder().tags.size(), 1u);
    EXPECT_EQ(Decoder().reportText, "\r\nSoftware = Software");
}

TEST_P(ExifWalkTest, FourBytesInlineFiveBytesByOffset)
{
    tiff.AddAscii(0, kMake, "abc");
    tiff.AddAscii(0, kModel, "abcd");
    ASSERT_TRUE(OpenExif(tiff));
    EXPECT_EQ(Value("Make"), "abc");
    EXPECT_EQ(Value("Model"), "abcd");
    EXPECT_EQ(Decoder().tags[0].rawOffset, 9 + 8 + 2 + 8);  // the value field of entry 1
    EXPECT_EQ(Decoder().tags[1].rawOffset, 9 + 8 + 2 + 24 + 4);  // behind the directory
}

TEST_P(ExifWalkTest, TextDropsOneTrailingZero)
{
    tiff.AddEntry(0, kMake, 2, 2, std::string("A\0", 2));
    tiff.AddEntry(0, kModel, 2, 8, std::string("ABCDE\0\0\0", 8));
    tiff.AddEntry(0, 0x0131, 2, 3, "xyz");
    ASSERT_TRUE(OpenExif(tiff));
    EXPECT_EQ(Value("Make"), "A");
    EXPECT_EQ(Value("Model"), "ABCDE..");
    EXPECT_EQ(Value("Software"), "xyz");
}

TEST_P(ExifWalkTest, UndefinedValuesQuotedUpToZero)
{
    const int exif = tiff.AddDirectory();
    tiff.AddPointer(0, kExifOffset, exif);
    tiff.AddUndefined(exif, 0x9000, "0221");
    tiff.AddUndefined(exif, 0xA000, std::string("01\0000", 4));
    tiff.AddUndefined(exif, 0x9101, std::string("\x01\x02\x03\x00", 4));
    ASSERT_TRUE(OpenExif(tiff));
    EXPECT_EQ(Value("ExifVersion"), "\"0221\"");
    EXPECT_EQ(Decoder().exifVersion, "0221");
    EXPECT_EQ(Value("FlashPixVersion"), "\"01\"");
    EXPECT_EQ(Value("ComponentsConfiguration"), "YCbCr");
}

TEST_P(ExifWalkTest, PointerLoopsAreWalkedOnce)
{
    const int exif = tiff.AddDirectory();
    tiff.AddAscii(0, kMake, "Loop");
    tiff.AddPointer(0, kExifOffset, exif);
    tiff.AddShorts(exif, 0x8827, {200});
    tiff.AddPointer(exif, kExifOffset, 0);     // back to IFD0
    tiff.AddPointer(exif, 0xA005, exif);       // to itself
    ASSERT_TRUE(OpenExif(tiff));
    EXPECT_EQ(Count("Make"), 1);
    EXPECT_EQ(Count("ISOSpeedRatings"), 1);
    EXPECT_EQ(Count("ExifOffset"), 2);
    EXPECT_EQ(Count("InteroperabilityOffset"), 1);
}

TEST_P(ExifWalkTest, SameGpsDirectoryDecodedOnce)
{
    const int exif = tiff.AddDirectory();
    const int gps = tiff.AddDirectory();
    tiff.AddPointer(0, kGpsInfo, gps);
    tiff.AddPointer(0, kExifOffset, exif);
    tiff.AddPointer(exif, kGpsInfo, gps);
    tiff.AddAscii(gps, 1, "N");
    ASSERT_TRUE(OpenExif(tiff));
    EXPECT_EQ(Count("GPSLatitudeRef"), 1);
    EXPECT_EQ(Count("GPSInfo"), 2);
}

TEST_P(ExifWalkTest, BrokenGpsEntryCutsOnlyTheGpsDirectory)
{
    const int gps = tiff.AddDirectory();
    tiff.AddAscii(0, kMake, "Before");
    tiff.AddPointer(0, kGpsInfo, gps);
    tiff.AddAscii(0, kModel, "After");
    tiff.AddAscii(gps, 1, "S");
    tiff.AddRationals(gps, 2, {{33, 1}, {51, 1}, {2442, 100}});
    tiff.AddRawEntry(gps, 3, 13, 1, 0);
    tiff.AddAscii(gps, 3, "W");
    ASSERT_TRUE(OpenExif(tiff));
    EXPECT_EQ(image.errorText, "<none>");
    EXPECT_EQ(Value("GPSLatitudeRef"), "S");
    EXPECT_EQ(Value("GPSLatitude"), "33.856783");
    EXPECT_EQ(Value("GPSLongitudeRef"), "");
    EXPECT_EQ(Value("Make"), "Before");
    EXPECT_EQ(Value("Model"), "After");
}

TEST_P(ExifWalkTest, OffsetsAt2To31AreRangeErrorsBelowThemNot)
{
    const int exif = tiff.AddDirectory();
    tiff.AddPointer(0, kExifOffset, exif);
    tiff.AddAscii(0, kModel, "After");
    tiff.AddRawEntry(exif, 0x9286, 7, 100, 0x7FFFFFFF);  // beyond the data: empty
    tiff.AddShorts(exif, 0x8827, {100});
    tiff.AddRawEntry(exif, 0x829A, 5, 1, 0x80000000);    // 2^31: the rest is cut
    tiff.AddShorts(exif, 0xA002, {640});
    ASSERT_TRUE(OpenExif(tiff));
    EXPECT_EQ(Value("UserComment"), "");
    EXPECT_EQ(Value("ISOSpeedRatings"), "100");
    EXPECT_EQ(Decoder().IndexOfName("ExposureTime"), -1);
    EXPECT_EQ(Decoder().imageWidth, 0);
    EXPECT_EQ(Value("Model"), "After");
}

TEST_P(ExifWalkTest, UnknownTagsAreReportedNotStored)
{
    const int gps = tiff.AddDirectory();
    tiff.AddShorts(0, 0xC000, {1});
    tiff.AddPointer(0, kGpsInfo, gps);
    tiff.AddBytes(gps, 0, {2, 2, 0, 0});
    ASSERT_TRUE(OpenExif(tiff));
    EXPECT_EQ(Decoder().reportText, "\r\nUnknown = 1\r\nGPSInfo = " +
                                         std::to_string(tiff.DirectoryOffset(gps)) +
                                         "\r\nGPSVersion ID = 2, 2, 0, 0");
    EXPECT_EQ(Decoder().tags.size(), 1u);
    EXPECT_EQ(Decoder().EntryByName("Unknown").tagId, 0);
}

TEST_P(ExifWalkTest, PickedValuesLastOneWins)
{
    const int exif = tiff.AddDirectory();
    tiff.AddShorts(0, 0x0100, {4000});
    tiff.AddLongs(0, 0x0101, {3000});
    tiff.AddAscii(0, 0x0132, "2001:01:01 01:01:01");
    tiff.AddPointer(0, kExifOffset, exif);
    tiff.AddAscii(exif, 0x9003, "2008:10:22 16:28:39");
    tiff.AddAscii(exif, 0x9004, "2008:10:22 16:28:40");
    tiff.AddLongs(exif, 0xA002, {640});
    tiff.AddShorts(exif, 0xA003, {480});
    tiff.AddShorts(exif, 0x9209, {25});
    ASSERT_TRUE(OpenExif(tiff));
    EXPECT_EQ(Decoder().imageWidth, 640);
    EXPECT_EQ(Decoder().imageHeight, 480);
    EXPECT_EQ(Decoder().photoDate, "2008:10:22 16:28:39");
    EXPECT_EQ(Decoder().flashValue, 25);
    EXPECT_EQ(Value("Flash"), "On, auto mode");
    const std::string& bytes = image.exifSection->bytes;
    EXPECT_EQ(bytes.substr(static_cast<size_t>(Decoder().dateTimePos - 1), 4), "2001");
    EXPECT_EQ(bytes.substr(static_cast<size_t>(Decoder().dateTimeOriginalPos - 1), 19), "2008:10:22 16:28:39");
    EXPECT_EQ(bytes.substr(static_cast<size_t>(Decoder().dateTimeDigitizedPos - 1), 19), "2008:10:22 16:28:40");
    EXPECT_EQ(Read32In(bytes, Decoder().widthValuePos, GetParam()), 640u);
}

TEST_P(ExifWalkTest, SameTagTwiceStoresBoth)
{
    tiff.AddAscii(0, kMake, "First");
    tiff.AddAscii(0, kMake, "Second");
    ASSERT_TRUE(OpenExif(tiff));
    EXPECT_EQ(Count("Make"), 2);
    EXPECT_EQ(Value("Make"), "First");
    EXPECT_EQ(Decoder().cameraMake, "Second");
}

TEST_P(ExifWalkTest, UserCommentTrimmedWithoutCodePrefix)
{
    const int exif = tiff.AddDirectory();
    tiff.AddPointer(0, kExifOffset, exif);
    tiff.AddUndefined(exif, 0x9286, std::string("ASCII\0\0\0  Urlaub in Rom \0", 26));
    ASSERT_TRUE(OpenExif(tiff));
    EXPECT_EQ(Decoder().userComment, "Urlaub in Rom");
    EXPECT_EQ(Value("UserComment"), "Urlaub in Rom");
    EXPECT_EQ(Decoder().userCommentLength, 26 - 9);
    EXPECT_EQ(image.exifSection->bytes.substr(static_cast<size_t>(Decoder().userCommentPos - 1), 5), "ASCII");
}

TEST_P(ExifWalkTest, FlashThatIsNoIntegerCutsTheExifDirectory)
{
    const int exif = tiff.AddDirectory();
    tiff.AddPointer(0, kExifOffset, exif);
    tiff.AddAscii(0, kModel, "Model");
    tiff.AddShorts(exif, 0x8827, {100});
    tiff.AddAscii(exif, 0x9209, "bright");
    tiff.AddShorts(exif, 0xA002, {640});
    ASSERT_TRUE(OpenExif(tiff));
    EXPECT_EQ(Value("ISOSpeedRatings"), "100");
    EXPECT_EQ(Decoder().IndexOfName("Flash"), -1);
    EXPECT_EQ(Decoder().imageWidth, 0);
    EXPECT_EQ(Value("Model"), "Model");
}

TEST_P(ExifWalkTest, MakerNoteBytesAndPosition)
{
    const int exif = tiff.AddDirectory();
    tiff.AddPointer(0, kExifOffset, exif);
    tiff.AddUndefined(exif, 0x927C, "NoteBytes");
    ASSERT_TRUE(OpenExif(tiff));
    EXPECT_EQ(Decoder().makerNoteBytes, "NoteBytes");
    EXPECT_EQ(image.exifSection->bytes.substr(static_cast<size_t>(Decoder().makerNotePos - 1), 9), "NoteBytes");
}

TEST_P(ExifWalkTest, TextRunningPastTheDataFailsItsDirectory)
{
    const int exif = tiff.AddDirectory();
    tiff.AddPointer(0, kExifOffset, exif);
    tiff.AddAscii(0, kModel, "Model");
    tiff.AddRawEntry(exif, 0x9003, 2, 20, 60000);
    tiff.AddShorts(exif, 0xA002, {640});
    ASSERT_TRUE(OpenExif(tiff));
    EXPECT_EQ(Decoder().imageWidth, 0);
    EXPECT_EQ(Value("Model"), "Model");
}

TEST_F(ImageFileTest, OversizedDirectoryWalksNothing)
{
    TTiffBuilder tiff(false);
    tiff.AddAscii(0, kMake, "Maker");
    ASSERT_TRUE(OpenExif(tiff));
    const size_t before = Decoder().tags.size();
    // A count of 0x7FFF at a place inside the segment.
    image.exifDecoder->buffer += std::string("\xFF\x7F", 2);
    const auto start = static_cast<int64_t>(image.exifDecoder->buffer.size()) - 1;
    Decoder().WalkDirectory(start, 9, image.exifSection->length - 6, DirectoryKind::Main);
    EXPECT_EQ(image.errorText, "Illegally sized directory");
    EXPECT_EQ(Decoder().tags.size(), before);
}

TEST_F(ImageFileTest, RenderOnlyAndStoreOnlyDecodes)
{
    TTiffBuilder tiff(true);
    tiff.AddAscii(0, kMake, "Maker");
    image.decodeSelector = kDecodeRender;
    ASSERT_TRUE(OpenExif(tiff));
    EXPECT_TRUE(Decoder().tags.empty());
    EXPECT_EQ(Decoder().reportText, "\r\nMake = Maker");
    EXPECT_EQ(Decoder().cameraMake, "Maker");
    image.decodeSelector = kDecodeStore;
    ASSERT_TRUE(OpenExif(tiff));
    EXPECT_TRUE(Decoder().tags.empty());
    EXPECT_EQ(Decoder().reportText, "");
}

TEST_F(ImageFileTest, AddTagRefusesTagNumberZero)
{
    ASSERT_TRUE(Open(JpegFile({ExifSegment(TTiffBuilder(false).Build()), ScanSegment()})));
    EXPECT_EQ(Decoder().AddTag(TTagEntry{}), -1);
    EXPECT_EQ(Decoder().AddTag(TTagEntry{.tagId = 5, .key = "Five"}), 0);
    EXPECT_EQ(Decoder().AddTag(TTagEntry{}), 0);
    EXPECT_EQ(Decoder().tags.size(), 1u);
}

TEST_F(ImageFileTest, DerivedTagsAreStoredAndFound)
{
    ASSERT_TRUE(Open(JpegFile({ExifSegment(TTiffBuilder(false).Build()), ScanSegment()})));
    Decoder().AddDerivedTag("Macro mode", "Normal", 2);
    const TTagEntry entry = Decoder().EntryByName("macro MODE");
    EXPECT_EQ(entry.tagId, kDerivedTagId);
    EXPECT_EQ(entry.tableId, 1);
    EXPECT_EQ(entry.caption, "Macro mode");
    EXPECT_EQ(entry.text, "Normal");
    EXPECT_EQ(entry.rawBytes, "Normal");
    EXPECT_EQ(entry.maxLength, 6);
    Decoder().decodeSelector = kDecodeRender;
    Decoder().AddDerivedTag("Other", "x", 2);
    EXPECT_EQ(Decoder().IndexOfName("Other"), -1);
}

TEST_F(ImageFileTest, VisitedSetPerDecoder)
{
    ASSERT_TRUE(Open(JpegFile({ExifSegment(TTiffBuilder(false).Build()), ScanSegment()})));
    EXPECT_TRUE(Decoder().WasVisited(17, 9));
    EXPECT_FALSE(Decoder().WasVisited(9, 17));
    Decoder().MarkVisited(100, -7);
    EXPECT_TRUE(Decoder().WasVisited(100, -7));
    Decoder().ClearVisited();
    EXPECT_FALSE(Decoder().WasVisited(17, 9));
}

}  // namespace
}  // namespace vistado::test
