// The offline places on photos taken in villages and along borders on every continent: real
// JPEG images whose positions ExifTool writes, tagged by vistado-meta --place and by the place
// run of the real program, which share one lookup.
#include "photos.h"
#include "runprogram.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vistado::test {
namespace {

struct Village {
    const char* what;
    const char* latitude;  // decimal degrees, "-" for south
    const char* longitude;  // "-" for west
    const char* placeText;
};

// Positions a few hundred metres from the village's own, most of them a few km from a place
// across a border.
const Village kVillages[] = {
    {"Ehrwald, below the Zugspitze", "47.4167", "10.9833", ">Ehrwald<>Tyrol<>Austria<>AT<"},
    {"Montepulciano", "43.0932", "11.7806", ">Montepulciano<>Tuscany<>Italy<>IT<"},
    {"Corvara in Badia, Dolomites", "46.5490", "11.8720", ">Corvara in Badia<>Trentino-Alto Adige<>Italy<>IT<"},
    {"Laufenburg on the Swiss bank", "47.5585", "8.0625", ">Laufenburg<>Aargau<>Switzerland<>CH<"},
    {"Laufenburg on the German bank", "47.5660", "8.0600", ">Laufenburg<>Baden-Wurttemberg<>Germany<>DE<"},
    {"Baarle-Hertog", "51.4060", "4.8930", ">Baarle-Hertog<>Flanders<>Belgium<>BE<"},
    {"Valka", "57.7740", "26.0080", ">Valka<>Valka<>Latvia<>LV<"},
    {"Valga", "57.7790", "26.0500", ">Valga<>Valgamaa<>Estonia<>EE<"},
    {"Gorizia", "45.9400", "13.6180", ">Gorizia<>Friuli Venezia Giulia<>Italy<>IT<"},
    {"Herzogenrath", "50.8690", "6.0960", ">Herzogenrath<>North Rhine-Westphalia<>Germany<>DE<"},
    {"Rosso on the Senegal", "16.5140", "-15.8060", ">Rosso<>Trarza<>Mauritania<>MR<"},
    {"Kazungula", "-17.7950", "25.2760", ">Kazungula<>Southern Province<>Zambia<>ZM<"},
    {"Namanga", "-2.5520", "36.7850", ">Namanga<>Arusha<>Tanzania<>TZ<"},
    {"Chefchaouen", "35.1700", "-5.2650", ">Chefchaouen<>Tanger-Tetouan-Al Hoceima<>Morocco<>MA<"},
    {"Namche Bazaar", "27.8040", "86.7110", ">Namche Bazaar<>Koshi<>Nepal<>NP<"},
    {"Ubud", "-8.5070", "115.2630", ">Ubud<>Bali<>Indonesia<>ID<"},
    {"Stanstead", "45.0160", "-72.0930", ">Stanstead<>Quebec<>Canada<>CA<"},
    {"Moab", "38.5740", "-109.5500", ">Moab<>Utah<>United States of America<>US<"},
    {"Puerto Iguaz\xC3\xBA", "-25.6000", "-54.5750", ">Puerto Iguaz\xC3\xBA<>Misiones<>Argentina<>AR<"},
    {"Foz do Igua\xC3\xA7u", "-25.5470", "-54.5870", ">Foz do Igua\xC3\xA7u<>Paran\xC3\xA1<>Brazil<>BR<"},
    {"San Pedro de Atacama", "-22.9110", "-68.2000", ">San Pedro de Atacama<>Antofagasta<>Chile<>CL<"},
    {"Hahndorf", "-35.0290", "138.8090", ">Hahndorf<>South Australia<>Australia<>AU<"},
    {"Queenstown", "-45.0310", "168.6620", ">Queenstown<>Otago<>New Zealand<>NZ<"},
    {"Longyearbyen", "78.2230", "15.6400", ">Longyearbyen<>Svalbard<>Svalbard and Jan Mayen<>SJ<"},
};

class OfflineVillages : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::filesystem::exists(VISTADO_GAZETTEER_FILE))
            GTEST_SKIP() << "no gazetteer built at " << VISTADO_GAZETTEER_FILE;
    }

    ProgramResult run(std::vector<std::string> command) const
    {
        ProgramOptions options;
        options.workingDirectory = tmp.path();
        options.environment = {{"LC_ALL", "C.UTF-8"},           {"LANGUAGE", std::nullopt},
                               {"DISPLAY", std::nullopt},        {"QT_QPA_PLATFORM", std::nullopt},
                               {"VISTADO_GEOCODER_KEY", std::nullopt}, {"VISTADO_GEOCODER_HOST", std::nullopt},
                               {"VISTADO_UPDATE_HOST", std::nullopt}};
        return runProgram(command, options);
    }

    TempDir tmp;
};

std::string photoName(std::size_t number)
{
    return "photo" + std::to_string(number) + ".jpg";
}

std::vector<std::string> signedGpsTags(const Village& village)
{
    const std::string latitude = village.latitude, longitude = village.longitude;
    return gpsTags(latitude.starts_with('-') ? latitude.substr(1) : latitude, latitude.starts_with('-') ? "S" : "N",
                   longitude.starts_with('-') ? longitude.substr(1) : longitude,
                   longitude.starts_with('-') ? "W" : "E");
}

TEST_F(OfflineVillages, NameTheVillageAndItsCountry)
{
    std::vector<Photo> photos;
    std::vector<std::string> metaCommand{VISTADO_META_TOOL, "--place"};
    std::string expected;
    for (std::size_t i = 0; i < std::size(kVillages); ++i) {
        photos.push_back({photoName(i), signedGpsTags(kVillages[i])});
        metaCommand.push_back(photoName(i));
        expected += (i == 0 ? "" : "\n") + photoName(i) + ":\n" + kVillages[i].placeText + "\n";
    }
    makePhotos(tmp.path(), photos);

    const ProgramResult meta = run(metaCommand);
    EXPECT_EQ(meta.exitStatus, 0) << meta.err;
    EXPECT_EQ(meta.err, "");
    EXPECT_EQ(meta.out, expected);

    // The place run writes the same place texts into the photos.
    makeFolder(tmp.file("run"));
    for (std::size_t i = 0; i < 3; ++i)
        std::filesystem::copy_file(tmp.file(photoName(i)), tmp.file("run/" + photoName(i)));
    const ProgramResult placeRun = run({VISTADO_PROGRAM, "--orte", "run/"});
    EXPECT_EQ(placeRun.exitStatus, 0) << placeRun.err;
    EXPECT_EQ(placeRun.err.find("offline places"), std::string::npos) << placeRun.err;
    for (std::size_t i = 0; i < 3; ++i) {
        const std::string text = kVillages[i].placeText;
        EXPECT_NE(placeRun.out.find(";" + text + "\n"), std::string::npos) << placeRun.out;
        EXPECT_EQ(exifTool({"-b", "-Comment"}, tmp.file("run/" + photoName(i))), text + "  ");
    }
}

}  // namespace
}  // namespace vistado::test
