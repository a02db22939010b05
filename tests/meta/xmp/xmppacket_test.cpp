// The XMP packet through the XMP toolkit: location properties read and set, the packet's
// other properties kept.

#include "meta/xmp/xmplocation.h"
#include "meta/xmp/xmppacket.h"

#include <gtest/gtest.h>

namespace vistado::test {
namespace {

const std::string kPacket =
    "<?xpacket begin='\xEF\xBB\xBF' id='W5M0MpCehiHzreSzNTczkc9d'?>"
    "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'>"
    "<rdf:Description rdf:about='' xmlns:dc='http://purl.org/dc/elements/1.1/' "
    "xmlns:my='http://example.com/my/' my:Album='Sommer' PROPS>"
    "<dc:subject><rdf:Bag><rdf:li>Alpen</rdf:li></rdf:Bag></dc:subject>"
    "</rdf:Description></rdf:RDF></x:xmpmeta><?xpacket end='w'?>";

std::string packetWith(const std::string& props)
{
    std::string packet = kPacket;
    return packet.replace(packet.find("PROPS"), 5, props);
}

TEST(XmpPacket, SetsTheLocationAndKeepsEveryOtherProperty)
{
    XmpPacket packet(packetWith(""));
    EXPECT_FALSE(packet.hasLocation());
    packet.setLocation({"M\xC3\xBCnchen", "Bayern", "Deutschland", "DEU"});
    const XmpPacket again(packet.serialized());
    EXPECT_EQ(again.locationValues(),
              (std::vector<std::string>{"M\xC3\xBCnchen", "Bayern", "Deutschland", "DEU", "M\xC3\xBCnchen", "Bayern",
                                        "Deutschland", "DEU"}));
    const std::string written = packet.serialized();
    EXPECT_NE(written.find("<rdf:li>Alpen</rdf:li>"), std::string::npos);
    EXPECT_NE(written.find("Sommer"), std::string::npos);
    EXPECT_NE(written.find("http://example.com/my/"), std::string::npos);
}

TEST(XmpPacket, TellsLocationsExtensionsAndPacketsItCannotRead)
{
    EXPECT_TRUE(XmpPacket(packetWith("xmlns:photoshop='http://ns.adobe.com/photoshop/1.0/' photoshop:Country='Italien'"))
                    .hasLocation());
    EXPECT_TRUE(XmpPacket(packetWith("xmlns:xmpNote='http://ns.adobe.com/xmp/note/' xmpNote:HasExtendedXMP='ABC'"))
                    .hasExtendedXmp());
    EXPECT_FALSE(XmpPacket(packetWith("")).hasExtendedXmp());
    EXPECT_THROW(XmpPacket("<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF"), EFieldsNotWritable);
}

}  // namespace
}  // namespace vistado::test
