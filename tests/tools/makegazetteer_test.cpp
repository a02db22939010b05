// The converter that makes the gazetteer out of GeoNames' list, run as the build runs it, and
// its output read back.
#include "places/gazetteer.h"

#include "messageslocale.h"
#include "runprogram.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace vistado::test {
namespace {

const char* const kCities = R"json([
{"name":"Vienna","lat":"48.20849","lng":"16.37208","country":"AT","admin1":"09","admin2":"900"},
{"name":"Vienna","lat":"47.0","lng":"15.0","country":"AT","admin1":"09","admin2":""},
{"name":"Montepulciano","lat":"43.09998","lng":"11.78704","country":"IT","admin1":"16","admin2":"SI"},
{"name":"Vatican City","lat":"41.90268","lng":"12.45414","country":"VA","admin1":"","admin2":""},
{"name":"Nowhere","lat":"1","lng":"1","country":"IT","admin1":"99","admin2":""}
])json";
const char* const kAdmin1 = R"json([{"code":"AT.09","name":"Vienna"},{"code":"IT.16","name":"Tuscany"}])json";
const char* const kIso3166 = R"json({"3166-1":[{"alpha_2":"VA","name":"Holy See (Vatican City State)"}]})json";

class MakeGazetteerTest : public testing::Test {
protected:
    void SetUp() override
    {
        writeFile(dir.file("cities.json"), kCities);
        writeFile(dir.file("admin1.json"), kAdmin1);
        writeFile(dir.file("iso_3166-1.json"), kIso3166);
    }
    void TearDown() override { useEnglishMessages(); }

    ProgramResult convert() const
    {
        return runProgram({VISTADO_MAKEGAZETTEER, dir.file("cities.json"), dir.file("admin1.json"),
                           dir.file("iso_3166-1.json"), output()});
    }
    std::string output() const { return dir.file("places.bin"); }

    TempDir dir;
};

std::string placeAt(const Gazetteer& gazetteer, Position at)
{
    const auto found = gazetteer.nearest(at, 1.0);
    if (!found)
        return "none";
    const Place& p = found->place;
    return p.name + "|" + p.state + "|" + p.country + "|" + p.countryCode;
}

// libgeonames' Vienna lends its translations to the list's Vienna beside it, not to a namesake
// farther away; regions and countries translate by their codes.
TEST_F(MakeGazetteerTest, ReadsBackWithLibgeonamesNames)
{
    const ProgramResult run = convert();
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const Gazetteer gazetteer(output());
    EXPECT_EQ(gazetteer.size(), 5u);

    useEnglishMessages();
    EXPECT_EQ(placeAt(gazetteer, {48.20849, 16.37208}), "Vienna|Vienna|Austria|AT");
    EXPECT_EQ(placeAt(gazetteer, {41.90268, 12.45414}), "Vatican City||Holy See (Vatican City State)|VA");
    EXPECT_EQ(placeAt(gazetteer, {1, 1}), "Nowhere||Italy|IT");

    if (const std::string missing = useGermanMessages(); !missing.empty())
        GTEST_SKIP() << missing;
    EXPECT_EQ(placeAt(gazetteer, {48.20849, 16.37208}), "Wien|Wien|\xC3\x96sterreich|AT");
    EXPECT_EQ(placeAt(gazetteer, {47.0, 15.0}), "Vienna|Wien|\xC3\x96sterreich|AT");
    EXPECT_EQ(placeAt(gazetteer, {43.09998, 11.78704}), "Montepulciano|Toskana|Italien|IT");
}

TEST_F(MakeGazetteerTest, BadInputMakesNoFile)
{
    const struct {
        const char* what;
        const char* file;
        const char* content;
    } cases[] = {
        {"not JSON", "cities.json", "[{\"name\":"},
        {"a latitude that is no number", "cities.json",
         R"json([{"name":"A","lat":"north","lng":"1","country":"IT","admin1":"","admin2":""}])json"},
        {"a place outside the earth", "cities.json",
         R"json([{"name":"A","lat":"91","lng":"1","country":"IT","admin1":"","admin2":""}])json"},
        {"a country without a name", "cities.json",
         R"json([{"name":"A","lat":"1","lng":"1","country":"QQ","admin1":"","admin2":""}])json"},
        {"a place without a name", "cities.json", R"json([{"lat":"1","lng":"1","country":"IT","admin1":""}])json"},
        {"no places", "cities.json", "[]"},
        {"regions without codes", "admin1.json", R"json([{"name":"Tuscany"}])json"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        writeFile(dir.file(c.file), c.content);
        const ProgramResult run = convert();
        EXPECT_EQ(run.exitStatus, 1);
        EXPECT_NE(run.err.find("vistado-makegazetteer: "), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(output()));
    }
}

}  // namespace
}  // namespace vistado::test
