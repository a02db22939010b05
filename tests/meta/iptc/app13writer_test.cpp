// The APP13 writer: the location datasets into the IIM, everything else byte for byte,
// damaged resources refused.

#include "jpegbuilder.h"

#include "meta/iptc/app13writer.h"
#include "meta/iptc/iptcdigest.h"

#include <gtest/gtest.h>

namespace vistado::test {
namespace {

const LocationFields kMunich{"M\xC3\xBCnchen", "Bayern", "Deutschland", "DEU"};

// A segment's payload behind its marker and length field.
std::string payloadOf(const std::string& segment)
{
    return segment.substr(4);
}

std::string digestResource(const std::string& iim)
{
    return photoshopResource(0x0425, iptcDigest(iim));
}

TEST(App13Writer, InsertsTheDatasetsInOrderAndKeepsTheOtherResources)
{
    const std::string resolution = photoshopResource(0x03ED, std::string(16, '\x01'));
    const std::string thumbnail = photoshopResource(0x040C, "odd");  // padded
    const std::string iim = iptcDataset(2, 0, std::string("\0\x04", 2)) + iptcDataset(2, 25, "Alpen") +
        iptcDataset(2, 120, "Caption") + iptcDataset(2, 25, "Urlaub");
    const App13Writer read(payloadOf(app13SegmentWith(resolution + photoshopResource(0x0404, iim) + thumbnail)));

    const std::string expectedIim = iptcDataset(1, 90, "\x1B%G") + iptcDataset(2, 0, std::string("\0\x04", 2)) +
        iptcDataset(2, 25, "Alpen") + iptcDataset(2, 90, kMunich.city) + iptcDataset(2, 95, "Bayern") +
        iptcDataset(2, 100, "DEU") + iptcDataset(2, 101, "Deutschland") + iptcDataset(2, 120, "Caption") +
        iptcDataset(2, 25, "Urlaub");
    EXPECT_EQ(read.withLocation(kMunich),
              payloadOf(app13SegmentWith(resolution + photoshopResource(0x0404, expectedIim) + thumbnail +
                                         digestResource(expectedIim))));
}

TEST(App13Writer, ANewSegmentHoldsRecordVersionDatasetsAndDigest)
{
    const std::string iim = iptcDataset(2, 0, std::string("\0\x04", 2)) + iptcDataset(2, 90, "Rom") +
        iptcDataset(2, 100, "ITA") + iptcDataset(2, 101, "Italien");
    EXPECT_EQ(App13Writer().withLocation({"Rom", "", "Italien", "ITA"}),
              payloadOf(app13SegmentWith(photoshopResource(0x0404, iim) + digestResource(iim))));
}

TEST(App13Writer, ReplacesAnOldDigestFillsAnEmptyCityAndCutsLongValuesAtACharacter)
{
    const std::string version = iptcDataset(2, 0, std::string("\0\x04", 2));
    const std::string iim = version + iptcDataset(2, 90, "") + iptcDataset(2, 25, "Alpen");
    const App13Writer read(payloadOf(app13SegmentWith(photoshopResource(0x0425, std::string(16, 'x')) +
                                                      photoshopResource(0x0404, iim))));
    // 31 letters and an "ü" of two bytes: the "ü" does not fit the 32 bytes of 2:90.
    const std::string longCity = std::string(31, 'a') + "\xC3\xBC";
    const std::string expectedIim = iptcDataset(1, 90, "\x1B%G") + version + iptcDataset(2, 90, std::string(31, 'a')) +
        iptcDataset(2, 25, "Alpen");
    EXPECT_EQ(read.withLocation({longCity, "", "", ""}),
              payloadOf(app13SegmentWith(digestResource(expectedIim) + photoshopResource(0x0404, expectedIim))));
}

TEST(App13Writer, ReadsTheLocationAndTheCharacterSetsThatHoldNewValues)
{
    const LocationFields ascii{"Rom", "Latium", "Italien", "ITA"};
    const struct {
        const char* what;
        std::string iim;
        LocationFields location;
        bool holdsUtf8;
    } cases[] = {
        {"no IIM", "", {}, true},
        {"ASCII without a character set", iptcDataset(2, 25, "Alpen"), {}, true},
        {"declared UTF-8", iptcDataset(1, 90, "\x1B%G") + iptcDataset(2, 25, "K\xC3\xB6ln"), {}, true},
        {"Latin-1 without a character set", iptcDataset(2, 25, "K\xF6ln"), {}, false},
        {"another declared set", iptcDataset(1, 90, "\x1B.A"), {}, false},
        {"a city", iptcDataset(2, 90, "Berlin") + iptcDataset(2, 101, "Deutschland"), {"Berlin", "", "Deutschland", ""}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const App13Writer read(c.iim.empty() ? "" : payloadOf(iptcSegmentWith(c.iim)));
        EXPECT_EQ(read.location(), c.location);
        EXPECT_EQ(read.canHold(kMunich), c.holdsUtf8);
        EXPECT_TRUE(read.canHold(ascii));
    }
}

TEST(App13Writer, RefusesDamagedResourcesAndDatasets)
{
    const std::string header("Photoshop 3.0\0", 14);
    const std::string resource = photoshopResource(0x0404, iptcDataset(2, 25, "Alpen"));  // 20 bytes
    const struct {
        const char* what;
        std::string payload;
        const char* reason;
    } cases[] = {
        {"no signature", "Adobe_CM\0\x01", "APP13 ohne Photoshop-Kennung"},
        {"a resource longer than the segment", header + resource.substr(0, 19), "APP13-Ressource über das Segmentende"},
        {"a name past the end", header + "8BIM\x04\x04\x09" "ab", "APP13-Ressource über das Segmentende"},
        {"an odd resource unpadded", header + photoshopResource(0x040C, "odd").substr(0, 15),
         "APP13-Ressource nicht gerade aufgefüllt"},
        {"garbage behind a resource", header + resource + "junk", "APP13-Ressource ohne Kennung"},
        {"a dataset longer than its resource",
         header + photoshopResource(0x0404, iptcDataset(2, 25, "Alpen").substr(0, 8)), "IIM-Datensatz über die Ressource"},
        {"a dataset without its marker", header + photoshopResource(0x0404, "\x1D\x02\x19\0\x01x"),
         "IIM-Datensatz ohne Kennung"},
        {"two IIM resources", header + resource + resource, "mehrere IIM-Blöcke"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            App13Writer{c.payload};
            ADD_FAILURE() << "not refused";
        } catch (const EFieldsNotWritable& refused) {
            EXPECT_STREQ(refused.what(), c.reason);
        }
    }
    // Zero bytes behind the resources and the datasets are padding, kept as they stand.
    const std::string padded = header + photoshopResource(0x0404, iptcDataset(2, 25, "Alpen") + std::string(3, '\0')) +
        std::string(2, '\0');
    EXPECT_TRUE(App13Writer(padded).withLocation(kMunich).ends_with(std::string(2, '\0')));
}

}  // namespace
}  // namespace vistado::test
