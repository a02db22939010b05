#include "app/errormessage.h"
#include "app/exiftool/exiftoolcalls.h"
#include "fakeexiftool.h"
#include "formprobe.h"
#include "gpxbuilder.h"
#include "meta/container/imgdata.h"
#include "meta/text/settings.h"
#include "pathchange.h"
#include "photos.h"
#include "runprogram.h"
#include "testfiles.h"
#include "app/vistado4.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <charconv>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace vistado::test {

namespace {

namespace fs = std::filesystem;

// ExifTool's lines for the two positions the photos carry, as the backup keeps them.
const std::string kNorthEastLines = "GPS Latitude                    : 48 deg 8' 13.75\" N\n"
                                    "GPS Longitude                   : 11 deg 34' 34.05\" E\n";
const std::string kSouthWestLines = "GPS Latitude                    : 33 deg 51' 24.42\" S\n"
                                    "GPS Longitude                   : 70 deg 7' 24.44\" W\n";

// A number with "." as decimal separator, whatever the locale says.
double number(const std::string& text)
{
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

class GpsBackupRun : public ::testing::Test {
protected:
    GpsBackupRun()
    {
        makeFolder(tmp.file("Urlaub"));
        makePhotos(folder, {
                               {"a nord ost.jpg", gpsTags("48.137154", "N", "11.576124", "E")},
                               {"b_sued_west.jpg", gpsTags("33.856784", "S", "70.123456", "W")},
                               {"c_ohne_exif.jpg", {"-Comment=ohne Exif"}},
                               {"d_ohne_gps.jpg", cameraTags()},
                               {"e_mie.jpg", gpsTags("1", "N", "2", "E")},
                               {"f_kaputt.jpg", {}},
                           });
        writeFile(tmp.file("Urlaub/e_mie.jpg.mie"), "MIE");
        writeFile(tmp.file("Urlaub/f_kaputt.jpg"), "kein JPEG");
    }

    // The backup leaves the engine's GPS rendering mode at 2; later tests read decimal degrees.
    ~GpsBackupRun() override { setGpsRenderingMode(0); }

    std::string log() const { return readFile(tmp.file("protokoll.csv")); }
    std::string path(const std::string& name) const { return folder + "/" + name; }

    void runBackup()
    {
        TForm1 form(folder, tmp.path());
        form.show();
        form.BGPSsich->click();
    }

    // Takes the GPS tags out of the images, as a photo program might have.
    void removePositions() const
    {
        for (const char* name : {"a nord ost.jpg", "b_sued_west.jpg"}) {
            exifTool({"-q", "-overwrite_original", "-gps:all="}, path(name));
            ASSERT_EQ(exifTool({"-s3", "-GPSLatitude"}, path(name)), "") << name;
        }
    }

    TempDir tmp;
    const std::string folder = tmp.path() + "/Urlaub";
};

TEST_F(GpsBackupRun, BackupWritesOneTextFilePerImageWithExifToolsLines)
{
    TForm1 form(folder, tmp.path());
    form.show();
    std::vector<int> progress;
    QObject::connect(form.pbprogress, &QProgressBar::valueChanged, [&progress](int value) { progress.push_back(value); });
    form.BGPSsich->click();
    EXPECT_FALSE(form.exifTool.running());

    EXPECT_EQ(log(), path("a nord ost.jpg") + ";hat GPS schreiben.. ok\r\n" +
                         path("b_sued_west.jpg") + ";hat GPS schreiben.. ok\r\n" +
                         path("c_ohne_exif.jpg") + ";keine Exif Daten \r\n" +
                         path("d_ohne_gps.jpg") + "; -  \r\n" +
                         path("e_mie.jpg") + ";MIE vorhanden \r\n" +
                         path("f_kaputt.jpg") + "; \r\n");
    EXPECT_EQ(readFile(tmp.file("Urlaub/gpstext/a nord ost.txt")), kNorthEastLines);
    EXPECT_EQ(readFile(tmp.file("Urlaub/gpstext/b_sued_west.txt")), kSouthWestLines);
    int backups = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder + "/gpstext"))
        ++backups;
    EXPECT_EQ(backups, 2);

    const struct {
        int row;
        const char* name;
        const char* status;
        const char* result;
    } rows[] = {
        {0, "a nord ost.jpg", "hat GPS", "ok"}, {1, "b_sued_west.jpg", "hat GPS", "ok"},
        {2, "c_ohne_exif.jpg", "keine Exif Daten", ""}, {3, "d_ohne_gps.jpg", " - ", ""},
        {4, "e_mie.jpg", "MIE vorhanden", ""}, {5, "f_kaputt.jpg", "", ""},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(gridText(form, r.row, 0), r.name);
        EXPECT_EQ(gridText(form, r.row, 1), r.status);
        EXPECT_EQ(gridText(form, r.row, 2), r.result);
    }
    EXPECT_EQ(form.sgdisplay->rowCount(), 7);

    // The caption keeps the last parameter text; only Exit is left.
    EXPECT_EQ(form.windowTitle().toLocal8Bit().toStdString(), backupCall(path("b_sued_west.jpg")).parameterText);
    EXPECT_EQ(form.BFrage->text(), QStringLiteral("fertig"));
    EXPECT_FALSE(form.BFrage->isEnabled());
    EXPECT_FALSE(form.Bstop->isEnabled());
    EXPECT_FALSE(form.BGPSsich->isEnabled());
    EXPECT_FALSE(form.bgpszurueck->isEnabled());
    EXPECT_TRUE(form.braus->isEnabled());
    EXPECT_FALSE(form.pbprogress->isVisible());
    EXPECT_EQ(progress, (std::vector<int>{17, 33, 50, 67, 83, 100}));
    EXPECT_EQ(form.statusLine->text().toStdString(),
              "Fertig: 2 gesichert, 1 ohne GPS, 1 ohne Exif-Daten, 1 mit MIE-Datei, 1 nicht lesbar");
    EXPECT_EQ(gpsRenderingMode(), 2);
    // The images themselves are not touched by the backup.
    EXPECT_EQ(exifTool({"-s3", "-n", "-GPSLatitude"}, path("a nord ost.jpg")), "48.137154");
}

TEST_F(GpsBackupRun, RestorePutsBackThePositionsExifToolRemoved)
{
    runBackup();
    removePositions();

    TForm1 form(folder, tmp.path());
    form.nameCharset = "ISO-8859-1";
    form.show();
    form.bgpszurueck->click();

    EXPECT_EQ(log(), path("a nord ost.jpg") + "; zur\xFC" "ck.. ok\r\n" +
                         path("b_sued_west.jpg") + "; zur\xFC" "ck.. ok\r\n" +
                         path("c_ohne_exif.jpg") + ";keine Sicherung vorhanden\r\n" +
                         path("d_ohne_gps.jpg") + ";keine Sicherung vorhanden\r\n" +
                         path("e_mie.jpg") + ";keine Sicherung vorhanden\r\n" +
                         path("f_kaputt.jpg") + ";keine Sicherung vorhanden\r\n");

    // Equal to the originals to 0.01 of a second of arc, by ExifTool and by our reader.
    const struct {
        const char* name;
        double latitude;
        double longitude;
        const char* latitudeRef;
        const char* longitudeRef;
    } photos[] = {
        {"a nord ost.jpg", 48.137154, 11.576124, "N", "E"},
        {"b_sued_west.jpg", 33.856784, 70.123456, "S", "W"},
    };
    constexpr double kHundredthOfASecond = 0.01 / 3600;
    for (const auto& p : photos) {
        SCOPED_TRACE(p.name);
        EXPECT_NEAR(number(exifTool({"-s3", "-n", "-EXIF:GPSLatitude"}, path(p.name))), p.latitude, kHundredthOfASecond);
        EXPECT_NEAR(number(exifTool({"-s3", "-n", "-EXIF:GPSLongitude"}, path(p.name))), p.longitude, kHundredthOfASecond);
        EXPECT_EQ(exifTool({"-s3", "-n", "-GPSLatitudeRef"}, path(p.name)), p.latitudeRef);
        EXPECT_EQ(exifTool({"-s3", "-n", "-GPSLongitudeRef"}, path(p.name)), p.longitudeRef);

        setGpsRenderingMode(0);
        setDecimalSeparator('.');
        TimgData image(kDecodeAll);
        ASSERT_TRUE(image.OpenImage(path(p.name)));
        EXPECT_NEAR(number(image.exifDecoder->TagValueText("GPSLatitude")), p.latitude, kHundredthOfASecond);
        EXPECT_NEAR(number(image.exifDecoder->TagValueText("GPSLongitude")), p.longitude, kHundredthOfASecond);
        setDecimalSeparator(',');
    }

    EXPECT_EQ(gridText(form, 0, 2), "ok");
    EXPECT_EQ(gridText(form, 2, 1), "");
    EXPECT_EQ(gridText(form, 2, 2), "keine Sicherung vorhanden");
    EXPECT_EQ(form.BFrage->text(), QStringLiteral("fertig"));
    for (const QPushButton* off : {form.BFrage, form.Bstop, form.BGPSsich, form.bgpszurueck})
        EXPECT_FALSE(off->isEnabled()) << off->text().toStdString();
    EXPECT_TRUE(form.braus->isEnabled());
    EXPECT_EQ(form.pbprogress->value(), 100);
    EXPECT_EQ(form.statusLine->text().toStdString(), "Fertig: 2 zurückgeholt, 4 ohne Sicherung");
    // The restore does not show its parameter text.
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Vistado  MV " VISTADO_EXPECTED_VERSION));
}

TEST_F(GpsBackupRun, WithoutExifToolNothingStartsAndAMessageSaysWhy)
{
    const PathChange path(tmp.path());  // a PATH without exiftool
    writeFile(tmp.file("protokoll.csv"), "vom letzten Lauf\r\n");
    makeFolder(tmp.file("Urlaub/gpstext"));
    writeFile(tmp.file("Urlaub/gpstext/b_sued_west.txt"), kSouthWestLines);
    showErrorMessagesOnStandardError();
    TForm1 form(folder, tmp.path());
    for (QPushButton* command : {form.BGPSsich, form.bgpszurueck}) {
        SCOPED_TRACE(command->text().toStdString());
        testing::internal::CaptureStderr();
        command->click();
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "ExifTool nicht gefunden: bitte das Paket libimage-exiftool-perl installieren\n");
        EXPECT_EQ(form.runOutcome, TForm1::RunOutcome::NoExifTool);
        EXPECT_EQ(log(), "vom letzten Lauf\r\n");
        EXPECT_EQ(gridText(form, 0, 0), "");
        for (const QPushButton* on : {form.BFrage, form.braus, form.BGPSsich, form.bgpszurueck})
            EXPECT_TRUE(on->isEnabled()) << on->text().toStdString();
        EXPECT_FALSE(form.Bstop->isEnabled());
        EXPECT_TRUE(form.statusLine->text().isEmpty());
    }
    EXPECT_EQ(folderEntries(folder + "/gpstext"), std::set<std::string>{"b_sued_west.txt"});
}

// The track button asks for the tracks, starting at the job list's folder, and for the
// camera's clock; cancelled or with a track that cannot be read, nothing runs.
TEST_F(GpsBackupRun, TheTrackButtonWritesTheTracksPositionsIntoPhotosWithoutOne)
{
    writeFile(tmp.file("protokoll.csv"), "vom letzten Lauf\r\n");
    writeFile(tmp.file("tour.gpx"), gpxDocument({{{1717236000, 48.1, 11.5, std::nullopt}, {1717236600, 48.2, 11.6, std::nullopt}}}));
    writeFile(tmp.file("kaputt.gpx"), "kein GPX");
    exifTool({"-q", "-overwrite_original", "-DateTimeOriginal=2024:06:01 12:06:00"}, path("d_ohne_gps.jpg"));
    showErrorMessagesOnStandardError();
    TForm1 form(folder, tmp.path());
    std::vector<std::string> starts;
    QStringList chosen;
    std::optional<CameraClock> clock;
    form.desktop.chooseTrackFiles = [&](QWidget*, const QString& start) {
        starts.push_back(start.toStdString());
        return chosen;
    };
    form.desktop.askCameraClock = [&](QWidget*) { return clock; };

    form.BTrack->click();
    chosen = {QString::fromStdString(tmp.file("tour.gpx"))};
    form.BTrack->click();
    EXPECT_EQ(starts, (std::vector<std::string>{folder + "/", folder + "/"}));
    chosen.push_back(QString::fromStdString(tmp.file("kaputt.gpx")));
    clock = CameraClock{7200, -60};
    testing::internal::CaptureStderr();
    form.BTrack->click();
    EXPECT_EQ(testing::internal::GetCapturedStderr().rfind("Track nicht lesbar: " + tmp.file("kaputt.gpx") + ": ", 0), 0u);
    EXPECT_EQ(form.runOutcome, TForm1::RunOutcome::NotRun);
    EXPECT_EQ(log(), "vom letzten Lauf\r\n");

    chosen.pop_back();
    form.BTrack->click();
    EXPECT_EQ(form.runOutcome, TForm1::RunOutcome::Finished);
    EXPECT_EQ(gridText(form, 0, 1), "hat GPS");
    EXPECT_EQ(gridText(form, 2, 1), "keine Exif Daten");
    EXPECT_EQ(gridText(form, 3, 1), "48.150000,11.550000");
    EXPECT_EQ(gridText(form, 3, 2), "ok");
    EXPECT_EQ(exifTool({"-s3", "-n", "-GPSPosition"}, path("d_ohne_gps.jpg")), "48.15 11.55");
    EXPECT_EQ(form.statusLine->text().toStdString(),
              "Fertig: 1 Position geschrieben, 3 schon mit GPS, 1 ohne Exif-Daten, 1 nicht lesbar");
}

TEST_F(GpsBackupRun, ABackupFileThatCannotBeReadEndsTheRestoreWithTheErrorMessage)
{
    makeFolder(tmp.file("Urlaub/gpstext"));
    makeFolder(tmp.file("Urlaub/gpstext/a nord ost.txt"));
    const std::string before = readFile(path("a nord ost.jpg"));

    TForm1 form(folder, tmp.path());
    form.nameCharset = "UTF-8";
    showErrorMessagesOnStandardError();
    testing::internal::CaptureStderr();
    form.bgpszurueck->click();
    const std::string message = testing::internal::GetCapturedStderr();
    form.FormClose();

    EXPECT_NE(message.find(folder + "/gpstext/a nord ost.txt"), std::string::npos) << message;
    EXPECT_EQ(log(), path("a nord ost.jpg") + "; zur\xC3\xBC" "ck.. ");
    EXPECT_EQ(readFile(path("a nord ost.jpg")), before);
    // The run ended where it was: the buttons stay as it set them.
    EXPECT_FALSE(form.braus->isEnabled());
    EXPECT_TRUE(form.Bstop->isEnabled());
    EXPECT_FALSE(form.commandGuard.running());
    EXPECT_EQ(form.statusLine->text().toStdString(), "Abgebrochen nach 0 von 6 Bildern: 0 zurückgeholt");
}

TEST_F(GpsBackupRun, ARestoreFromAnIncompleteBackupStartsNothing)
{
    makeFolder(tmp.file("Urlaub/gpstext"));
    writeFile(tmp.file("Urlaub/gpstext/a nord ost.txt"), "");
    writeFile(tmp.file("Urlaub/gpstext/b_sued_west.txt"), kSouthWestLines.substr(0, kSouthWestLines.find('\n') + 1));
    writeFile(tmp.file("Urlaub/gpstext/d_ohne_gps.txt"), "GPS Latitude : 48.137154\nGPS Longitude : 11.576124\n");
    std::map<std::string, std::string> before;
    for (const char* name : {"a nord ost.jpg", "b_sued_west.jpg", "d_ohne_gps.jpg"})
        before[name] = readFile(path(name));

    TForm1 form(folder, tmp.path());
    form.nameCharset = "UTF-8";
    form.bgpszurueck->click();

    const std::string incomplete = "; zur\xC3\xBC" "ck.. Sicherung unvollst\xC3\xA4ndig\r\n";
    EXPECT_EQ(log(), path("a nord ost.jpg") + incomplete + path("b_sued_west.jpg") + incomplete +
                         path("c_ohne_exif.jpg") + ";keine Sicherung vorhanden\r\n" + path("d_ohne_gps.jpg") + incomplete +
                         path("e_mie.jpg") + ";keine Sicherung vorhanden\r\n" +
                         path("f_kaputt.jpg") + ";keine Sicherung vorhanden\r\n");
    EXPECT_EQ(gridText(form, 1, 2), "Sicherung unvollst\xC3\xA4ndig");
    for (const auto& [name, bytes] : before)
        EXPECT_EQ(readFile(path(name)), bytes) << name;
    EXPECT_EQ(exifTool({"-s3", "-n", "-GPSPosition"}, path("b_sued_west.jpg")), "-33.856784 -70.123456");
    EXPECT_EQ(form.BFrage->text(), QStringLiteral("fertig"));
    EXPECT_EQ(form.statusLine->text().toStdString(),
              "Fertig: 0 zurückgeholt, 3 ohne Sicherung, 3 mit unvollständiger Sicherung");
}

TEST_F(GpsBackupRun, EachPhotoHasABackupFileOfItsOwnOrIsToldItHasNone)
{
    const std::string names = tmp.path() + "/Namen";
    makeFolder(names);
    makePhotos(names, {{"x.JPG.jpg", gpsTags("10", "N", "20", "E")},
                       {"x.jpg", gpsTags("30", "S", "40", "W")},
                       {"a.JPG", gpsTags("50", "N", "60", "E")},
                       {"a.jpg", gpsTags("1", "N", "2", "E")}});
    TForm1 backup(names, tmp.path());
    backup.BGPSsich->click();
    // a.JPG and a.jpg would share a.txt: the second one keeps the first one's.
    EXPECT_EQ(log(), names + "/a.JPG;hat GPS schreiben.. ok\r\n" + names + "/a.jpg;hat GPS schreiben.. Sicherung vorhanden\r\n" +
                         names + "/x.jpg;hat GPS schreiben.. ok\r\n" + names + "/x.JPG.jpg;hat GPS schreiben.. ok\r\n");
    EXPECT_EQ(gridText(backup, 1, 2), "Sicherung vorhanden");
    EXPECT_EQ(backup.statusLine->text().toStdString(), "Fertig: 3 gesichert, 1 schon vorhanden");
    EXPECT_NE(readFile(names + "/gpstext/a.txt").find("50 deg 0' 0.00\" N"), std::string::npos);

    for (const char* name : {"x.JPG.jpg", "x.jpg"})
        exifTool({"-q", "-overwrite_original", "-gps:all="}, names + "/" + name);
    TForm1 restore(names, tmp.path());
    restore.bgpszurueck->click();
    EXPECT_EQ(exifTool({"-s3", "-n", "-GPSPosition"}, names + "/x.JPG.jpg"), "10 20");
    EXPECT_EQ(exifTool({"-s3", "-n", "-GPSPosition"}, names + "/x.jpg"), "-30 -40");

    // A backup run again keeps every backup file as it is.
    const std::string kept = readFile(names + "/gpstext/x.txt");
    TForm1 again(names, tmp.path());
    again.BGPSsich->click();
    EXPECT_EQ(log(), names + "/a.JPG;hat GPS schreiben.. Sicherung vorhanden\r\n" + names + "/a.jpg;hat GPS schreiben.. Sicherung vorhanden\r\n" +
                         names + "/x.jpg;hat GPS schreiben.. Sicherung vorhanden\r\n" + names + "/x.JPG.jpg;hat GPS schreiben.. Sicherung vorhanden\r\n");
    EXPECT_EQ(readFile(names + "/gpstext/x.txt"), kept);
}

TEST_F(GpsBackupRun, OkOnlyWhenExifToolDidItsWorkInJobListOrder)
{
    // An ExifTool that takes its time over "a nord ost.jpg" and then writes nothing; the
    // real one for every other image.
    writeFakeExifTool(tmp.file("bin"), "a nord ost", "sleep 0.5");
    const PathChange withSlowExifTool(tmp.path() + "/bin:" + std::getenv("PATH"));

    TForm1 backup(folder, tmp.path());
    std::vector<std::string> lines;
    backup.runLog.setLineListener([&lines](std::string_view line) { lines.emplace_back(line); });
    backup.BGPSsich->click();
    EXPECT_EQ(lines, (std::vector<std::string>{path("a nord ost.jpg") + ";hat GPS schreiben.. Fehler mit Exiftool",
                                               path("b_sued_west.jpg") + ";hat GPS schreiben.. ok",
                                               path("c_ohne_exif.jpg") + ";keine Exif Daten ",
                                               path("d_ohne_gps.jpg") + "; -  ",
                                               path("e_mie.jpg") + ";MIE vorhanden ",
                                               path("f_kaputt.jpg") + "; "}));
    EXPECT_EQ(gridText(backup, 0, 2), "Fehler mit Exiftool");
    EXPECT_EQ(gridText(backup, 1, 2), "ok");

    // ExifTool cannot write a file that is no image: its reply says so.
    writeFile(tmp.file("Urlaub/gpstext/f_kaputt.txt"), kNorthEastLines);
    TForm1 restore(folder, tmp.path());
    restore.nameCharset = "UTF-8";
    restore.bgpszurueck->click();
    EXPECT_EQ(log(), path("a nord ost.jpg") + ";keine Sicherung vorhanden\r\n" +
                         path("b_sued_west.jpg") + "; zur\xC3\xBC" "ck.. ok\r\n" +
                         path("c_ohne_exif.jpg") + ";keine Sicherung vorhanden\r\n" +
                         path("d_ohne_gps.jpg") + ";keine Sicherung vorhanden\r\n" +
                         path("e_mie.jpg") + ";keine Sicherung vorhanden\r\n" +
                         path("f_kaputt.jpg") + "; zur\xC3\xBC" "ck.. Fehler mit Exiftool\r\n");
}

TEST_F(GpsBackupRun, AnExifToolThatFailsOnOnePhotoCostsThatPhotoOnly)
{
    // Four photos to restore; ExifTool fails on the first in each case, or on every one.
    makeFolder(tmp.file("Urlaub/gpstext"));
    for (const char* name : {"a nord ost", "c_ohne_exif", "d_ohne_gps"})
        writeFile(tmp.file("Urlaub/gpstext/") + name + ".txt", kNorthEastLines);
    writeFile(tmp.file("Urlaub/gpstext/b_sued_west.txt"), kSouthWestLines);
    const std::string failed = "Fehler mit Exiftool";
    const struct {
        const char* photo;  // the photos it fails on
        const char* act;
        std::string first;  // the result of the first photo
        bool endsAfterThree;
    } cases[] = {
        {"a nord ost", "exit 1", failed, false},
        {"a nord ost", "sleep 60", failed + " (Zeit\xC3\xBC" "berschreitung)", false},
        {"a nord ost", "echo \"Error: Kaputt - $last\"; echo '    0 image files updated'", failed, false},
        {"", "exit 1", failed, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.photo) + ": " + c.act);
        runProgram({"exiftool", "-q", "-overwrite_original", "-gps:all=", path("a nord ost.jpg"), path("b_sued_west.jpg"),
                    path("c_ohne_exif.jpg"), path("d_ohne_gps.jpg")});
        TempDir bin;
        writeFakeExifTool(bin.path(), c.photo, c.act);
        TForm1 form(folder, tmp.path());
        form.nameCharset = "UTF-8";
        // The fake starts the real ExifTool for each photo: that takes its time too.
        form.exifTool.replyTimeout = std::chrono::milliseconds(5000);
        std::string message;
        {
            const PathChange withFaultyExifTool(bin.path() + ":" + std::getenv("PATH"));
            showErrorMessagesOnStandardError();
            testing::internal::CaptureStderr();
            form.bgpszurueck->click();
            message = testing::internal::GetCapturedStderr();
            form.FormClose();
        }

        const std::string back = "; zur\xC3\xBC" "ck.. ";
        if (c.endsAfterThree) {
            EXPECT_EQ(log(), path("a nord ost.jpg") + back + failed + "\r\n" + path("b_sued_west.jpg") + back + failed +
                                 "\r\n" + path("c_ohne_exif.jpg") + back + failed + "\r\n");
            EXPECT_EQ(message, "vistado: ExifTool ist dreimal hintereinander ausgefallen: Lauf abgebrochen\n");
            EXPECT_EQ(form.runOutcome, TForm1::RunOutcome::EndedEarly);
            EXPECT_EQ(exifTool({"-s3", "-n", "-GPSPosition"}, path("d_ohne_gps.jpg")), "");
        } else {
            EXPECT_EQ(log(), path("a nord ost.jpg") + back + c.first + "\r\n" + path("b_sued_west.jpg") + back + "ok\r\n" +
                                 path("c_ohne_exif.jpg") + back + "ok\r\n" + path("d_ohne_gps.jpg") + back + "ok\r\n" +
                                 path("e_mie.jpg") + ";keine Sicherung vorhanden\r\n" +
                                 path("f_kaputt.jpg") + ";keine Sicherung vorhanden\r\n");
            EXPECT_EQ(message, "");
            EXPECT_EQ(gridText(form, 0, 2), c.first);
            EXPECT_EQ(form.runOutcome, TForm1::RunOutcome::Finished);
            EXPECT_EQ(exifTool({"-s3", "-n", "-GPSPosition"}, path("a nord ost.jpg")), "");
            EXPECT_EQ(exifTool({"-s3", "-c", "%.4f", "-GPSPosition"}, path("b_sued_west.jpg")), "33.8568 S, 70.1235 W");
            EXPECT_EQ(exifTool({"-s3", "-c", "%.4f", "-GPSPosition"}, path("d_ohne_gps.jpg")), "48.1372 N, 11.5761 E");
        }
        EXPECT_FALSE(form.exifTool.running());
    }
}

}  // namespace

}  // namespace vistado::test
