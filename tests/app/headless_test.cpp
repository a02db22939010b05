// The program run without a window, as scripts and servers run it: the real binary in a
// working folder of its own, without a display.
#include "geocoderreplies.h"
#include "geocoderservice.h"
#include "gpxbuilder.h"
#include "photos.h"
#include "rawserver.h"
#include "runprogram.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vistado::test {

namespace {

class WithoutWindow : public ::testing::Test {
protected:
    // Runs vistado in the working folder; `geocoderHost` set: the geocoder is there, else
    // places come from the offline city list.
    ProgramResult vistado(const std::vector<std::string>& arguments, const std::string& geocoderHost = "",
                          const std::optional<std::string>& path = std::nullopt) const
    {
        std::vector<std::string> command{VISTADO_PROGRAM};
        command.insert(command.end(), arguments.begin(), arguments.end());
        ProgramOptions options;
        options.workingDirectory = tmp.path();
        options.environment = {
            {"DISPLAY", std::nullopt},
            {"WAYLAND_DISPLAY", std::nullopt},
            {"QT_QPA_PLATFORM", std::nullopt},
            {"LC_ALL", "C.UTF-8"},
            {"VISTADO_GEOCODER_KEY", std::nullopt},
            {"VISTADO_UPDATE_HOST", std::nullopt},
            {"VISTADO_GEOCODER_HOST", geocoderHost.empty() ? std::nullopt : std::optional<std::string>(geocoderHost)},
        };
        if (path)
            options.environment["PATH"] = *path;
        return runProgram(command, options);
    }

    bool exists(const std::string& name) const { return std::filesystem::exists(tmp.path() + "/" + name); }

    TempDir tmp;
};

TEST_F(WithoutWindow, ABadCommandLineEndsWithStatus2)
{
    writeFile(tmp.file("protokoll.csv"), "vom letzten Lauf\r\n");
    const std::vector<std::vector<std::string>> bad{
        {"--bogus"}, {"--orte", "a", "b"}, {"--help", "a"}, {"--gps-sichern", "a.jpg", "--orte"},
        {"--track", "t.gpx", "--zeitzone", "1"}, {"--track", "t.gpx", "--versatz", "1.5"}, {"--track"}};
    for (const auto& arguments : bad) {
        SCOPED_TRACE(testing::PrintToString(arguments));
        const ProgramResult result = vistado(arguments);
        EXPECT_EQ(result.exitStatus, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err.rfind("Aufruf: vistado", 0), 0u) << result.err;
        EXPECT_EQ(readFile(tmp.file("protokoll.csv")), "vom letzten Lauf\r\n");
    }
    const ProgramResult help = vistado({"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_NE(help.out.find("vistado --orte [PFAD]"), std::string::npos);
    EXPECT_TRUE(help.out.ends_with(".\n")) << help.out;
}

TEST_F(WithoutWindow, BackupAndRestoreOfAFileNamedLikeOptionsAndCommands)
{
    // Names that a shell, ExifTool's options or its argument stream would take for syntax,
    // each photo with a position of its own.
    const std::vector<std::string> names{
        "-x; \"y\" $(touch z).jpg", "mit Leerzeichen.jpg", " Leerzeichen vorn.jpg", "#kein Kommentar.jpg",
        "'einfach' \"doppelt\".jpg", "100%f %d.jpg", "caf\xE9.jpg", "-execute1.jpg",
    };
    makeFolder(tmp.file("Namen"));
    std::vector<Photo> photos;
    for (std::size_t i = 0; i < names.size(); ++i)
        photos.push_back({names[i], gpsTags(std::to_string(10 + i), i % 2 ? "S" : "N", std::to_string(20 + i), i % 2 ? "W" : "E")});
    photos.push_back({"umbruch.jpg", gpsTags("1", "N", "2", "E")});
    makePhotos(tmp.file("Namen"), photos);
    const std::string brokenName = "zeilen\numbruch.jpg";
    std::filesystem::rename(tmp.file("Namen/umbruch.jpg"), tmp.file("Namen/" + brokenName));

    const ProgramResult backup = vistado({"--gps-sichern", "Namen"});
    EXPECT_EQ(backup.exitStatus, 0) << backup.err;
    // Only the run log's lines: nothing ExifTool printed.
    EXPECT_EQ(backup.err.find("output files created"), std::string::npos) << backup.err;
    EXPECT_NE(backup.out.find("Namen/" + brokenName + ";hat GPS schreiben.. Dateiname mit Zeilenumbruch wird nicht unterst\xC3\xBCtzt\n"),
              std::string::npos) << backup.out;
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        EXPECT_NE(backup.out.find("Namen/" + name + ";hat GPS schreiben.. ok\n"), std::string::npos) << backup.out;
        const std::string base = name.substr(0, name.size() - 4);
        EXPECT_NE(readFile(tmp.file("Namen/gpstext/" + base + ".txt")).find("GPS Longitude"), std::string::npos);
    }
    EXPECT_EQ(folderEntries(tmp.file("Namen/gpstext")).size(), names.size());
    EXPECT_NE(backup.err.find("\nFertig: 8 gesichert"), std::string::npos) << backup.err;

    std::vector<std::string> strip{"exiftool", "-q", "-overwrite_original", "-gps:all="};
    for (const std::string& name : names)
        strip.push_back(tmp.file("Namen/" + name));
    runProgram(strip);
    const ProgramResult restore = vistado({"--gps-zurueck", "Namen"});
    EXPECT_EQ(restore.exitStatus, 0) << restore.err;
    EXPECT_EQ(restore.err.find("image files updated"), std::string::npos) << restore.err;
    for (std::size_t i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(names[i]);
        EXPECT_NE(restore.out.find("Namen/" + names[i] + "; zur\xC3\xBC" "ck.. ok\n"), std::string::npos) << restore.out;
        const std::string sign = i % 2 ? "-" : "";
        EXPECT_EQ(exifTool({"-s3", "-n", "-GPSPosition"}, tmp.file("Namen/" + names[i])),
                  sign + std::to_string(10 + i) + " " + sign + std::to_string(20 + i));
    }
    EXPECT_NE(restore.err.find("\nFertig: 8 zur\xC3\xBC" "ckgeholt"), std::string::npos) << restore.err;
    EXPECT_FALSE(exists("z"));
    EXPECT_FALSE(exists("Namen/z"));
}

TEST_F(WithoutWindow, ATrackGivesPositionsToPhotosWithoutOneAndThePlaceRunFindsThem)
{
    constexpr double kTen = 1717236000;  // 2024-06-01 10:00:00 UTC
    writeFile(tmp.file("tour.gpx"), gpxDocument({{{kTen, 48.1, 11.5, 500}, {kTen + 600, 48.2, 11.6, 600}}}));
    makeFolder(tmp.file("Tour"));
    const auto taken = [](const std::string& time) { return "-DateTimeOriginal=2024:06:01 " + time; };
    std::vector<std::string> withGps = gpsTags("1", "N", "2", "E");
    withGps.push_back(taken("12:06:00"));
    makePhotos(tmp.file("Tour"), {
        {"a.jpg", {taken("12:06:00")}},                                // zone +02:00, 60 s fast: halfway
        {"b.jpg", withGps},                                            // keeps its own position
        {"c.jpg", {taken("16:01:00")}},                                // long after the track
        {"d.jpg", cameraTags()},                                       // no time
        {"e.jpg", {taken("10:01:00"), "-OffsetTimeOriginal=+00:00"}},  // its own zone: on the first point
    });

    const ProgramResult run = vistado({"--track", "tour.gpx", "--zeitzone", "+02:00", "--versatz", "-60", "Tour"});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    const std::string lines = "Tour/a.jpg;48.150000,11.550000;300 s\n"
                              "Tour/b.jpg;hat GPS\n"
                              "Tour/c.jpg;keine Trackposition;13800 s\n"
                              "Tour/d.jpg;keine Aufnahmezeit;\n"
                              "Tour/e.jpg;48.100000,11.500000;0 s\n";
    EXPECT_EQ(run.out, lines);
    EXPECT_TRUE(("\n" + run.err).ends_with(
        "\nFertig: 2 Positionen geschrieben, 1 schon mit GPS, 1 ohne Trackposition, 1 ohne Aufnahmezeit\n")) << run.err;
    const struct {
        const char* name;
        const char* position;  // latitude, longitude and height, as ExifTool reads them back
    } photos[] = {
        {"a.jpg", "48.15\n11.55\n550"}, {"b.jpg", "1\n2"}, {"c.jpg", ""}, {"d.jpg", ""}, {"e.jpg", "48.1\n11.5\n500"},
    };
    for (const auto& photo : photos) {
        SCOPED_TRACE(photo.name);
        EXPECT_EQ(exifTool({"-s3", "-n", "-GPSLatitude", "-GPSLongitude", "-GPSAltitude"}, tmp.file("Tour/") + photo.name),
                  photo.position);
    }
    EXPECT_EQ(exifTool({"-s3", "-n", "-GPSPosition"}, tmp.file("Tour/a.jpg")), "48.15 11.55");

    const ProgramResult places = vistado({"--orte", "Tour"});
    EXPECT_EQ(places.exitStatus, 0) << places.err;
    EXPECT_NE(places.out.find("Tour/a.jpg;48.150000,11.550000;>"), std::string::npos) << places.out;
    EXPECT_NE(places.out.find("Tour/e.jpg;48.100000,11.500000;>"), std::string::npos) << places.out;
}

TEST_F(WithoutWindow, APlaceRunPrintsEachLogLineAsItIsWritten)
{
    makeFolder(tmp.file("Rom"));
    makePhotos(tmp.path() + "/Rom", {{"a.jpg", gpsTags("41.902782", "N", "12.496366", "E")}, {"b.jpg", cameraTags()}});
    const auto service = serviceAnswering({{"41.902782,12.496366", replyOk({"1", "Via del Corso", "Centro", "Roma", "Lazio", "Italia"})}});

    const ProgramResult run = vistado({"--orte", "Rom"}, "127.0.0.1:" + std::to_string(service->port()));
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.out, "Rom/a.jpg;41.902782,12.496366;>Via del Corso<>Centro<>Roma<>Lazio<>Italia<\n"
                       "Rom/b.jpg;kein GPS \n");
    EXPECT_TRUE(("\n" + run.err).ends_with("\nFertig: 1 Ort geschrieben, 1 ohne GPS\n")) << run.err;
    EXPECT_EQ(readFile(tmp.file("protokoll.csv")), "Rom/a.jpg;41.902782,12.496366;>Via del Corso<>Centro<>Roma<>Lazio<>Italia<\r\n"
                                         "Rom/b.jpg;kein GPS \r\n");
    EXPECT_EQ(exifTool({"-b", "-Comment"}, tmp.path() + "/Rom/a.jpg"), ">Via del Corso<>Centro<>Roma<>Lazio<>Italia<  ");
}

TEST_F(WithoutWindow, OfflineOutOfTheBox)
{
    makePhotos(tmp.path(), {{"arezzo.jpg", gpsTags("43.4633", "N", "11.8796", "E")}});
    const ProgramResult run = vistado({"--orte", "arezzo.jpg"});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.out, "arezzo.jpg;43.463300,11.879600;>Arezzo<>Tuscany<>Italy<>IT<\n");
    EXPECT_EQ(exifTool({"-b", "-Comment"}, tmp.path() + "/arezzo.jpg"), ">Arezzo<>Tuscany<>Italy<>IT<  ");
}

TEST_F(WithoutWindow, AGeocoderThatIsDownEndsTheRunWithStatus1)
{
    makePhotos(tmp.path(), {{"a.jpg", gpsTags("1.5", "N", "2.5", "E")}, {"b.jpg", gpsTags("3", "N", "4", "E")}});
    const RefusingPort down;
    const ProgramResult run = vistado({"--orte", ""}, "127.0.0.1:" + std::to_string(down.port()));
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.out, "a.jpg;1.500000,2.500000;\n");
    EXPECT_NE(run.err.find("Geocoder nicht erreichbar"), std::string::npos) << run.err;
    EXPECT_EQ(readFile(tmp.file("protokoll.csv")), "a.jpg;1.500000,2.500000;");
}

TEST_F(WithoutWindow, AnErrorEndsTheRunWithStatus1)
{
    makeFolder(tmp.file("protokoll.csv"));
    writeFile(tmp.file("a.jpg"), "");
    const ProgramResult run = vistado({"--gps-sichern", ""});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("vistado: ./protokoll.csv: "), std::string::npos) << run.err;
}

TEST_F(WithoutWindow, AnExistingFolderIsAFolderWhateverItsName)
{
    makeFolder(tmp.file("Urlaub.2010"));
    makePhotos(tmp.path() + "/Urlaub.2010", {{"a.jpg", cameraTags()}});
    writeFile(tmp.file("b.jpg"), "");
    const ProgramResult dot = vistado({"--orte", "."});
    EXPECT_EQ(dot.exitStatus, 0) << dot.err;
    EXPECT_EQ(dot.out, "./b.jpg;keine Exif Daten \n");
    const ProgramResult dotted = vistado({"--gps-sichern", "Urlaub.2010"});
    EXPECT_EQ(dotted.exitStatus, 0) << dotted.err;
    EXPECT_EQ(dotted.out, "Urlaub.2010/a.jpg; -  \n");
}

TEST_F(WithoutWindow, NothingToRunOverIsSaidAndTheRunLogStays)
{
    writeFile(tmp.file("protokoll.csv"), "vom letzten Lauf\r\n");
    makeFolder(tmp.file("leer"));
    writeFile(tmp.file("leer/notiz.txt"), "");
    writeFile(tmp.file("a.png"), "");
    const std::string tooLong(300, 'x');
    struct Case {
        std::vector<std::string> arguments;
        int exitStatus;
        std::string err;
        std::optional<std::string> path = std::nullopt;  // PATH, here one without exiftool
    };
    makeFolder(tmp.file("voll"));
    writeFile(tmp.file("voll/a.jpg"), "");
    const std::string missing = "ExifTool nicht gefunden: bitte das Paket libimage-exiftool-perl installieren\n";
    writeFile(tmp.file("t.gpx"), gpxDocument({{{0, 1, 2, std::nullopt}}}));
    writeFile(tmp.file("kaputt.gpx"), gpxBegin() + "<trkseg>");
    std::vector<Case> cases{
        {{"--track", "t.gpx", "--track", "kaputt.gpx", "voll"}, 2, "Track nicht lesbar: kaputt.gpx: Zeile 4: no element found\n"},
        {{"--track", "t.gpx", "voll"}, 2, missing, tmp.path()},
        {{"--orte", "nix"}, 2, "Pfad nicht gefunden: nix\n"},
        {{"--gps-sichern", "voll"}, 2, missing, tmp.path()},
        {{"--gps-zurueck", "voll"}, 2, missing, tmp.path()},
        {{"--gps-zurueck", "leer/nix.jpg"}, 2, "Pfad nicht gefunden: leer/nix.jpg\n"},
        {{"--orte", "leer"}, 0, "keine JPEG-Dateien in leer\n"},
        {{"--gps-sichern", tooLong}, 2, "Ordner nicht lesbar: " + tooLong + "\n"},
        {{"--orte", "a.png"}, 2, "keine JPEG-Datei: a.png\n"},
        {{"--gps-sichern", "leer/nix.jpeg"}, 2, "keine JPEG-Datei: leer/nix.jpeg\n"},
    };
    // Permissions hold back everybody but root.
    if (geteuid() != 0) {
        makeFolder(tmp.file("zu"));
        std::filesystem::permissions(tmp.file("zu"), std::filesystem::perms::none);
        cases.push_back({{"--orte", "zu"}, 2, "Ordner nicht lesbar: zu\n"});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        const ProgramResult run = vistado(c.arguments, "", c.path);
        EXPECT_EQ(run.exitStatus, c.exitStatus);
        EXPECT_TRUE(("\n" + run.err).ends_with("\n" + c.err)) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(readFile(tmp.file("protokoll.csv")), "vom letzten Lauf\r\n");
    }
    if (geteuid() != 0)
        std::filesystem::permissions(tmp.file("zu"), std::filesystem::perms::owner_all);
}

TEST_F(WithoutWindow, APhotoThatCannotBeWrittenGivesStatus1AfterTheWholeRun)
{
    makePhotos(tmp.path(), {{"a.jpg", gpsTags("1", "N", "1", "E")}, {"b.jpg", gpsTags("3", "N", "3", "E")}});
    const std::string photo = readFile(tmp.file("a.jpg"));
    writeFile(tmp.file("a.jpg"), photo.substr(0, photo.find("\xFF\xDB")) + "\xFF\xD9");
    const auto service = serviceAnswering({{"1.000000,1.000000", replyOk({"0", "Eins", "b", "c", "d"})},
                                           {"3.000000,3.000000", replyOk({"0", "Drei", "b", "c", "d"})}});

    const ProgramResult run = vistado({"--orte", ""}, "127.0.0.1:" + std::to_string(service->port()));
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_TRUE(("\n" + run.err).ends_with("\n1 Bild konnte nicht geschrieben werden\nFertig: 1 Ort geschrieben, 1 Fehler\n"))
        << run.err;
    EXPECT_EQ(run.out.rfind("a.jpg;1.000000,1.000000;>Eins<>b<>c<>d<;Fehler: JPEG-Fehler #", 0), 0u) << run.out;
    EXPECT_TRUE(run.out.ends_with("\nb.jpg;3.000000,3.000000;>Drei<>b<>c<>d<\n")) << run.out;
}

}  // namespace

}  // namespace vistado::test
