// The IPTC record list: parsing APP13 segments, the record operations, comma
// lists, and the values ExifTool reads from a real file.

#include "meta/imagefiletest.h"
#include "realjpeg.h"
#include "runprogram.h"

#include "meta/iptc/commalist.h"
#include "meta/iptc/iptc.h"
#include "meta/iptc/iptctable.h"
#include "meta/rangeerror.h"

#include <map>
#include <sstream>

namespace vistado::test {
namespace {

// The segment as the container holds it: length field and payload, no marker.
std::string heldSegment(const std::string& datasets)
{
    return iptcSegmentWith(datasets).substr(2);
}

class IptcTest : public ImageFileTest {
protected:
    // key=text pairs of the list, in order.
    std::vector<std::string> records() const
    {
        std::vector<std::string> pairs;
        for (int32_t i = 0; i < list.RecordCount(); ++i) {
            const TTagEntry record = list.RecordAt(i);
            pairs.push_back(record.key + "=" + record.text);
        }
        return pairs;
    }
    void parse(const std::string& datasets) { list.ParseSegment(heldSegment(datasets)); }

    TIPTCdata list{image};
};

using Pairs = std::vector<std::string>;

TEST(IptcTable, RowsInOrder)
{
    const auto table = iptcDatasetTable();
    ASSERT_EQ(table.size(), 49u);
    EXPECT_EQ(table[0].key, "SKIP");
    EXPECT_EQ(table[0].tagId, 0);
    EXPECT_EQ(table[11].key, "Keywords");
    EXPECT_EQ(table[11].tagId, 25);
    EXPECT_EQ(table[11].maxLength, 64);
    EXPECT_EQ(table[43].caption, "Image caption");
    EXPECT_EQ(table[43].maxLength, 2000);
    EXPECT_EQ(table[48].recordNumber, 8);
    EXPECT_EQ(table[48].key, "Subfile");
    // Rows of record 2 are in ascending dataset order, so a row out of place shows.
    for (size_t i = 0; i + 1 < 48; ++i) {
        EXPECT_EQ(table[i].recordNumber, 2) << i;
        EXPECT_LT(table[i].tagId, table[i + 1].tagId) << i;
    }
    EXPECT_EQ(TIPTCdata::TableIndexOf("skip"), 0);
    EXPECT_EQ(TIPTCdata::TableIndexOf("KEYWORDS"), 11);
    EXPECT_EQ(TIPTCdata::TableIndexOf("Custom_25"), -1);
}

TEST_F(IptcTest, KeywordsMergeIgnoringCaseAndTheRecordVersionIsNeverStored)
{
    parse(iptcDataset(2, 0, std::string("\0\x02", 2)) + iptcDataset(2, 25, "alpha") +
          iptcDataset(2, 25, "beta") + iptcDataset(2, 25, "Alpha") + iptcDataset(2, 120, "text"));
    EXPECT_EQ(records(), (Pairs{"Keywords=alpha,beta", "ImageCaption=text"}));
    const TTagEntry caption = list.RecordAt(1);
    EXPECT_EQ(caption.caption, "Image caption");
    EXPECT_EQ(caption.recordNumber, 2);
    EXPECT_EQ(caption.tagId, 120);
    EXPECT_EQ(caption.maxLength, 2000);
}

// Each dataset's value is one item of the comma list, written in quotes when
// it holds a blank, a comma or a quote, so that splitting gives it back.
TEST_F(IptcTest, EachDatasetIsOneListItem)
{
    parse(iptcDataset(2, 25, "New York") + iptcDataset(2, 25, "Rom") + iptcDataset(2, 25, "new york") +
          iptcDataset(2, 20, "Supp Cat 1, Supp Cat 2") + iptcDataset(2, 20, "say \"hi\""));
    EXPECT_EQ(records(), (Pairs{"Keywords=\"New York\",Rom", "SuppCategory=\"Supp Cat 1, Supp Cat 2\",\"say \"\"hi\"\"\""}));
    EXPECT_EQ(splitCommaList(list.ValueOf("SuppCategory", "")),
              (std::vector<std::string>{"Supp Cat 1, Supp Cat 2", "say \"hi\""}));
}

TEST_F(IptcTest, RepeatedDatasetsOutsideTheListSetStaySeparate)
{
    parse(iptcDataset(2, 80, "first") + iptcDataset(2, 80, "second"));
    EXPECT_EQ(records(), (Pairs{"ByLine=first", "ByLine=second"}));
    EXPECT_EQ(list.FindRecord("byline"), 0);
    EXPECT_EQ(list.ValueOf("BYLINE", "none"), "first");
    EXPECT_EQ(list.PutValue("ByLine", "changed"), 0);
    list.DeleteRecord("ByLine");
    EXPECT_EQ(records(), (Pairs{"ByLine=second"}));
    list.DeleteRecord("ByLine");
    EXPECT_FALSE(list.HasRecords());
    EXPECT_EQ(list.ValueOf("ByLine", "none"), "none");
}

TEST_F(IptcTest, DatasetsOutsideTheTable)
{
    parse(iptcDataset(2, 200, "x") + iptcDataset(8, 25, "dropped") + iptcDataset(8, 20, "dropped") +
          iptcDataset(8, 10, "s") + iptcDataset(1, 90, "envelope") + iptcDataset(3, 5, "other") +
          iptcDataset(2, 90, "Berlin"));
    EXPECT_EQ(records(), (Pairs{"Custom_200=x", "Subfile=s", "City=Berlin"}));
    const TTagEntry custom = list.RecordAt(0);
    EXPECT_EQ(custom.caption, "Custom_200");
    EXPECT_EQ(custom.maxLength, 64);
    EXPECT_EQ(custom.tagId, 200);

    EXPECT_EQ(list.PutValue("custom_200", "y"), 0);
    EXPECT_EQ(list.ValueOf("Custom_200", ""), "y");
    EXPECT_EQ(list.StoreValue("Custom_200", "z"), -1);
    EXPECT_EQ(list.PutValue("Custom_201", "z"), -1);
    EXPECT_EQ(list.RecordCount(), 3);
}

TEST_F(IptcTest, SkipRowIsNeverStored)
{
    EXPECT_EQ(list.PutValue("SKIP", "x"), -1);
    EXPECT_FALSE(list.HasRecords());
    list.PutValue("City", "Bonn");
    EXPECT_EQ(list.PutValue("skip", "x"), 0);
    EXPECT_EQ(list.RecordCount(), 1);
}

TEST_F(IptcTest, StoreValueMergesListsAndKeepsValuesOnEmptyText)
{
    EXPECT_EQ(list.StoreValue("keywords", "a, b"), 0);
    EXPECT_EQ(list.StoreValue("KEYWORDS", "b,c"), 0);
    EXPECT_EQ(list.StoreValue("City", "Berlin"), 1);
    EXPECT_EQ(list.StoreValue("City", ""), 1);
    EXPECT_EQ(list.StoreValue("Nonsense", "x"), -1);
    EXPECT_EQ(records(), (Pairs{"Keywords=a,b,c", "City=Berlin"}));
    EXPECT_EQ(list.RecordAt(0).caption, "Keywords");
}

TEST_F(IptcTest, SegmentScan)
{
    struct ScanCase {
        const char* name;
        std::string segment;
        Pairs records;
    };
    const std::string city = iptcDataset(2, 90, "Rom");
    // A held segment: length field, then the payload.
    auto held = [](const std::string& payload) {
        const size_t length = payload.size() + 2;
        return std::string{static_cast<char>(length >> 8), static_cast<char>(length & 0xFF)} + payload;
    };
    const ScanCase cases[] = {
        {"without the signature the scan starts at offset 12",
         held(std::string(3, 'x') + city + std::string(5, 'y') + iptcDataset(2, 92, "Trastevere")),
         {"SubLocation=Trastevere"}},
        {"no tag marker followed by 2 or 8", held("Photoshop 3.0\x1C\x03\x1C\x01zzzz"), {}},
        {"a marker as the very last byte", held("Photoshop 3.0" + std::string(10, 'z') + "\x1C"), {}},
        {"a value running past the end is cut and ends the walk",
         held("Photoshop 3.0" + city + std::string("\x1C\x02\x78\x00\x40short", 10)),
         {"City=Rom", "ImageCaption=short"}},
        {"a dataset of four header bytes and no value at the very end",
         held("Photoshop 3.0" + city + std::string("\x1C\x02\x7A\x00\x00", 5)),
         {"City=Rom", "ImageCaptionWriter="}},
    };
    for (const ScanCase& c : cases) {
        SCOPED_TRACE(c.name);
        list.PutValue("ObjectName", "left over");
        list.ParseSegment(c.segment);
        EXPECT_EQ(records(), c.records);
    }
}

TEST_F(IptcTest, GrowthKeepsOneEntrySpare)
{
    TTagEntry entry = iptcDatasetTable()[32];
    EXPECT_EQ(list.recordCapacity(), 0);
    for (int32_t i = 0; i < 24; ++i)
        EXPECT_EQ(list.AppendRecord(entry), i);
    EXPECT_EQ(list.recordCapacity(), 25);
    EXPECT_EQ(list.AppendRecord(entry), 24);
    EXPECT_EQ(list.recordCapacity(), 50);
    for (int32_t i = 25; i < 49; ++i)
        list.AppendRecord(entry);
    EXPECT_EQ(list.recordCapacity(), 50);
    EXPECT_EQ(list.AppendRecord(entry), 49);
    EXPECT_EQ(list.recordCapacity(), 75);

    entry.tagId = 0;
    EXPECT_EQ(list.AppendRecord(entry), 49);
    EXPECT_EQ(list.RecordCount(), 50);

    list.ClearRecords();
    EXPECT_FALSE(list.HasRecords());
    EXPECT_EQ(list.recordCapacity(), 75);
    EXPECT_THROW(list.RecordAt(0), ERangeError);
}

TEST_F(IptcTest, TheContainerCreatesItsListAtTheFirstApp13AndFreesItOnTheNextOpen)
{
    ASSERT_TRUE(open(jpegFile({iptcSegmentWith(iptcDataset(2, 90, "Rom")),
                               iptcSegmentWith(iptcDataset(2, 90, "Wien")), scanSegment()})));
    ASSERT_NE(image.iptcList, nullptr);
    EXPECT_EQ(&image.iptcList->container(), &image);
    EXPECT_FALSE(image.iptcList->HasRecords()) << "filled only on demand";
    image.iptcList->ParseSegment(image.iptcSection->bytes);
    EXPECT_EQ(image.iptcList->ValueOf("City", ""), "Rom");

    ASSERT_TRUE(open(jpegFile({commentSegment("no IPTC"), scanSegment()})));
    EXPECT_EQ(image.iptcList, nullptr);
}

TEST_F(IptcTest, LoadFromImage)
{
    const std::string path = dir.file("iptc.jpg");
    writeFile(path, jpegFile({iptcSegmentWith(iptcDataset(2, 25, "a") + iptcDataset(2, 25, "b")), scanSegment()}));
    writeFile(dir.file("plain.jpg"), jpegFile({commentSegment("no IPTC"), scanSegment()}));

    // A list of the client's own: the owner opens the file, the list parses it.
    EXPECT_TRUE(list.LoadFromImage(path));
    EXPECT_EQ(records(), (Pairs{"Keywords=a,b"}));
    EXPECT_EQ(image.sourcePath, path);
    EXPECT_FALSE(list.LoadFromImage(dir.file("plain.jpg")));
    EXPECT_FALSE(list.HasRecords());
    EXPECT_FALSE(list.LoadFromImage(dir.file("absent.jpg")));

    // The owner's own list would be destroyed by the owner's open: refused,
    // and nothing changes.
    ASSERT_TRUE(image.OpenImage(path));
    TIPTCdata* own = image.iptcList.get();
    own->ParseSegment(image.iptcSection->bytes);
    EXPECT_FALSE(own->LoadFromImage(dir.file("plain.jpg")));
    EXPECT_EQ(image.iptcList.get(), own);
    EXPECT_EQ(image.sourcePath, path);
    EXPECT_EQ(own->ValueOf("Keywords", ""), "a,b");
}

TEST(CommaLists, Merge)
{
    struct MergeCase {
        const char* existing;
        const char* added;
        const char* merged;
    };
    const MergeCase cases[] = {
        {"", "a, b", "a,b"},
        {"a,b", "B,c", "a,b,c"},
        {"", "New York", "New,York"},
        {"", "\"New York\"", "\"New York\""},
        {"x", "\"a,b\" , \"say \"\"hi\"\"\"", "x,\"a,b\",\"say \"\"hi\"\"\""},
        {"", ",", "\"\""},
        {"a", "b,", "a,b,"},
        {"", "", ""},
        {"a", "", "a"},
        // Latin-1 letters fold, as in the Western 8-bit character set.
        {"\xC4rger", "\xE4RGER,\xFC", "\xC4rger,\xFC"},
        {"\xDC", "\xFC", "\xDC"},
        // ß has no capital in it, and × is no letter.
        {"\xDF", "\xFF", "\xDF,\xFF"},
        {"\xD7", "\xF7", "\xD7,\xF7"},
        // UTF-8: only ASCII letters fold, and no two characters become one.
        {"\xC3\x8A", "\xC3\x9A", "\xC3\x8A,\xC3\x9A"},
        {"Stra\xC3\x9F" "e", "STRA\xC3\x9F" "E", "Stra\xC3\x9F" "e"},
    };
    for (const MergeCase& c : cases)
        EXPECT_EQ(MergeCommaLists(c.existing, c.added), c.merged) << c.existing << " + " << c.added;
}

TEST(CommaLists, SplitAndJoin)
{
    EXPECT_EQ(splitCommaList("  a ,b,,c"), (std::vector<std::string>{"a", "b", "", "c"}));
    EXPECT_EQ(splitCommaList(std::string("a\0b", 3)), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(splitCommaList("\"open"), (std::vector<std::string>{"open"}));
    EXPECT_EQ(joinCommaList({"tab\there", "plain", ""}), "\"tab\there\",plain,");
    EXPECT_EQ(joinCommaList({}), "");
}

// The dataset number and value of each IPTC tag that ExifTool reads.
std::multimap<int, std::string> exifToolIptc(const std::string& file)
{
    const ProgramResult result = runProgram({"exiftool", "-IPTC:all", "-a", "-D", "-s", "-n", "-sep", ",", file});
    std::multimap<int, std::string> values;
    std::istringstream lines(result.out);
    std::string line;
    while (std::getline(lines, line)) {
        const size_t colon = line.find(" : ");
        if (colon != std::string::npos)
            values.emplace(std::stoi(line), line.substr(colon + 3));
    }
    return values;
}

TEST_F(IptcTest, SampleFileAgreesWithExifTool)
{
    const std::string corpus = corpusDir();
    if (corpus.empty() || !programAvailable("exiftool"))
        GTEST_SKIP() << "no sample files or no exiftool";
    const std::string file = corpus + "/jpeg/et_IPTC.jpg";
    std::multimap<int, std::string> expected = exifToolIptc(file);
    ASSERT_GT(expected.size(), 10u);
    expected.erase(0);  // the record version is never stored
    // ExifTool shows IIM dates as YYYY:MM:DD.
    for (auto& [dataset, value] : expected)
        if (dataset == 55)
            std::erase(value, ':');

    EXPECT_TRUE(list.LoadFromImage(file));
    std::multimap<int, std::string> read;
    for (int32_t i = 0; i < list.RecordCount(); ++i) {
        const TTagEntry record = list.RecordAt(i);
        EXPECT_EQ(record.recordNumber, 2) << record.key;
        read.emplace(record.tagId, record.text);
    }
    EXPECT_EQ(read, expected);
    EXPECT_EQ(list.ValueOf("Keywords", ""), "ExifTool,Test,IPTC");
}

// Keywords with blanks and commas, written by ExifTool, read back item by
// item.
TEST_F(IptcTest, ListItemsWrittenByExifTool)
{
    if (!programAvailable("exiftool"))
        GTEST_SKIP() << "no exiftool";
    TempDir dir;
    const std::string file = dir.file("keywords.jpg");
    writeFile(file, realJpeg(16, 16));
    ASSERT_EQ(runProgram({"exiftool", "-q", "-overwrite_original", "-Keywords=New York", "-Keywords=Rom, Latium",
                          "-Keywords=Tal", "-SupplementalCategories=Supp Cat 1", file})
                  .exitStatus,
              0);
    EXPECT_TRUE(list.LoadFromImage(file));
    EXPECT_EQ(splitCommaList(list.ValueOf("Keywords", "")),
              (std::vector<std::string>{"New York", "Rom, Latium", "Tal"}));
    EXPECT_EQ(splitCommaList(list.ValueOf("SuppCategory", "")), std::vector<std::string>{"Supp Cat 1"});
}

}  // namespace
}  // namespace vistado::test
