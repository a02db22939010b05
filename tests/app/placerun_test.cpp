// The place run driven through the window's buttons, against a geocoding service on loopback.
#include "app/errormessage.h"
#include "fakeclock.h"
#include "formprobe.h"
#include "geocoderreplies.h"
#include "filecalls.h"
#include "geocoderservice.h"
#include "meta/container/imgdata.h"
#include "meta/text/settings.h"
#include "photos.h"
#include "rawserver.h"
#include "testfiles.h"
#include "app/vistado4.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <thread>

namespace vistado::test {

namespace {

const std::string kMunich = ">Marktgasse<>Altstadt<>Musterstadt<>Oberland<>Deutschland<";
// The service's names in UTF-8 become the window's 8-bit character set (here ISO-8859-1).
const std::string kSantiago = ">Avenida Providencia<>Providencia<>Santiago<>Regi\xF3n Metropolitana<>Chile<";
const std::string kAlreadyTagged = ">Marktgasse<>Altstadt<>Musterstadt<>Oberland<  Urlaub";

const std::map<std::string, std::string> kReplies{
    {"48.137154,11.576124", kReplyOkSeveralResults},
    {"-33.856784,-70.123456",
     replyOk({"1", "Avenida Providencia", "Providencia", "Santiago", "Regi\xC3\xB3n Metropolitana", "Chile", "7500000"})},
};

class PlaceRun : public ::testing::Test {
protected:
    void SetUp() override { makeFolder(tmp.file("Urlaub")); }

    std::string path(const std::string& name) const { return folder + "/" + name; }
    std::string log() const { return readFile(tmp.file("protokoll.csv")); }
    std::string bytes(const std::string& name) const { return readFile(path(name)); }

    // The comment as our reader and as ExifTool read it back.
    std::string commentRead(const std::string& name) const
    {
        TimgData image(kDecodeAll);
        EXPECT_TRUE(image.OpenImage(path(name)));
        EXPECT_EQ(exifTool({"-b", "-Comment"}, path(name)), image.CommentText()) << name;
        return image.CommentText();
    }

    TempDir tmp;
    const std::string folder = tmp.path() + "/Urlaub";
};

TEST_F(PlaceRun, TagsThePhotosWithGpsAndLeavesTheOthersAlone)
{
    makePhotos(folder, {
                           {"a_nord_ost.jpg", [] {
                                auto tags = gpsTags("48.137154", "N", "11.576124", "E");
                                tags.push_back("-Comment=Urlaub am See");
                                return tags;
                            }()},
                           {"b_sued_west.jpg", gpsTags("33.856784", "S", "70.123456", "W")},
                           // IPTC data, as photo agencies write it, holds no position.
                           {"c_ohne_exif.jpg", {"-Comment=ohne Exif", "-IPTC:City=Rom"}},
                           {"d_ohne_gps.jpg", cameraTags()},
                           {"e_getaggt.jpg", [] {
                                auto tags = gpsTags("1", "N", "2", "E");
                                tags.push_back("-Comment=" + kAlreadyTagged);
                                return tags;
                            }()},
                       });
    std::map<std::string, std::string> before;
    for (const char* name : {"a_nord_ost.jpg", "b_sued_west.jpg", "c_ohne_exif.jpg", "d_ohne_gps.jpg", "e_getaggt.jpg"})
        before[name] = bytes(name);
    const auto service = serviceAnswering(kReplies);

    TForm1 form(folder, tmp.path(), geocoderAt(service->port()));
    form.nameCharset = "ISO-8859-1";
    // The place into the comment alone: a photo tagged so is left alone (the location
    // fields' own tests are in placefields_test.cpp).
    form.CBnurKommentar->setChecked(true);
    form.show();
    form.BFrage->click();

    EXPECT_EQ(log(), path("a_nord_ost.jpg") + ";48.137154,11.576124;" + kMunich + "\r\n" +
                         path("b_sued_west.jpg") + ";-33.856784,-70.123456;" + kSantiago + "\r\n" +
                         path("c_ohne_exif.jpg") + ";keine Exif Daten \r\n" +
                         path("d_ohne_gps.jpg") + ";kein GPS \r\n" +
                         path("e_getaggt.jpg") + ";Ortsinfo vorhanden; \r\n");

    EXPECT_EQ(commentRead("a_nord_ost.jpg"), kMunich + "  Urlaub am See");
    EXPECT_EQ(commentRead("b_sued_west.jpg"), kSantiago + "  ");
    for (const char* name : {"a_nord_ost.jpg", "b_sued_west.jpg"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(imageDataPart(bytes(name)), imageDataPart(before[name]));
        EXPECT_NE(exifTool({"-s3", "-GPSLatitude"}, path(name)), "");
    }
    for (const char* name : {"c_ohne_exif.jpg", "d_ohne_gps.jpg", "e_getaggt.jpg"})
        EXPECT_EQ(bytes(name), before[name]) << name;
    EXPECT_EQ(service->requests().size(), 2u);
    EXPECT_FALSE(std::filesystem::exists(tmp.path() + "/geodat.xml"));

    EXPECT_EQ(jobList(form), (std::vector<std::string>{
                                 path("a_nord_ost.jpg") + " gelesen48.137154,11.576124 geschrieben",
                                 path("b_sued_west.jpg") + " gelesen-33.856784,-70.123456 geschrieben",
                                 path("c_ohne_exif.jpg") + " gelesen",
                                 path("d_ohne_gps.jpg") + " gelesen",
                                 path("e_getaggt.jpg") + " gelesen",
                             }));
    const struct {
        int row;
        const char* name;
        std::string status;
        std::string place;
    } rows[] = {
        {0, "a_nord_ost.jpg", "48.137154,11.576124", kMunich},
        {2, "c_ohne_exif.jpg", "keine Exif Daten", ""},
        {3, "d_ohne_gps.jpg", "kein GPS", ""},
        {4, "e_getaggt.jpg", "Ortsinfo vorhanden", ""},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(gridText(form, r.row, 0), r.name);
        EXPECT_EQ(gridText(form, r.row, 1), r.status);
        EXPECT_EQ(gridText(form, r.row, 2), r.place);
    }
    EXPECT_EQ(gridText(form, 1, 1), "-33.856784,-70.123456");
    EXPECT_FALSE(gridText(form, 1, 2).empty());

    EXPECT_EQ(form.BFrage->text(), QStringLiteral("fertig"));
    EXPECT_FALSE(form.BFrage->isEnabled());
    EXPECT_FALSE(form.Bstop->isEnabled());
    EXPECT_TRUE(form.braus->isEnabled());
    EXPECT_TRUE(form.BGPSsich->isEnabled());
    EXPECT_TRUE(form.bgpszurueck->isEnabled());
    EXPECT_EQ(decimalSeparator(), ',');
    EXPECT_FALSE(form.imageData);
    EXPECT_EQ(form.statusLine->text().toStdString(),
              "Fertig: 2 Orte geschrieben, 1 schon mit Ort, 1 ohne GPS, 1 ohne Exif-Daten");
}

TEST_F(PlaceRun, AnEmptyJobListStillEmptiesTheRunLog)
{
    writeFile(tmp.file("protokoll.csv"), "from an earlier run\r\n");
    TForm1 form(folder, tmp.path());
    form.BFrage->click();
    EXPECT_EQ(log(), "");
    EXPECT_EQ(form.BFrage->text(), QStringLiteral("fertig"));
}

TEST_F(PlaceRun, NoPlaceFoundLeavesThePhotoAsItWas)
{
    makePhotos(folder, {{"a.jpg", gpsTags("1.5", "N", "2.5", "E")}});
    const std::string before = bytes("a.jpg");
    const auto service = serviceAnswering({{"1.500000,2.500000", kReplyZeroResults}});

    TForm1 form(folder, tmp.path(), geocoderAt(service->port()));
    form.BFrage->click();

    EXPECT_EQ(log(), path("a.jpg") + ";1.500000,2.500000;\r\n");
    EXPECT_EQ(bytes("a.jpg"), before);
    EXPECT_EQ(jobList(form), std::vector<std::string>{path("a.jpg") + " gelesen1.500000,2.500000"});
    EXPECT_EQ(gridText(form, 0, 2), "");
    EXPECT_EQ(form.BFrage->text(), QStringLiteral("fertig"));
    EXPECT_EQ(form.statusLine->text().toStdString(), "Fertig: 0 Orte geschrieben, 1 Ort nicht gefunden");
}

// A service that is down, refuses the request or breaks its reply off ends the run at that
// image, saying why: nothing is written from a reply that did not come whole.
TEST_F(PlaceRun, AGeocoderThatFailsEndsTheRunAtThatImage)
{
    makePhotos(folder, {{"a.jpg", gpsTags("1.5", "N", "2.5", "E")}, {"b.jpg", gpsTags("3", "S", "4", "W")}});
    const std::string before = bytes("a.jpg");
    const RefusingPort down;
    const auto missing = serviceAnswering({});
    const std::string reply = replyOk({"0", "Marktgasse", "Altstadt", "Musterstadt", "Oberland", "Deutschland"});
    const RawServer cutShort("HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(reply.size()) + "\r\n\r\n" +
                             reply.substr(0, reply.find("Musterstadt")));
    const struct {
        int port;
        QString caption;
    } cases[] = {
        {down.port(), QStringLiteral("Geocoder nicht erreichbar")},
        {missing->port(), QStringLiteral("Geocoder-Fehler HTTP 404")},
        {cutShort.port(), QStringLiteral("Geocoder-Antwort unvollständig")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption.toStdString());
        TForm1 form(folder, tmp.path(), geocoderAt(c.port));
        form.BFrage->click();
        form.FormClose();

        EXPECT_EQ(form.windowTitle(), c.caption);
        EXPECT_EQ(log(), path("a.jpg") + ";1.500000,2.500000;");
        EXPECT_EQ(bytes("a.jpg"), before);
        EXPECT_EQ(jobList(form), (std::vector<std::string>{path("a.jpg") + " gelesen1.500000,2.500000", path("b.jpg")}));
        EXPECT_EQ(gridText(form, 1, 0), "");
        EXPECT_TRUE(form.BFrage->isEnabled());
        EXPECT_EQ(form.BFrage->text(), QStringLiteral("Orte ermitteln?"));
        EXPECT_TRUE(form.Bstop->isEnabled());
        EXPECT_FALSE(form.braus->isEnabled());
        EXPECT_FALSE(std::filesystem::exists(tmp.path() + "/geodat.xml"));
        EXPECT_EQ(form.statusLine->text().toStdString(), "Abgebrochen nach 0 von 2 Bildern: 0 Orte geschrieben");

        // A second run opens the image again, not the job list's marked entry.
        form.BFrage->click();
        form.FormClose();
        EXPECT_EQ(log(), path("a.jpg") + ";1.500000,2.500000;");
    }
}

// Offline the answer is there when the request returns: the run never pauses, and writes
// what it always wrote.
TEST_F(PlaceRun, AnOfflineRunMakesNoPause)
{
    makePhotos(folder, {{"a.jpg", gpsTags("43.4633", "N", "11.8796", "E")},
                        {"b.jpg", cameraTags()},
                        {"c.jpg", gpsTags("0", "N", "30", "W")}});
    const std::string untouched = bytes("c.jpg");
    TForm1 form(folder, tmp.path());
    FakeClock time;
    form.runClock = time.clock();
    form.show();
    form.BFrage->click();

    EXPECT_TRUE(time.pauses.empty());
    EXPECT_EQ(log(), path("a.jpg") + ";43.463300,11.879600;>Arezzo<>Tuscany<>Italy<>IT<\r\n" +
                         path("b.jpg") + ";kein GPS \r\n" +
                         path("c.jpg") + ";0.000000,-30.000000;\r\n");
    EXPECT_EQ(commentRead("a.jpg"), ">Arezzo<>Tuscany<>Italy<>IT<  ");
    EXPECT_EQ(bytes("c.jpg"), untouched);
    EXPECT_EQ(form.BFrage->text(), QStringLiteral("fertig"));
    EXPECT_FALSE(std::filesystem::exists(tmp.path() + "/geodat.xml"));
}

// Without pauses the window still gets its events after each photo: a stop ends a long
// offline run after the photo it was pressed at.
TEST_F(PlaceRun, StopDuringALongOfflineRunEndsItAfterThatPhoto)
{
    const auto name = [](int i) { return "IMG_" + std::to_string(10000 + i).substr(1) + ".jpg"; };
    makePhotos(folder, {{name(0), gpsTags("43.4633", "N", "11.8796", "E")}});
    const std::string photo = bytes(name(0));
    for (int i = 1; i < 200; ++i)
        writeFile(path(name(i)), photo);
    TForm1 form(folder, tmp.path());
    form.show();
    QObject::connect(form.LBjobliste, &QListWidget::itemChanged, [&form](QListWidgetItem* item) {
        if (form.LBjobliste->row(item) == 5 && form.Bstop->isEnabled())
            QTimer::singleShot(0, form.Bstop, &QPushButton::click);
    });
    form.BFrage->click();

    std::string sixLines;
    for (int i = 0; i <= 5; ++i)
        sixLines += path(name(i)) + ";43.463300,11.879600;>Arezzo<>Tuscany<>Italy<>IT<\r\n";
    EXPECT_EQ(log(), sixLines);
    EXPECT_EQ(bytes(name(6)), photo);
    EXPECT_EQ(jobList(form)[6], path(name(6)));
    EXPECT_FALSE(form.Bstop->isEnabled());
    EXPECT_TRUE(form.braus->isEnabled());
}

// While the run goes on, the bar counts its photos and, after its first seconds, tells the
// time left at the pace so far; the grid keeps the photo at work in view. Each photo here
// takes a second.
TEST_F(PlaceRun, TheProgressBarCountsThePhotosAndTellsTheTimeLeft)
{
    const auto name = [](int i) { return "IMG_" + std::to_string(100 + i).substr(1) + ".jpg"; };
    makePhotos(folder, {{name(0), gpsTags("43.4633", "N", "11.8796", "E")}});
    for (int i = 1; i < 50; ++i)
        writeFile(path(name(i)), bytes(name(0)));
    TForm1 form(folder, tmp.path());
    FakeClock time;
    form.runClock = time.clock();
    form.show();
    struct Shown {
        int value;
        std::string text;
        bool rowInView;
        bool operator==(const Shown&) const = default;
    };
    std::vector<Shown> shown;
    QObject::connect(form.pbprogress, &QProgressBar::valueChanged, [&](int value) {
        const QTableWidget* grid = form.sgdisplay;
        const QRect row = grid->visualItemRect(grid->item(grid->currentRow(), 0));
        shown.push_back({value, form.pbprogress->text().toStdString(),
                         form.pbprogress->isVisible() && grid->viewport()->rect().contains(row)});
        time.advance(std::chrono::seconds(1));
    });
    form.BFrage->click();

    ASSERT_EQ(shown.size(), 50u);
    EXPECT_EQ(shown[0], (Shown{2, "1 von 50", true}));
    EXPECT_EQ(shown[2], (Shown{6, "3 von 50", true}));
    EXPECT_EQ(shown[3], (Shown{8, "4 von 50, noch etwa 35 s", true}));  // 3 s for 4 photos
    EXPECT_EQ(shown[24], (Shown{50, "25 von 50, noch etwa 25 s", true}));
    EXPECT_EQ(shown[49], (Shown{100, "50 von 50", true}));
    for (std::size_t i = 0; i < shown.size(); ++i) {
        EXPECT_EQ(shown[i].value, 2 * static_cast<int>(i + 1));
        EXPECT_TRUE(shown[i].rowInView) << i;
    }
    EXPECT_FALSE(form.pbprogress->isVisible());
    EXPECT_EQ(form.statusLine->text().toStdString(), "Fertig: 50 Orte geschrieben");
}

TEST_F(PlaceRun, BackupAndPlaceRunInOneWindowEachReadTheirOwnPositionFormat)
{
    makePhotos(folder, {{"a.jpg", gpsTags("48.137154", "N", "11.576124", "E")}});
    const auto service = serviceAnswering({{"48.137154,11.576124", kReplyZeroResults}});
    TForm1 form(folder, tmp.path(), geocoderAt(service->port()));
    form.BFrage->click();
    form.BGPSsich->click();
    EXPECT_EQ(log(), path("a.jpg") + ";hat GPS schreiben.. ok\r\n");
    // The backup leaves BFrage off; its handler is what a later start of the place run runs.
    form.BFrageClick();
    EXPECT_EQ(log(), path("a.jpg") + ";48.137154,11.576124;\r\n");
    EXPECT_EQ(service->requests().size(), 2u);
}

TEST_F(PlaceRun, APlaceTextOfFewerThanFourNamesIsWrittenOnce)
{
    makePhotos(folder, {{"a.jpg", gpsTags("0.5", "S", "36.066667", "E")}});
    const auto service = serviceAnswering({{"-0.500000,36.066667", replyOk({"0", "Nakuru", "Kenya"})}});
    TForm1(folder, tmp.path(), geocoderAt(service->port())).BFrage->click();
    const std::string written = bytes("a.jpg");
    EXPECT_EQ(commentRead("a.jpg"), ">Nakuru<>Kenya<  ");

    TForm1 again(folder, tmp.path(), geocoderAt(service->port()));
    again.BFrage->click();
    EXPECT_EQ(bytes("a.jpg"), written);
    EXPECT_EQ(log(), path("a.jpg") + ";-0.500000,36.066667;>Nakuru<>Kenya<\r\n");
    EXPECT_EQ(jobList(again), std::vector<std::string>{path("a.jpg") + " gelesen-0.500000,36.066667"});
}

TEST_F(PlaceRun, StopDuringAnImageEndsTheRunAfterIt)
{
    makePhotos(folder, {{"a.jpg", gpsTags("1", "N", "1", "E")},
                        {"b.jpg", gpsTags("2", "N", "2", "E")},
                        {"c.jpg", gpsTags("3", "N", "3", "E")}});
    const std::string untouched = bytes("c.jpg");
    const auto service = serviceAnswering({{"1.000000,1.000000", replyOk({"0", "Eins", "b", "c", "d"})},
                                           {"2.000000,2.000000", replyOk({"0", "Zwei", "b", "c", "d"})},
                                           {"3.000000,3.000000", replyOk({"0", "Drei", "b", "c", "d"})}});
    TForm1 form(folder, tmp.path(), geocoderAt(service->port()));
    form.show();
    // The user presses stop while the second image is looked up: the click waits in the
    // event queue until the run next lets the window process its events.
    QObject::connect(form.LBjobliste, &QListWidget::itemChanged, [&form](QListWidgetItem* item) {
        if (form.LBjobliste->row(item) == 1 && form.Bstop->isEnabled())
            QTimer::singleShot(0, form.Bstop, &QPushButton::click);
    });
    form.BFrage->click();

    EXPECT_EQ(log(), path("a.jpg") + ";1.000000,1.000000;>Eins<>b<>c<>d<\r\n" +
                         path("b.jpg") + ";2.000000,2.000000;>Zwei<>b<>c<>d<\r\n");
    EXPECT_EQ(commentRead("b.jpg"), ">Zwei<>b<>c<>d<  ");
    EXPECT_EQ(bytes("c.jpg"), untouched);
    EXPECT_EQ(jobList(form)[2], path("c.jpg"));
    EXPECT_NE(form.BFrage->text(), QStringLiteral("fertig"));
    EXPECT_FALSE(form.BFrage->isEnabled());
    EXPECT_FALSE(form.Bstop->isEnabled());
    EXPECT_TRUE(form.braus->isEnabled());
    EXPECT_EQ(form.statusLine->text().toStdString(), "Gestoppt nach 2 von 3 Bildern: 2 Orte geschrieben");

    // The stop holds for the rest of the program's run: the next command ends after one image.
    // It opens the image, not the job list's marked entry.
    form.BGPSsich->click();
    setGpsRenderingMode(0);
    EXPECT_EQ(log(), path("a.jpg") + ";hat GPS schreiben.. ok\r\n");
    EXPECT_EQ(readFile(folder + "/gpstext/a.txt"), "GPS Latitude                    : 1 deg 0' 0.00\" N\n"
                                                   "GPS Longitude                   : 1 deg 0' 0.00\" E\n");
}

TEST_F(PlaceRun, APhotoThatCannotBeWrittenDoesNotStopTheRun)
{
    // a.jpg: Exif with a position, but no image behind it (the writer refuses the file);
    // b.jpg: a comment too long for the place text in front of it; c.jpg: fine.
    auto longComment = gpsTags("2", "N", "2", "E");
    longComment.push_back("-Comment=" + std::string(65520, 'x'));
    makePhotos(folder, {{"a.jpg", gpsTags("1", "N", "1", "E")}, {"b.jpg", longComment}, {"c.jpg", gpsTags("3", "N", "3", "E")}});
    const std::string photo = bytes("a.jpg");
    const std::string noImage = photo.substr(0, photo.find("\xFF\xDB")) + "\xFF\xD9";
    writeFile(path("a.jpg"), noImage);
    const std::string longBefore = bytes("b.jpg");
    const auto service = serviceAnswering({{"1.000000,1.000000", replyOk({"0", "Eins", "b", "c", "d"})},
                                           {"2.000000,2.000000", replyOk({"0", "Zwei", "b", "c", "d"})},
                                           {"3.000000,3.000000", replyOk({"0", "Drei", "b", "c", "d"})}});

    TForm1 form(folder, tmp.path(), geocoderAt(service->port()));
    showErrorMessagesOnStandardError();
    testing::internal::CaptureStderr();
    form.BFrage->click();
    const std::string message = testing::internal::GetCapturedStderr();

    // One message for the run, naming how many photos were not written.
    EXPECT_EQ(message, "2 Bilder konnten nicht geschrieben werden\n");
    const std::string lines = log();
    const std::string aLine = path("a.jpg") + ";1.000000,1.000000;>Eins<>b<>c<>d<;Fehler: JPEG-Fehler #";
    const std::string bLine = path("b.jpg") + ";2.000000,2.000000;>Zwei<>b<>c<>d<;Fehler: Kommentar mit 65537 Bytes";
    const std::string cLine = path("c.jpg") + ";3.000000,3.000000;>Drei<>b<>c<>d<\r\n";
    EXPECT_EQ(lines.rfind(aLine, 0), 0u) << lines;
    EXPECT_NE(lines.find("\r\n" + bLine), std::string::npos) << lines;
    EXPECT_TRUE(lines.ends_with("\r\n" + cLine)) << lines;
    EXPECT_EQ(gridText(form, 0, 2).rfind("Fehler: JPEG-Fehler #", 0), 0u);
    EXPECT_EQ(gridText(form, 1, 2).rfind("Fehler: Kommentar mit 65537 Bytes", 0), 0u);

    EXPECT_EQ(bytes("a.jpg"), noImage);
    EXPECT_EQ(bytes("b.jpg"), longBefore);
    EXPECT_EQ(commentRead("c.jpg"), ">Drei<>b<>c<>d<  ");
    EXPECT_EQ(jobList(form), (std::vector<std::string>{path("a.jpg") + " gelesen1.000000,1.000000",
                                                       path("b.jpg") + " gelesen2.000000,2.000000",
                                                       path("c.jpg") + " gelesen3.000000,3.000000 geschrieben"}));
    EXPECT_EQ(form.BFrage->text(), QStringLiteral("fertig"));
    EXPECT_EQ(form.statusLine->text().toStdString(), "Fertig: 1 Ort geschrieben, 2 Fehler");
    EXPECT_EQ(form.unwrittenImages, 2);
    EXPECT_FALSE(form.imageData);
}

// The photos are written in the background while the run goes on; a write that ends last or
// fails there still has its line in the job list's order.
TEST_F(PlaceRun, PhotosWrittenInTheBackgroundKeepTheLinesInOrder)
{
    makePhotos(folder, {{"a.jpg", gpsTags("1", "N", "1", "E")}, {"b.jpg", gpsTags("2", "N", "2", "E")},
                        {"c.jpg", gpsTags("3", "N", "3", "E")}});
    const auto service = serviceAnswering({{"1.000000,1.000000", replyOk({"0", "Eins", "b", "c", "d"})},
                                           {"2.000000,2.000000", replyOk({"0", "Zwei", "b", "c", "d"})},
                                           {"3.000000,3.000000", replyOk({"0", "Drei", "b", "c", "d"})}});
    // While a.jpg's new file goes to the disk, another program writes a.jpg, and a.jpg's
    // write ends after the others'.
    std::string changed;
    duringNextFileSync(
        [&] {
            writeFile(path("a.jpg"), bytes("a.jpg") + "more");
            changed = bytes("a.jpg");
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
        },
        "/.a.jpg.");

    TForm1 form(folder, tmp.path(), geocoderAt(service->port()));
    showErrorMessagesOnStandardError();
    testing::internal::CaptureStderr();
    form.BFrage->click();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "1 Bild konnte nicht geschrieben werden\n");

    EXPECT_EQ(log(), path("a.jpg") + ";1.000000,1.000000;>Eins<>b<>c<>d<;Fehler: wurde inzwischen geändert\r\n" +
                         path("b.jpg") + ";2.000000,2.000000;>Zwei<>b<>c<>d<\r\n" +
                         path("c.jpg") + ";3.000000,3.000000;>Drei<>b<>c<>d<\r\n");
    EXPECT_EQ(bytes("a.jpg"), changed);
    EXPECT_EQ(commentRead("c.jpg"), ">Drei<>b<>c<>d<  ");
    EXPECT_EQ(gridText(form, 0, 2), "Fehler: wurde inzwischen geändert");
    EXPECT_EQ(jobList(form), (std::vector<std::string>{path("a.jpg") + " gelesen1.000000,1.000000",
                                                       path("b.jpg") + " gelesen2.000000,2.000000 geschrieben",
                                                       path("c.jpg") + " gelesen3.000000,3.000000 geschrieben"}));
    EXPECT_EQ(form.unwrittenImages, 1);
}

}  // namespace

}  // namespace vistado::test
