#include "formprobe.h"
#include "testfiles.h"
#include "app/vistado4.h"

#include <QApplication>
#include <QFontInfo>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace vistado::test {

namespace {

using Jobs = std::vector<std::string>;

TEST(Form1, CaptionAndTextsAtStart)
{
    TempDir tmp;
    const TForm1 form("Bild.png", tmp.path());
    EXPECT_EQ(form.ownVersion, VISTADO_EXPECTED_VERSION);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Vistado  MV " VISTADO_EXPECTED_VERSION));
    EXPECT_EQ(form.LZiel->text(), QStringLiteral("Vistado über einem JPG oder einem Verzeichnis aufrufen"));
    EXPECT_EQ(form.Label1->text(), QStringLiteral("Label1"));
    EXPECT_EQ(form.BFrage->text(), QStringLiteral("Frage"));
    EXPECT_EQ(form.Bstop->text(), QStringLiteral("stop"));
    EXPECT_EQ(form.braus->text(), QStringLiteral("Exit"));
    EXPECT_EQ(form.BGPSsich->text(), QStringLiteral("GPS sichern"));
    EXPECT_EQ(form.bgpszurueck->text(), QStringLiteral("GPS zurückholen"));
    EXPECT_EQ(form.folderButton->text(), QStringLiteral("Ordner wählen…"));
    EXPECT_EQ(form.statusLine->text(), QString());
    EXPECT_EQ(form.jobCount(), 0);
    EXPECT_FALSE(form.stopRequested);
    EXPECT_FALSE(form.runLog.isOpen());
}

TEST(Form1, ControlsAtStart)
{
    TempDir tmp;
    const TForm1 form("", tmp.path());
    EXPECT_EQ(form.size(), QSize(776, 303));
    EXPECT_EQ(form.pos(), QPoint(494, 298));

    struct Control {
        const QWidget* widget;
        QRect geometry;
        bool visible;
        bool enabled;
    };
    const Control controls[] = {
        {form.BFrage, {16, 48, 201, 25}, true, true},
        {form.LBjobliste, {272, 176, 153, 97}, false, true},
        {form.Bstop, {272, 88, 59, 25}, true, false},
        {form.braus, {344, 88, 67, 25}, true, true},
        {form.BGPSsich, {16, 88, 89, 25}, true, true},
        {form.bgpszurueck, {120, 88, 97, 25}, true, true},
        {form.pbprogress, {232, 48, 401, 25}, false, true},
        {form.sgdisplay, {16, 128, 617, 137}, true, true},
    };
    for (const Control& c : controls) {
        SCOPED_TRACE(c.widget->metaObject()->className());
        EXPECT_EQ(c.widget->geometry(), c.geometry);
        EXPECT_EQ(c.widget->isVisibleTo(&form), c.visible);
        EXPECT_EQ(c.widget->isEnabled(), c.enabled);
    }
    EXPECT_EQ(form.Label1->pos(), QPoint(16, 0));
    EXPECT_FALSE(form.Label1->isVisibleTo(&form));
    EXPECT_EQ(form.LZiel->pos(), QPoint(16, 16));
    EXPECT_TRUE(form.LZiel->isVisibleTo(&form));
    EXPECT_EQ(form.LZiel->layoutDirection(), Qt::LeftToRight);
    // The folder button beside the label, on its line; the status line under the grid.
    EXPECT_GT(form.folderButton->x(), form.LZiel->geometry().right());
    EXPECT_LT(form.folderButton->x(), form.LZiel->geometry().right() + 20);
    EXPECT_LE(form.folderButton->y(), form.LZiel->y());
    EXPECT_GE(form.folderButton->geometry().bottom(), form.LZiel->geometry().bottom());
    EXPECT_LT(form.folderButton->geometry().bottom(), form.BFrage->y());
    EXPECT_TRUE(form.folderButton->isEnabled());
    EXPECT_EQ(form.statusLine->pos(), QPoint(16, 269));

    EXPECT_EQ(form.pbprogress->minimum(), 0);
    EXPECT_EQ(form.pbprogress->maximum(), 100);
}

TEST(Form1, FontsFallBackToASansSerif)
{
    TempDir tmp;
    const TForm1 form("", tmp.path());
    EXPECT_EQ(form.font().family(), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(form.font().pointSize(), 8);
    EXPECT_EQ(form.BFrage->font().pointSize(), 8);
    EXPECT_FALSE(QFontInfo(form.BFrage->font()).family().isEmpty());

    const QFont notice = form.Label1->font();
    EXPECT_EQ(notice.pointSize(), 10);
    EXPECT_TRUE(notice.bold());
    EXPECT_EQ(form.Label1->palette().color(QPalette::WindowText), QColor(Qt::red));
}

TEST(Form1, StatusGridAtStart)
{
    TempDir tmp;
    const TForm1 form("", tmp.path());
    const QTableWidget* grid = form.sgdisplay;
    EXPECT_EQ(grid->columnCount(), 5);
    EXPECT_EQ(grid->rowCount(), 5);
    const int widths[] = {200, 120, 300, 64, 64};
    for (int column = 0; column < 5; ++column)
        EXPECT_EQ(grid->columnWidth(column), widths[column]) << column;
    for (int row = 0; row < 5; ++row)
        EXPECT_EQ(grid->rowHeight(row), 24) << row;
    EXPECT_EQ(grid->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(grid->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_FALSE(grid->currentIndex().isValid());
    EXPECT_TRUE(grid->selectedItems().isEmpty());
    EXPECT_EQ(grid->item(0, 0), nullptr);
}

// A larger window gives its room to the grid and the grid's first column; the other
// controls stay where they are.
TEST(Form1, TheGridTakesTheRoomOfALargerWindow)
{
    TempDir tmp;
    TForm1 form("", tmp.path());
    form.show();
    EXPECT_EQ(form.minimumSize(), QSize(776, 303));
    EXPECT_EQ(form.maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    EXPECT_TRUE(form.windowFlags() & Qt::WindowMaximizeButtonHint);

    form.resize(1200, 700);
    QApplication::processEvents();
    EXPECT_EQ(form.sgdisplay->geometry(), QRect(16, 128, 617 + 424, 137 + 397));
    const int widths[] = {200 + 424, 120, 300, 64, 64};
    for (int column = 0; column < 5; ++column)
        EXPECT_EQ(form.sgdisplay->columnWidth(column), widths[column]) << column;
    EXPECT_EQ(form.statusLine->pos(), QPoint(16, 269 + 397));
    EXPECT_EQ(form.BFrage->geometry(), QRect(16, 48, 201, 25));
    EXPECT_EQ(form.braus->geometry(), QRect(344, 88, 67, 25));

    form.resize(776, 303);
    QApplication::processEvents();
    EXPECT_EQ(form.sgdisplay->geometry(), QRect(16, 128, 617, 137));
    EXPECT_EQ(form.sgdisplay->columnWidth(0), 200);
}

// Rows the run has reached open their photo, by its full path; a viewer that cannot be
// started is said in the status line.
TEST(Form1, ADoubleClickOnARowOpensItsPhoto)
{
    TempDir tmp;
    for (const char* name : {"a.jpg", "b c.jpg"})
        writeFile(tmp.file(name), "");
    TForm1 form("", tmp.path());
    std::vector<QUrl> opened;
    bool viewerThere = true;
    form.desktop.openFile = [&](const QUrl& file) {
        opened.push_back(file);
        return viewerThere;
    };
    form.show();
    form.BFrage->click();
    const auto doubleClick = [&form](int row) {
        QTableWidget* grid = form.sgdisplay;
        const QRect cell = grid->visualRect(grid->model()->index(row, 1));
        // As the system delivers one: a click, and a second press that comes as the double-click.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    };
    doubleClick(1);
    doubleClick(2);  // the empty row below the last
    EXPECT_EQ(opened, std::vector<QUrl>{QUrl::fromLocalFile(QString::fromStdString(tmp.file("b c.jpg")))});

    viewerThere = false;
    doubleClick(0);
    EXPECT_EQ(form.statusLine->text(), QString::fromStdString("lässt sich nicht öffnen: " + tmp.file("a.jpg")));
}

TEST(Form1, TabOrder)
{
    TempDir tmp;
    const TForm1 form("", tmp.path());
    const std::vector<const QWidget*> expected{form.BFrage, form.LBjobliste, form.Bstop, form.braus,
                                               form.BGPSsich, form.bgpszurueck, form.pbprogress, form.sgdisplay};
    std::vector<const QWidget*> order;
    const QWidget* w = form.BFrage;
    do {
        if (std::find(expected.begin(), expected.end(), w) != expected.end())
            order.push_back(w);
        w = w->nextInFocusChain();
    } while (w != form.BFrage);
    EXPECT_EQ(order, expected);
}

TEST(Form1, LabelsGrowWithTheirText)
{
    TempDir tmp;
    TForm1 form("", tmp.path());
    const int shortWidth = form.LZiel->width();
    form.LZiel->setText(QStringLiteral("Bilder im Verzeichnis \"ein recht langer Ordnername\""));
    EXPECT_GT(form.LZiel->width(), shortWidth);
    EXPECT_EQ(form.LZiel->size(), form.LZiel->sizeHint());

    form.Label1->setText(QStringLiteral("neue Version: http://example.org/download/vistado.exe"));
    EXPECT_EQ(form.Label1->size(), form.Label1->sizeHint());
    EXPECT_GT(form.Label1->width(), 48);
}

TEST(Form1, FolderArgumentFillsTheJobList)
{
    TempDir tmp;
    makeFolder(tmp.file("Urlaub"));
    for (const char* name : {"IMG_0002.JPG", "img_0001.jpg", ".versteckt.jpg", "liste.txt"})
        writeFile(tmp.file(std::string("Urlaub/") + name), "");
    makeFolder(tmp.file("Urlaub/alt.jpg"));
    const std::string folder = tmp.path() + "/Urlaub";

    const TForm1 form(folder, "/nonexistent");
    EXPECT_EQ(form.LZiel->text(), QStringLiteral("Bilder im Verzeichnis \"Urlaub\""));
    EXPECT_EQ(form.BFrage->text(), QStringLiteral("Orte ermitteln?"));
    EXPECT_EQ(form.currentPath, folder + "/");
    const Jobs expected{folder + "/.versteckt.jpg", folder + "/alt.jpg", folder + "/img_0001.jpg",
                        folder + "/IMG_0002.JPG"};
    EXPECT_EQ(jobList(form), expected);
    EXPECT_EQ(form.LBjobliste->item(3)->text(), QString::fromStdString(expected[3]));
    EXPECT_EQ(form.LBjobliste->visualItemRect(form.LBjobliste->item(0)).height(), 13);
}

TEST(Form1, PathsKeepTheirBytesAndShowDecoded)
{
    TempDir tmp;
    makeFolder(tmp.file("M\xC3\xBCll"));
    writeFile(tmp.file("M\xC3\xBCll/Stra\xDF" "e.jpg"), "");  // a Latin-1 name, not valid in the UTF-8 locale
    const std::string folder = tmp.path() + "/M\xC3\xBCll";

    TForm1 form(folder, "/nonexistent");
    EXPECT_EQ(form.LZiel->text(), QStringLiteral("Bilder im Verzeichnis \"Müll\""));
    EXPECT_EQ(jobList(form), Jobs{folder + "/Stra\xDF" "e.jpg"});
    EXPECT_EQ(form.LBjobliste->item(0)->text(), QString::fromLocal8Bit(folder + "/Stra\xDF" "e.jpg"));

    form.setJobEntry(0, form.jobEntry(0) + " gelesen48.1,11.5");
    EXPECT_EQ(form.jobEntry(0), folder + "/Stra\xDF" "e.jpg gelesen48.1,11.5");
}

// In a Latin-1 locale paths and place texts are Latin-1 bytes; the window shows them decoded
// from that set, not as UTF-8.
TEST(Form1, TextsShowDecodedFromTheLocalesCharacterSet)
{
    TempDir tmp;
    writeFile(tmp.file("a.jpg"), "");
    TForm1 form(tmp.path() + "/a.jpg", "/nonexistent");
    form.nameCharset = "ISO-8859-1";
    form.setJobEntry(0, "M\xFCnchen/Stra\xDF" "e.jpg");
    EXPECT_EQ(form.LBjobliste->item(0)->text(), QStringLiteral("München/Straße.jpg"));
    EXPECT_EQ(form.jobEntry(0), "M\xFCnchen/Stra\xDF" "e.jpg");
}

TEST(Form1, StopEndsTheRunButtons)
{
    TempDir tmp;
    TForm1 form("", tmp.path());
    form.show();
    form.Bstop->setEnabled(true);  // as a running command leaves it
    form.braus->setEnabled(false);
    form.Bstop->click();
    EXPECT_TRUE(form.stopRequested);
    EXPECT_FALSE(form.BFrage->isEnabled());
    EXPECT_FALSE(form.Bstop->isEnabled());
    EXPECT_TRUE(form.braus->isEnabled());
    EXPECT_TRUE(form.BGPSsich->isEnabled());
    EXPECT_TRUE(form.bgpszurueck->isEnabled());
}

TEST(Form1, ExitClosesTheWindowAndTheRunLog)
{
    TempDir tmp;
    TForm1 form("", tmp.path());
    form.show();
    form.runLog.create(tmp.path() + "/protokoll.csv");
    form.runLog.write("a.jpg;kein GPS ");
    form.braus->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.runLog.isOpen());
    EXPECT_EQ(readFile(tmp.file("protokoll.csv")), "a.jpg;kein GPS ");
}

TEST(Form1, ClosingDuringACommandStopsItAndClosesAfterwards)
{
    TempDir tmp;
    TForm1 form("", tmp.path());
    form.show();
    auto hold = form.commandGuard.tryEnter();
    form.runLog.create(tmp.path() + "/protokoll.csv");

    EXPECT_FALSE(form.close());
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.stopRequested);
    EXPECT_TRUE(form.runLog.isOpen());

    hold.reset();
    QApplication::processEvents();
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.runLog.isOpen());
}

}  // namespace

}  // namespace vistado::test
