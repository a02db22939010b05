#include "meta/imagefiletest.h"

#include "meta/text/asciitext.h"
#include "meta/text/settings.h"

#include <optional>

namespace vistado::test {
namespace {

std::string upper(const std::string& text)
{
    return upperAscii(text);
}

// Like the formatters that split one value into several derived entries.
std::string expanding(const std::string& text)
{
    setFormatterExpansion(true);
    currentMakerNote()->AddDerivedTag("Part", text.substr(0, 1), 2);
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
        makeOffset = decoder().tags()[0].rawOffset;
        walked.emplace(decoder().makerNote());
    }

    // A note whose offsets count from its first byte: header, then the directory.
    std::string Note(const TiffBuilder& note) const
    {
        return kNoteHeader + note.directoryBlock(0, static_cast<uint32_t>(kNoteHeader.size()));
    }

    void walk(const std::string& noteBytes)
    {
        const int64_t dirOffset = static_cast<int64_t>(kNoteHeader.size());
        TmsInfo(false, *walked).WalkMakerNoteDirectory(noteBytes, kMakerTable, dirOffset, dirOffset + 1,
                                                    makeOffset - 5000);
    }

    // The entry of the walked note with that key; an empty one when there is none.
    TTagEntry tag(const std::string& key) const
    {
        const int32_t index = indexOfKey(walked->tags, key);
        return index < 0 ? TTagEntry() : walked->tags[static_cast<size_t>(index)];
    }

    int32_t makeOffset = 0;
    std::optional<MakerNote> walked;  // the note the walks write into
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
    walk(Note(note));

    EXPECT_EQ(walked->report,
              "\r\nQuality = Fine"
              "\r\nLens = \"ABCDEFGH\""
              "\r\nPart = 1\r\nSettings = 1, 2, 3"
              "\r\nFar = \"FALLBA\""
              "\r\nUnknown = 3"
              "\r\nUnknown = \"" + std::string(60, 't') + "\"");
    EXPECT_EQ(walked->errorText, "");

    const TTagEntry quality = tag("Quality");
    EXPECT_EQ(quality.tableId, 1);
    EXPECT_EQ(quality.text, "Fine");
    EXPECT_EQ(quality.valueType, 3);
    EXPECT_EQ(quality.rawOffset, 0);
    EXPECT_EQ(tag("Lens").text, "\"ABCDEFGH\"");
    EXPECT_EQ(tag("Settings").text, "1, 2, 3");
    EXPECT_EQ(tag("Part").text, "1");
    EXPECT_EQ(tag("Far").text, "\"FALLBA\"");
    EXPECT_EQ(indexOfKey(walked->tags, "Hidden"), -1);
    EXPECT_LT(indexOfKey(walked->tags, "Part"), indexOfKey(walked->tags, "Settings"));
}

TEST_P(MakerNoteWalkTest, ErrorEndsTheWalkAndIsReported)
{
    TiffBuilder note(GetParam());
    note.addShorts(0, 1, {2});
    note.addRawEntry(0, 3, 13, 1, 0);
    note.addShorts(0, 5, {1});
    walk(Note(note));
    EXPECT_EQ(tag("Quality").text, "Normal");
    EXPECT_EQ(indexOfKey(walked->tags, "Far"), -1);
    EXPECT_EQ(walked->errorText, "Error Detected = type 13 above 12");

    walk(kNoteHeader + "\x05");
    EXPECT_TRUE(walked->errorText.starts_with("Error Detected = "));
}

TEST_P(MakerNoteWalkTest, ZeroCountEntriesAreNotSkipped)
{
    TiffBuilder note(GetParam());
    note.addRawEntry(0, 1, 3, 0, 0);
    walk(Note(note));
    EXPECT_EQ(walked->report, "\r\nQuality = ");
    EXPECT_EQ(indexOfKey(walked->tags, "Quality"), static_cast<int32_t>(walked->tags.size()) - 1);
}

TEST_F(ImageFileTest, DerivedTagsAreStoredAndFound)
{
    ASSERT_TRUE(open(jpegFile({exifSegment(TiffBuilder(false).build()), scanSegment()})));
    MakerNote note = decoder().makerNote();
    note.AddDerivedTag("Macro mode", "Normal", 2);
    ASSERT_EQ(indexOfKey(note.tags, "macro MODE"), 0);
    const TTagEntry& entry = note.tags[0];
    EXPECT_EQ(entry.tagId, kDerivedTagId);
    EXPECT_EQ(entry.tableId, 1);
    EXPECT_EQ(entry.caption, "Macro mode");
    EXPECT_EQ(entry.text, "Normal");
    EXPECT_EQ(entry.rawBytes, "Normal");
    EXPECT_EQ(entry.maxLength, 6);
    note.storesTags = false;
    note.AddDerivedTag("Other", "x", 2);
    EXPECT_EQ(indexOfKey(note.tags, "Other"), -1);
}

}  // namespace
}  // namespace vistado::test
