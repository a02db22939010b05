#include "meta/imagefiletest.h"
#include "meta/exif/tagnumbers.h"

#include <bit>

namespace vistado::test {
namespace {

struct Optics {
    int focalPlaneUnit = 3;  // 0: absent
    int resolutionUnit = 0;  // 0: absent
    uint32_t xResolution = 1000;
    uint32_t yResolution = 1000;  // 0: absent
    double yResolutionAsDouble = 0;  // not 0: stored instead, as a DOUBLE
    std::pair<uint32_t, uint32_t> focal = {50, 1};
    uint32_t width = 3000;
    uint32_t height = 2000;
};

class FocalLength35Test : public ImageFileTest {
protected:
    bool openWith(const Optics& o, bool storesOwn = false)
    {
        TiffBuilder tiff(false);
        const int exif = tiff.addDirectory();
        if (o.resolutionUnit != 0)
            tiff.addShorts(0, 0x0128, {static_cast<uint16_t>(o.resolutionUnit)});
        tiff.addPointer(0, kExifOffset, exif);
        tiff.addRationals(exif, 0x920A, {o.focal});
        tiff.addLongs(exif, 0xA002, {o.width});
        tiff.addLongs(exif, 0xA003, {o.height});
        tiff.addRationals(exif, 0xA20E, {{o.xResolution, 1}});
        if (o.yResolutionAsDouble != 0) {
            std::string bytes;
            for (int i = 0; i < 8; ++i)
                bytes += static_cast<char>(std::bit_cast<uint64_t>(o.yResolutionAsDouble) >> (8 * i));
            tiff.addEntry(exif, 0xA20F, 12, 1, bytes);
        } else if (o.yResolution != 0) {
            tiff.addRationals(exif, 0xA20F, {{o.yResolution, 1}});
        }
        if (o.focalPlaneUnit != 0)
            tiff.addShorts(exif, 0xA210, {static_cast<uint16_t>(o.focalPlaneUnit)});
        if (storesOwn)
            tiff.addShorts(exif, 0xA405, {28});
        return openExif(tiff);
    }

    int count35()
    {
        int n = 0;
        for (const TTagEntry& tag : decoder().tags())
            n += tag.tagId == 0xA405;
        return n;
    }
};

TEST_F(FocalLength35Test, DerivedFromTheSensorSize)
{
    ASSERT_TRUE(openWith({}));
    const TTagEntry entry = decoder().EntryByName("FocalLengthin35mmFilm");
    EXPECT_EQ(entry.tagId, 0xA405);
    EXPECT_EQ(entry.text, "60.00");
    EXPECT_EQ(entry.formatText, "%s mm");
    EXPECT_EQ(entry.valueType, 10);
    EXPECT_EQ(entry.rawBytes, "");
    EXPECT_TRUE(decoder().reportText.ends_with("\r\nFocal Length in 35mm Film = 60.00"));
}

TEST_F(FocalLength35Test, CameraValueIsKept)
{
    ASSERT_TRUE(openWith({}, true));
    EXPECT_EQ(count35(), 1);
    EXPECT_EQ(value("FocalLengthIn35mmFilm"), "28.00 mm");
}

TEST_F(FocalLength35Test, ResolutionUnits)
{
    Optics inches;
    inches.focalPlaneUnit = 0;
    inches.resolutionUnit = 2;
    inches.xResolution = 2540;
    inches.yResolution = 2540;
    ASSERT_TRUE(openWith(inches));
    EXPECT_EQ(value("FocalLengthin35mmFilm"), "60.00");

    Optics none;
    none.focalPlaneUnit = 1;  // "None Specified" does not fall back
    none.resolutionUnit = 2;
    ASSERT_TRUE(openWith(none));
    EXPECT_EQ(count35(), 0);
}

TEST_F(FocalLength35Test, SmallValuesGetALeadingBlank)
{
    Optics wide;
    wide.focal = {625, 100};
    ASSERT_TRUE(openWith(wide));
    EXPECT_EQ(value("FocalLengthin35mmFilm"), " 7.50");
}

// A photo resized after shooting keeps the camera's focal-plane resolution
// but not its pixels: a value no sensor gives is left out.
TEST_F(FocalLength35Test, AbsurdValuesAreLeftOut)
{
    const std::pair<uint32_t, uint32_t> sizes[] = {{100, 68}, {30000, 20000}};
    for (const auto& [width, height] : sizes) {
        SCOPED_TRACE(width);
        Optics resized;
        resized.width = width;
        resized.height = height;
        ASSERT_TRUE(openWith(resized));
        EXPECT_EQ(count35(), 0);
    }
    // A resolution beyond 32 bits derives nothing; the photo still reads.
    Optics overflowing;
    overflowing.yResolutionAsDouble = 1e12;
    ASSERT_TRUE(openWith(overflowing));
    EXPECT_EQ(count35(), 0);
    // Within the range of real sensors it is derived.
    Optics phone;
    phone.xResolution = 4000;
    phone.yResolution = 4000;
    phone.focal = {4, 1};
    ASSERT_TRUE(openWith(phone));
    EXPECT_EQ(value("FocalLengthin35mmFilm"), "19.20");
}

TEST_F(FocalLength35Test, MissingDataDerivesNothing)
{
    Optics onlyX;
    onlyX.yResolution = 0;
    ASSERT_TRUE(openWith(onlyX));
    EXPECT_EQ(count35(), 0);

    Optics noFocal;
    noFocal.focal = {0, 1};
    ASSERT_TRUE(openWith(noFocal));
    EXPECT_EQ(count35(), 0);

    Optics noWidth;
    noWidth.width = 0;
    ASSERT_TRUE(openWith(noWidth));
    EXPECT_EQ(count35(), 0);
}

}  // namespace
}  // namespace vistado::test
