#include "meta/exif/formatters.h"
#include "meta/exif/tagtables.h"

#include <gtest/gtest.h>

#include <set>

namespace vistado {
namespace {

TEST(TagTables, MainTableHas253AscendingRows)
{
    const auto rows = mainTagTable();
    ASSERT_EQ(rows.size(), 253u);
    for (size_t i = 1; i < rows.size(); ++i)
        EXPECT_LT(rows[i - 1].tagId, rows[i].tagId) << rows[i].key;
    EXPECT_EQ(rows.front().key, "InteroperabilityIndex");
    EXPECT_EQ(rows.back().key, "ImageUniqueID");
    EXPECT_EQ(rows.back().tagId, 0xA420);
    EXPECT_EQ(fallbackTagRow().tagId, 0);
    EXPECT_EQ(fallbackTagRow().key, "Unknown");
}

TEST(TagTables, GpsTableHolds31TagsInOrder)
{
    const auto rows = gpsTagTable();
    ASSERT_EQ(rows.size(), 31u);
    for (size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i].tagId, i);
    EXPECT_EQ(rows[2].formatter, &RenderGpsCoordinate);
    EXPECT_EQ(rows[7].formatter, &RenderGpsTime);
}

TEST(TagTables, CaptionsOwnOrSpacedKey)
{
    FillDescriptions();
    FillDescriptions();
    EXPECT_EQ(LookupTableEntry(0x829A, DirectoryKind::Main).caption, "Exposure Time");
    EXPECT_EQ(LookupTableEntry(0x83BB, DirectoryKind::Main).caption, "IPTC/NAA");
    EXPECT_EQ(LookupTableEntry(0xA216, DirectoryKind::Main).caption, "TIFF/EPStandardID");
    EXPECT_EQ(LookupTableEntry(0xA405, DirectoryKind::Main).caption, "Focal Length in 35mm Film");
    EXPECT_EQ(LookupTableEntry(0x0213, DirectoryKind::Main).caption, "YCb Cr Positioning");
    EXPECT_EQ(LookupTableEntry(0x0001, DirectoryKind::Gps).caption, "GPSLatitude Ref");
    EXPECT_EQ(LookupTableEntry(0x0017, DirectoryKind::Gps).caption, "GPSDest Bearingk Ref");
    EXPECT_EQ(fallbackTagRow().caption, "Unknown");
}

TEST(TagTables, LookupByTagAndKind)
{
    const TTagEntry orientation = LookupTableEntry(0x0112, DirectoryKind::Main);
    EXPECT_EQ(orientation.key, "Orientation");
    EXPECT_EQ(orientation.valueMap, "1:Normal,3:Rotated 180°,6:CounterClockwise 90°,8:Clockwise 90°");
    EXPECT_EQ(LookupTableEntry(0x9209, DirectoryKind::Main).formatter, &RenderFlash);
    EXPECT_EQ(LookupTableEntry(0x920A, DirectoryKind::Main).formatText, "%5.2f mm");
    EXPECT_EQ(LookupTableEntry(0x0002, DirectoryKind::Gps).key, "GPSLatitude");
    EXPECT_EQ(LookupTableEntry(0x0002, DirectoryKind::Main).key, "InteroperabilityVersion");
    EXPECT_EQ(LookupTableEntry(0x9999, DirectoryKind::Main).tagId, 0);
    EXPECT_EQ(LookupTableEntry(0x9999, DirectoryKind::Main).key, "Unknown");
    EXPECT_EQ(LookupTableEntry(0x0000, DirectoryKind::Gps).key, "GPSVersionID");
    EXPECT_EQ(LookupTableEntry(0x0002, static_cast<DirectoryKind>(3)).key, "Unknown");
}

TEST(TagTables, KeyIndexIgnoresLetterCase)
{
    const int32_t index = TableIndexOfKey("FocalLengthIn35mmFilm");
    ASSERT_GE(index, 0);
    EXPECT_EQ(mainTagTable()[static_cast<size_t>(index)].tagId, 0xA405);
    // FlashEnergy is listed twice (0x920B and 0xA20B): the first row counts.
    EXPECT_EQ(mainTagTable()[static_cast<size_t>(TableIndexOfKey("flashenergy"))].tagId, 0x920B);
    EXPECT_EQ(TableIndexOfKey("Unknown"), -1);
    EXPECT_EQ(TableIndexOfKey(""), -1);
}

}  // namespace
}  // namespace vistado
