// The location fields written with the rewrite: into the APP13 and XMP segments of a photo
// that holds many others, read by ExifTool and exiv2.

#include "meta/imagefiletest.h"
#include "realjpeg.h"
#include "runprogram.h"

#include "meta/container/photolocation.h"

namespace vistado::test {
namespace {

class PhotoLocationTest : public ImageFileTest {};

TEST_F(PhotoLocationTest, OneRewriteCarriesCommentIimAndXmpAndKeepsEveryOtherSegment)
{
    const std::string icc = segment(0xE2, "ICC_PROFILE\0\x01\x01 profile bytes");
    const std::string packet =
        "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'>"
        "<rdf:Description rdf:about='' xmlns:dc='http://purl.org/dc/elements/1.1/'>"
        "<dc:subject><rdf:Bag><rdf:li>Alpen</rdf:li></rdf:Bag></dc:subject>"
        "</rdf:Description></rdf:RDF></x:xmpmeta>";
    const std::string resolution = photoshopResource(0x03ED, std::string("\0\x48\0\0\0\x01\0\x01\0\x48\0\0\0\x01\0\x01", 16));
    TiffBuilder tiff(false);
    tiff.addAscii(0, 0x010F, "Vistado");
    const std::string image = realJpeg(16, 16).substr(2);
    const std::string file = "\xFF\xD8" + jfifSegment() + exifSegment(tiff.build()) + icc + xmpSegmentWith(packet) +
        commentSegment("Notiz") + app13SegmentWith(resolution + photoshopResource(0x0404, iptcDataset(2, 25, "Alpen"))) +
        image;
    ASSERT_TRUE(open(file));

    PhotoLocation location(this->image);
    ASSERT_EQ(location.refusal(), "");
    EXPECT_FALSE(location.present());
    EXPECT_EQ(location.writeInto(this->image, {"M\xC3\xBCnchen", "Bayern", "\xC3\x96sterreich", "AUT"}), "");
    this->image.DropCommentAndHeader();
    this->image.SetCommentText(">M\xC3\xBCnchen<  Notiz");
    const std::string path = dir.file("image.jpg");
    this->image.SaveJpeg(path);

    const std::string written = readFile(path);
    EXPECT_TRUE(written.ends_with(image.substr(image.find("\xFF\xDB"))));
    EXPECT_NE(written.find(icc), std::string::npos);
    EXPECT_NE(written.find(resolution), std::string::npos);
    const ProgramResult exifTool =
        runProgram({"exiftool", "-s", "-s", "-IPTC:City", "-IPTC:Keywords", "-XMP-photoshop:City", "-XMP-dc:Subject",
                    "-XMP-iptcExt:LocationCreatedCountryName", "-IPTCDigest", "-CurrentIPTCDigest", "-Comment",
                    "-Make", "-ProfileCMMType", path});
    std::istringstream lines(exifTool.out);
    std::map<std::string, std::string> tags;
    for (std::string line; std::getline(lines, line);)
        tags[line.substr(0, line.find(':'))] = line.substr(line.find(": ") + 2);
    EXPECT_EQ(tags["City"], "M\xC3\xBCnchen");
    EXPECT_EQ(tags["Keywords"], "Alpen");
    EXPECT_EQ(tags["Subject"], "Alpen");
    EXPECT_EQ(tags["LocationCreatedCountryName"], "\xC3\x96sterreich");
    EXPECT_EQ(tags["IPTCDigest"], tags["CurrentIPTCDigest"]);
    EXPECT_EQ(tags["Comment"], ">M\xC3\xBCnchen<  Notiz");
    EXPECT_EQ(tags["Make"], "Vistado");
    if (programAvailable("exiv2")) {
        EXPECT_NE(runProgram({"exiv2", "-pi", path}).out.find("Iptc.Application2.City                       String      8  M\xC3\xBCnchen"),
                  std::string::npos);
        EXPECT_NE(runProgram({"exiv2", "-px", path}).out.find("Xmp.photoshop.State                          XmpText     6  Bayern"),
                  std::string::npos);
    }
    // Read back, the photo holds its fields: a second run leaves it alone.
    ASSERT_TRUE(this->image.OpenImage(path));
    EXPECT_TRUE(PhotoLocation(this->image).present());
}

}  // namespace
}  // namespace vistado::test
