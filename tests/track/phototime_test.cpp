#include "meta/imagefiletest.h"
#include "track/timezone.h"

#include "meta/exif/tagnumbers.h"
#include "track/phototime.h"

#include <optional>
#include <string>

namespace vistado::test {
namespace {

constexpr int64_t kTen = 1721037600;  // 2024-07-15T10:00:00Z

struct TimeCase {
    const char* name;
    const char* original;         // DateTimeOriginal; nullptr: none
    const char* originalOffset;   // OffsetTimeOriginal
    const char* digitized;        // DateTimeDigitized
    const char* digitizedOffset;  // OffsetTimeDigitized
    CameraClock clock;
    const char* computerZone;
    std::optional<int64_t> utc;
};

const TimeCase kTimeCases[] = {
    {"OwnOffsetBeforeTheGivenZone", "2024:07:15 12:00:00", "+02:00", nullptr, nullptr, {5 * 3600, 0}, "UTC", kTen},
    {"GivenZone", "2024:07:15 15:30:00", nullptr, nullptr, nullptr, {5 * 3600 + 1800, 0}, "UTC", kTen},
    {"ComputerZoneInSummer", "2024:07:15 12:00:00", nullptr, nullptr, nullptr, {}, "Europe/Berlin", kTen},
    {"ComputerZoneInWinter", "2024:01:15 11:00:00", nullptr, nullptr, nullptr, {}, "Europe/Berlin", 1705312800},
    {"DigitizedWithItsOffset", nullptr, "+09:00", "2024:07:15 07:00:00", "-03:00", {}, "UTC", kTen},
    {"BlankOriginalGivesWayToDigitized", "    :  :     :  :  ", nullptr, "2024:07:15 10:00:00", nullptr, {0, 0},
     "Europe/Berlin", kTen},
    {"BlankOffsetIsNone", "2024:07:15 11:00:00", "   :  ", nullptr, nullptr, {3600, 0}, "UTC", kTen},
    {"ClockCorrectionAdded", "2024:07:15 10:01:30", nullptr, nullptr, nullptr, {0, -90}, "UTC", kTen},
    {"ImpossibleDate", "2024:02:30 10:00:00", nullptr, nullptr, nullptr, {0, 0}, "UTC", std::nullopt},
    {"NoDate", nullptr, "+02:00", nullptr, nullptr, {0, 0}, "UTC", std::nullopt},
};

class PhotoTimeTest : public ImageFileTest, public testing::WithParamInterface<TimeCase> {};

TEST_P(PhotoTimeTest, UtcFromTheDateItsZoneAndTheCorrection)
{
    const TimeCase& c = GetParam();
    TiffBuilder tiff(false);
    const int exif = tiff.addDirectory();
    tiff.addPointer(0, kExifOffset, exif);
    if (c.original)
        tiff.addAscii(exif, kDateTimeOriginal, c.original);
    if (c.digitized)
        tiff.addAscii(exif, kDateTimeDigitized, c.digitized);
    if (c.originalOffset)
        tiff.addAscii(exif, 0x9011, c.originalOffset);
    if (c.digitizedOffset)
        tiff.addAscii(exif, 0x9012, c.digitizedOffset);
    ASSERT_TRUE(openExif(tiff));
    const TimeZoneWhile zone(c.computerZone);
    EXPECT_EQ(photoTimeUtc(decoder(), c.clock), c.utc);
}

INSTANTIATE_TEST_SUITE_P(Cases, PhotoTimeTest, testing::ValuesIn(kTimeCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vistado::test
