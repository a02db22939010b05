// The place run writes the place into the IPTC and XMP location fields with the comment,
// checked through the window's run against a geocoding service on loopback, with ExifTool
// reading what was written.
#include "geocoderservice.h"
#include "jpegbuilder.h"
#include "photos.h"
#include "runprogram.h"
#include "testfiles.h"
#include "app/vistado4.h"

#include <QCheckBox>
#include <QPushButton>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include <string>

namespace vistado::test {

namespace {

constexpr const char* kPosition = "48.137154,11.576124";

// A reply whose components carry their types, in the service's order.
std::string replyWithTypes()
{
    const std::pair<const char*, const char*> components[] = {
        {"1", "street_number"}, {"Marienplatz", "route"}, {"M\xC3\xBCnchen", "locality"},
        {"Bayern", "administrative_area_level_1"}, {"\xC3\x96sterreich", "country"},
    };
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<GeocodeResponse>\n <status>OK</status>\n <result>\n";
    for (const auto& [name, type] : components) {
        const std::string shortName = std::string(type) == "country" ? "AT" : name;
        xml += "  <address_component>\n   <long_name>" + std::string(name) + "</long_name>\n   <short_name>" + shortName +
            "</short_name>\n   <type>" + type + "</type>\n   <type>political</type>\n  </address_component>\n";
    }
    return xml + " </result>\n</GeocodeResponse>\n";
}

// The place text in the window's character set, ISO-8859-1.
const std::string kPlace = ">Marienplatz<>M\xFCnchen<>Bayern<>\xD6sterreich<";
const std::string kCity = "M\xC3\xBCnchen";

std::vector<std::string> withGps(std::vector<std::string> tags)
{
    std::vector<std::string> all = gpsTags("48.137154", "N", "11.576124", "E");
    all.insert(all.end(), tags.begin(), tags.end());
    return all;
}

// The photo with a segment put in right behind its SOI.
std::string withSegment(const std::string& photo, const std::string& segment)
{
    return photo.substr(0, 2) + segment + photo.substr(2);
}

struct Fields {
    std::string iimCity, xmpCity, createdCity, keywords, subject, comment;
    bool digestCurrent;
};

Fields fieldsOf(const std::string& file)
{
    const std::string out = exifTool({"-s3", "-f", "-IPTC:City", "-XMP-photoshop:City", "-XMP-iptcExt:LocationCreatedCity",
                                      "-IPTC:Keywords", "-XMP-dc:Subject", "-IPTCDigest", "-CurrentIPTCDigest"},
                                     file);
    std::vector<std::string> values;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);)
        values.push_back(line == "-" ? "" : line);
    values.resize(7);
    const bool digestCurrent = !values[5].empty() && values[5] == values[6];
    return {values[0], values[1], values[2], values[3], values[4], exifTool({"-b", "-Comment"}, file), digestCurrent};
}

TEST(PlaceFields, TheRunFillsTheFieldsKeepsTheUsersAndWritesOnlyWhatChanges)
{
    TempDir tmp;
    const std::string folder = tmp.path() + "/Urlaub";
    makeFolder(folder);
    const std::string earlier = ">A<>B<>C<>D<  Urlaub";
    const struct {
        const char* name;
        std::vector<std::string> tags;
        std::string segment;  // put in behind SOI
        std::string logEnd;   // behind the position
        Fields fields;
    } cases[] = {
        {"a_neu.jpg", withGps({}), "", kPlace, {kCity, kCity, kCity, "", "", kPlace + "  ", true}},
        {"b_stichwort.jpg", withGps({"-IPTC:Keywords=Alpen", "-XMP-dc:Subject=Alpen", "-XMP-xmp:Rating=3"}), "", kPlace,
         {kCity, kCity, kCity, "Alpen", "Alpen", kPlace + "  ", true}},
        {"c_stadt.jpg", withGps({"-IPTC:City=Berlin"}), "", kPlace + ";Ortsfelder vorhanden",
         {"Berlin", "", "", "", "", kPlace + "  ", false}},
        {"d_land.jpg", withGps({"-XMP-photoshop:Country=Italien"}), "", kPlace + ";Ortsfelder vorhanden",
         {"", "", "", "", "", kPlace + "  ", false}},
        {"e_frueher.jpg", withGps({"-Comment=" + earlier}), "", kPlace + ";Ortsfelder nachgetragen",
         {kCity, kCity, kCity, "", "", earlier, true}},
        {"f_latin1.jpg", withGps({"-IPTC:Keywords=K\xC3\xB6ln"}), "",
         kPlace + ";Ortsfelder nur in XMP: IIM in anderem Zeichensatz", {"", kCity, kCity, "K\xC3\xB6ln", "", kPlace + "  ", false}},
        {"g_erweitert.jpg", withGps({}),
         xmpSegmentWith("<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'>"
                        "<rdf:Description rdf:about='' xmlns:xmpNote='http://ns.adobe.com/xmp/note/' "
                        "xmpNote:HasExtendedXMP='0123456789ABCDEF0123456789ABCDEF'/></rdf:RDF></x:xmpmeta>"),
         kPlace + ";Ortsfelder nur in IIM: erweitertes XMP", {kCity, "", "", "", "", kPlace + "  ", true}},
        {"h_app13.jpg", withGps({}), app13SegmentWith(photoshopResource(0x0404, iptcDataset(2, 25, "Alpen")).substr(0, 19)),
         kPlace + ";Ortsfelder nicht geschrieben: APP13-Ressource \xFC" "ber das Segmentende",
         {"", "", "", "", "", kPlace + "  ", false}},
        {"i_xmp.jpg", withGps({}), xmpSegmentWith("<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF"),
         kPlace + ";Ortsfelder nicht geschrieben: XMP nicht lesbar", {"", "", "", "", "", kPlace + "  ", false}},
    };
    std::vector<Photo> photos;
    for (const auto& c : cases)
        photos.push_back({c.name, c.tags});
    makePhotos(folder, photos);
    std::map<std::string, std::string> before;
    for (const auto& c : cases) {
        if (!c.segment.empty())
            writeFile(folder + "/" + c.name, withSegment(readFile(folder + "/" + c.name), c.segment));
        before[c.name] = readFile(folder + "/" + c.name);
    }
    const auto service = serviceAnswering({{kPosition, replyWithTypes()}});

    TForm1 form(folder, tmp.path(), geocoderAt(service->port()));
    form.nameCharset = "ISO-8859-1";
    EXPECT_FALSE(form.CBnurKommentar->isChecked());
    form.BFrage->click();
    form.FormClose();

    std::string log;
    for (const auto& c : cases)
        log += folder + "/" + c.name + ";" + kPosition + ";" + c.logEnd + "\r\n";
    EXPECT_EQ(readFile(tmp.file("protokoll.csv")), log);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = folder + "/" + c.name;
        const Fields read = fieldsOf(file);
        EXPECT_EQ(read.iimCity, c.fields.iimCity);
        EXPECT_EQ(read.xmpCity, c.fields.xmpCity);
        EXPECT_EQ(read.createdCity, c.fields.createdCity);
        EXPECT_EQ(read.keywords, c.fields.keywords);
        EXPECT_EQ(read.subject, c.fields.subject);
        EXPECT_EQ(read.comment, c.fields.comment);
        EXPECT_EQ(read.digestCurrent, c.fields.digestCurrent);
        EXPECT_EQ(imageDataPart(readFile(file)), imageDataPart(before[c.name]));
        if (!c.segment.empty()) {
            EXPECT_NE(readFile(file).find(c.segment), std::string::npos);  // the segment stays as it was
        }
    }

    // A second run finds every place written and rewrites nothing.
    std::map<std::string, std::string> written;
    for (const auto& c : cases)
        written[c.name] = readFile(folder + "/" + c.name);
    TForm1 again(folder, tmp.path(), geocoderAt(service->port()));
    again.BFrage->click();
    again.FormClose();
    std::string secondLog;
    for (const auto& c : cases) {
        secondLog += folder + "/" + c.name + ";Ortsinfo vorhanden; \r\n";
        EXPECT_EQ(readFile(folder + "/" + c.name), written[c.name]) << c.name;
    }
    EXPECT_EQ(readFile(tmp.file("protokoll.csv")), secondLog);
}

TEST(PlaceFields, NurKommentarWritesThePlaceIntoTheCommentAlone)
{
    TempDir tmp;
    makePhotos(tmp.path(), {{"a.jpg", withGps({})}});
    const auto service = serviceAnswering({{kPosition, replyWithTypes()}});
    TForm1 form(tmp.path(), tmp.path(), geocoderAt(service->port()));
    form.nameCharset = "ISO-8859-1";
    form.CBnurKommentar->setChecked(true);
    form.BFrage->click();
    form.FormClose();

    EXPECT_EQ(readFile(tmp.file("protokoll.csv")), tmp.path() + "/a.jpg;" + kPosition + ";" + kPlace + "\r\n");
    const Fields read = fieldsOf(tmp.file("a.jpg"));
    EXPECT_EQ(read.iimCity + read.xmpCity + read.createdCity, "");
    EXPECT_EQ(read.comment, kPlace + "  ");
}

// ExifTool's validation warnings on a file, without the line that counts them.
std::set<std::string> warningsOf(const std::string& file)
{
    std::set<std::string> warnings;
    std::istringstream lines(exifTool({"-validate", "-a", "-s3", "-Warning"}, file));
    std::string count;
    std::getline(lines, count);
    for (std::string line; std::getline(lines, line);)
        warnings.insert(line);
    return warnings;
}

// Real camera photos, and one that ExifTool gave keywords and XMP, tagged by the offline place
// run in German: ExifTool and exiv2 read the same place in IIM and XMP, the digest is
// current, and ExifTool's validation finds nothing the photo did not have before.
TEST(PlaceFields, PeersReadTheFieldsOfTaggedCameraPhotos)
{
    const std::string corpus = corpusDir();
    if (corpus.empty())
        GTEST_SKIP() << "no sample files";
    TempDir tmp;
    const std::string folder = tmp.path() + "/Fotos";
    makeFolder(folder);
    const std::vector<std::string> names = {"DSCN0010.jpg", "DSCN0021.jpg", "Kodak_CX7530.jpg", "Nikon_stichwort.jpg"};
    for (const std::string& name : names) {
        const std::string source = corpus + "/jpeg/" + (name == "Nikon_stichwort.jpg" ? "DSCN0012.jpg" : name);
        writeFile(folder + "/" + name, readFile(source));
    }
    exifTool({"-overwrite_original", "-IPTC:Keywords=Alpen", "-XMP-dc:Subject=Alpen", "-XMP-xmp:Rating=3"},
             folder + "/Nikon_stichwort.jpg");
    std::map<std::string, std::set<std::string>> warningsBefore;
    for (const std::string& name : names)
        warningsBefore[name] = warningsOf(folder + "/" + name);

    const ProgramResult run = runProgram({VISTADO_PROGRAM, "--orte", "Fotos/"},
                                         {.workingDirectory = tmp.path(),
                                          .environment = {{"LC_ALL", "C.UTF-8"}, {"LANGUAGE", "de"}}});
    ASSERT_EQ(run.exitStatus, 0) << run.err;

    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const std::string file = folder + "/" + name;
        std::istringstream lines(exifTool({"-s3", "-f", "-IPTC:City", "-XMP-photoshop:City",
                                           "-XMP-iptcExt:LocationCreatedCity", "-IPTCDigest", "-CurrentIPTCDigest",
                                           "-XMP-photoshop:Country", "-IPTC:Keywords"},
                                          file));
        std::vector<std::string> values;
        for (std::string line; std::getline(lines, line);)
            values.push_back(line);
        ASSERT_EQ(values.size(), 7u);
        EXPECT_NE(values[0], "-");
        EXPECT_EQ(values[1], values[0]);
        EXPECT_EQ(values[2], values[0]);
        EXPECT_EQ(values[3], values[4]);
        EXPECT_TRUE(values[5] == "Italien" || values[5] == "Kenia") << values[5];
        if (name == "Nikon_stichwort.jpg") {
            EXPECT_EQ(values[6], "Alpen");
            EXPECT_EQ(exifTool({"-s3", "-XMP-dc:Subject", "-XMP-xmp:Rating"}, file), "Alpen\n3");
        }
        for (const std::string& warning : warningsOf(file))
            EXPECT_TRUE(warningsBefore[name].contains(warning)) << warning;
        if (programAvailable("exiv2")) {
            EXPECT_NE(runProgram({"exiv2", "-pi", file}).out.find("Iptc.Application2.City"), std::string::npos);
            EXPECT_NE(runProgram({"exiv2", "-px", file}).out.find("Xmp.iptcExt.LocationCreated[1]/Iptc4xmpExt:City"),
                      std::string::npos);
        }
    }
}

}  // namespace
}  // namespace vistado::test
