// Folders and photos dropped onto the window, as a file manager drops them: Qt's drag and
// drop events carrying file URLs; and a folder chosen in the folder dialog.

#include "formprobe.h"
#include "testfiles.h"
#include "app/vistado4.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTableWidget>
#include <QUrl>

#include <gtest/gtest.h>

namespace vistado::test {
namespace {

using Jobs = std::vector<std::string>;

QUrl fileUrl(const std::string& path)
{
    return QUrl::fromLocalFile(QString::fromStdString(path));
}

// Drags `data` onto the window and drops it there; whether the window took the drop.
bool drop(TForm1& form, const QMimeData& data)
{
    QDragEnterEvent enter(QPoint(300, 200), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&form, &enter);
    QDropEvent dropped(QPointF(300, 200), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&form, &dropped);
    EXPECT_EQ(enter.isAccepted(), dropped.isAccepted());
    return dropped.isAccepted();
}

bool dropUrls(TForm1& form, const QList<QUrl>& urls)
{
    QMimeData data;
    data.setUrls(urls);
    return drop(form, data);
}

class DropTest : public testing::Test {
protected:
    void SetUp() override
    {
        for (const char* folder : {"/Rom", "/Paris"})
            makeFolder(tmp.path() + folder);
        for (const char* file : {"/Rom/b.JPG", "/Rom/a.jpg", "/Rom/notes.txt", "/Paris/c.jpg"})
            writeFile(tmp.path() + file, "");
    }
    std::string path(const std::string& relative) const { return tmp.path() + "/" + relative; }

    TempDir tmp;
};

TEST_F(DropTest, FolderOrJpegFilesBecomeTheJobList)
{
    const struct {
        QList<QUrl> urls;
        Jobs jobs;
        std::string ziel;
        std::string frage;
    } cases[] = {
        {{fileUrl(path("Rom"))}, {path("Rom/a.jpg"), path("Rom/b.JPG")}, "Bilder im Verzeichnis \"Rom\"",
         "Orte ermitteln?"},
        {{fileUrl(path("Rom") + "/")}, {path("Rom/a.jpg"), path("Rom/b.JPG")}, "Bilder im Verzeichnis \"Rom\"",
         "Orte ermitteln?"},
        {{fileUrl(path("Rom/b.JPG"))}, {path("Rom/b.JPG")}, "Bild \"b.JPG\"", "Ort ermitteln?"},
        {{fileUrl(path("Rom/b.JPG")), fileUrl(path("Rom/a.jpg"))}, {path("Rom/b.JPG"), path("Rom/a.jpg")},
         "2 Bilder im Verzeichnis \"Rom\"", "Orte ermitteln?"},
        {{fileUrl(path("Rom/a.jpg")), fileUrl(path("Paris/c.jpg"))}, {path("Rom/a.jpg"), path("Paris/c.jpg")},
         "2 Bilder", "Orte ermitteln?"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ziel);
        TForm1 form(path("Paris/c.jpg"), tmp.path());
        EXPECT_TRUE(dropUrls(form, c.urls));
        EXPECT_EQ(jobList(form), c.jobs);
        EXPECT_EQ(form.LZiel->text().toStdString(), c.ziel);
        EXPECT_EQ(form.BFrage->text().toStdString(), c.frage);
    }
}

TEST_F(DropTest, AnythingElseIsRefused)
{
    const QList<QUrl> refused[] = {
        {fileUrl(path("Rom/notes.txt"))},
        {fileUrl(path("Rom/a.jpg")), fileUrl(path("Rom/notes.txt"))},
        {fileUrl(path("Rom")), fileUrl(path("Rom/a.jpg"))},
        {fileUrl(path("Rom")), fileUrl(path("Paris"))},
        {fileUrl(path("Rom/gone.jpg"))},
        {QUrl("https://example.org/a.jpg")},
        {},
    };
    for (const QList<QUrl>& urls : refused) {
        SCOPED_TRACE(QUrl::toStringList(urls).join(' ').toStdString());
        TForm1 form(path("Paris"), tmp.path());
        EXPECT_FALSE(dropUrls(form, urls));
        EXPECT_EQ(jobList(form), Jobs{path("Paris/c.jpg")});
        EXPECT_EQ(form.LZiel->text().toStdString(), "Bilder im Verzeichnis \"Paris\"");
    }
    TForm1 form(path("Paris"), tmp.path());
    QMimeData text;
    text.setText(QString::fromStdString(path("Rom")));
    EXPECT_FALSE(drop(form, text));
    EXPECT_EQ(jobList(form), Jobs{path("Paris/c.jpg")});
}

TEST_F(DropTest, RefusedWhileACommandRuns)
{
    TForm1 form(path("Paris"), tmp.path());
    {
        const auto hold = form.commandGuard.tryEnter();
        EXPECT_FALSE(dropUrls(form, {fileUrl(path("Rom"))}));
        EXPECT_EQ(jobList(form), Jobs{path("Paris/c.jpg")});
    }
    EXPECT_TRUE(dropUrls(form, {fileUrl(path("Rom"))}));
}

// After a stopped run the new list can be run: the buttons and the stop flag are as at start.
TEST_F(DropTest, NewListCanBeRunAfterAStop)
{
    TForm1 form(path("Paris"), tmp.path());
    form.bstopClick();
    ASSERT_FALSE(form.BFrage->isEnabled());
    EXPECT_TRUE(dropUrls(form, {fileUrl(path("Rom"))}));
    EXPECT_FALSE(form.stopRequested);
    EXPECT_TRUE(form.BFrage->isEnabled());
    EXPECT_FALSE(form.Bstop->isEnabled());
    EXPECT_TRUE(form.braus->isEnabled());
}

// The folder dialog starts at the job list's folder; the folder chosen there becomes the job
// list as a dropped one does, the grid emptied. Cancelled, or while a command runs, nothing
// changes.
TEST_F(DropTest, AChosenFolderBecomesTheJobListLikeADroppedOne)
{
    TForm1 form(path("Paris/c.jpg"), tmp.path());
    std::vector<std::string> starts;
    QString chosen = QString::fromStdString(path("Rom"));
    form.desktop.chooseFolder = [&](QWidget* parent, const QString& start) {
        EXPECT_EQ(parent, &form);
        starts.push_back(start.toStdString());
        return chosen;
    };
    form.BFrage->click();
    form.bstopClick();
    form.folderButton->click();
    EXPECT_EQ(starts, std::vector<std::string>{path("Paris/")});
    EXPECT_EQ(jobList(form), (Jobs{path("Rom/a.jpg"), path("Rom/b.JPG")}));
    EXPECT_EQ(form.LZiel->text().toStdString(), "Bilder im Verzeichnis \"Rom\"");
    EXPECT_EQ(form.BFrage->text().toStdString(), "Orte ermitteln?");
    EXPECT_FALSE(form.stopRequested);
    EXPECT_TRUE(form.BFrage->isEnabled());
    EXPECT_FALSE(form.Bstop->isEnabled());
    EXPECT_EQ(form.sgdisplay->item(0, 0), nullptr);
    EXPECT_EQ(form.sgdisplay->rowCount(), 5);
    EXPECT_EQ(form.statusLine->text(), QString());

    chosen.clear();
    form.folderButton->click();
    EXPECT_EQ(starts.back(), path("Rom/"));
    EXPECT_EQ(jobList(form), (Jobs{path("Rom/a.jpg"), path("Rom/b.JPG")}));

    const auto hold = form.commandGuard.tryEnter();
    form.chooseFolder();
    EXPECT_EQ(starts.size(), 2u);
}

}  // namespace
}  // namespace vistado::test
