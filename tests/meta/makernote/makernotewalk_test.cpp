#include "meta/imagefiletest.h"

#include "meta/text/asciitext.h"
#include "meta/text/settings.h"

namespace vistado::test {
namespace {

TImageInfo* currentImage = nullptr;

std::string upper(const std::string& text)
{
    return upperAscii(text);
}

// Like the formatters that split one value into several derived entries.
std::string expanding(const std::string& text)
{
    setFormatterExpansion(true);
    currentImage->AddDerivedTag("Part", text.substr(0, 1), 2);
    return "\r\nPart = " + text.substr(0, 1);
}

const TTagEntry kMakerTable[] = {
    {.tagId = 1, .key = "Quality", .caption = "Quality", .valueMap = "1:Fine,2:Normal"},
    {.tagId = 2, .key = "Hidden", .caption = "sKiP"},
    {.tagId = 3, .key = "Lens", .caption = "Lens", .formatter = upper},
    {.tagId = 4, .key = "Settings", .caption = "Settings", .formatter = expanding},
    {.tagId = 5, .key = "Far", .caption = "Far"},
};

const std::string kNoteHeader = std::string("MAKER\0\0\0", 8);

class MakerNoteWalkTest : public ImageFileTest, public testing::WithParamInterface<bool> {
protected:
    void SetUp() override
    {
        ImageFileTest::SetUp();
        TiffBuilder tiff(GetParam());
        tiff.addAscii(0, 0x010F, "FALLBACKMAKE");
        ASSERT_TRUE(openExif(tiff));
        currentImage = &decoder();
        makeOffset = decoder().tags()[0].rawOffset;
    }

    // A note whose offsets count from its first byte: header, then the directory.
    std::string Note(const TiffBuilder& note) const
    {
        return kNoteHeader + note.directoryBlock(0, static_cast<uint32_t>(kNoteHeader.size()));
    }

    void walk(const std::string& note)
    {
        const int64_t dirOffset = static_cast<int64_t>(kNoteHeader.size());
        decoder().WalkMakerNoteDirectory(note, kMakerTable, dirOffset, dirOffset + 1,
                                         makeOffset - 5000);
    }

    int32_t makeOffset = 0;
};

INSTANTIATE_TEST_SUITE_P(ByteOrders, MakerNoteWalkTest, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "Motorola" : "Intel";
                         });

TEST_P(MakerNoteWalkTest, DecodesAgainstTheMakerTable)
{
    TiffBuilder note(GetParam());
    note.addShorts(0, 1, {1});
    note.addShorts(0, 2, {7});
    note.addAscii(0, 3, "abcdefgh");
    note.addShorts(0, 4, {1, 2, 3});
    note.addRawEntry(0, 5, 7, 6, 5000);  // lies beyond the note: read from the Exif segment
    note.addShorts(0, 9, {3});
    note.addAscii(0, 10, std::string(60, 't'));  // a text is shown whole
    const std::string segment = decoder().buffer;
    walk(Note(note));

    EXPECT_EQ(decoder().makerNoteReport(),
              "\r\nQuality = Fine"
              "\r\nLens = \"ABCDEFGH\""
              "\r\nPart = 1\r\nSettings = 1, 2, 3"
              "\r\nFar = \"FALLBA\""
              "\r\nUnknown = 3"
              "\r\nUnknown = \"" + std::string(60, 't') + "\"");
    EXPECT_EQ(decoder().buffer, segment);
    EXPECT_EQ(image.errorText, "<none>");

    const TTagEntry quality = decoder().EntryByName("Quality");
    EXPECT_EQ(quality.tableId, 1);
    EXPECT_EQ(quality.text, "Fine");
    EXPECT_EQ(quality.valueType, 3);
    EXPECT_EQ(quality.rawOffset, 0);
    EXPECT_EQ(decoder().TagValueText("Lens"), "\"ABCDEFGH\"");
    EXPECT_EQ(decoder().TagValueText("Settings"), "1, 2, 3");
    EXPECT_EQ(decoder().TagValueText("Part"), "1");
    EXPECT_EQ(decoder().TagValueText("Far"), "\"FALLBA\"");
    EXPECT_EQ(decoder().IndexOfName("Hidden"), -1);
    EXPECT_LT(decoder().IndexOfName("Part"), decoder().IndexOfName("Settings"));
}

TEST_P(MakerNoteWalkTest, ErrorEndsTheWalkAndIsReported)
{
    TiffBuilder note(GetParam());
    note.addShorts(0, 1, {2});
    note.addRawEntry(0, 3, 13, 1, 0);
    note.addShorts(0, 5, {1});
    const std::string segment = decoder().buffer;
    walk(Note(note));
    EXPECT_EQ(decoder().TagValueText("Quality"), "Normal");
    EXPECT_EQ(decoder().IndexOfName("Far"), -1);
    EXPECT_EQ(image.errorText, "Error Detected = type 13 above 12");
    EXPECT_EQ(decoder().buffer, segment);

    walk(kNoteHeader + "\x05");
    EXPECT_TRUE(image.errorText.starts_with("Error Detected = "));
}

TEST_P(MakerNoteWalkTest, ZeroCountEntriesAreNotSkipped)
{
    TiffBuilder note(GetParam());
    note.addRawEntry(0, 1, 3, 0, 0);
    walk(Note(note));
    EXPECT_EQ(decoder().makerNoteReport(), "\r\nQuality = ");
    EXPECT_EQ(decoder().IndexOfName("Quality"), static_cast<int32_t>(decoder().tags().size()) - 1);
}

}  // namespace
}  // namespace vistado::test
