#include "app/vistado4.h"

#include "places/ansitext.h"
#include "app/commandline.h"
#include "app/droppedjobs.h"
#include "app/errormessage.h"
#include "app/exeversion.h"
#include "meta/container/imgdata.h"
#include "meta/container/photolocation.h"
#include "meta/file/pathparts.h"
#include "places/offlineplaces.h"

#include <QByteArray>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QHeaderView>
#include <QListWidget>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QTableWidget>
#include <QUrl>

#include <langinfo.h>

namespace vistado {

namespace {

// The window's typeface; where the system lacks it, the platform's sans-serif stands in.
QFont windowFont(int pointSize)
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(pointSize);
    return font;
}

QPushButton* makeButton(const QString& caption, const QRect& geometry, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(geometry);
    return button;
}

// The job list keeps each entry's bytes, and its image's path, beside the text it shows.
constexpr int kEntryRole = Qt::UserRole;
constexpr int kPathRole = Qt::UserRole + 1;

constexpr const char* kRunLogFile = "protokoll.csv";

const QString kFrageCaption = QStringLiteral("Frage");
const QString kHint = QStringLiteral("Vistado über einem JPG oder einem Verzeichnis aufrufen");

// The window as the design lays it out; a larger one gives its extra room to the grid.
constexpr QSize kStartSize(776, 303);
constexpr QRect kGridGeometry(16, 128, 617, 137);
constexpr int kFirstColumnWidth = 200;

// What a drop would make the job list: only local files, as the program's 8-bit paths.
std::optional<CommandLineJobs> droppedJobs(const QMimeData* data, const std::string& currentDirectory)
{
    if (!data->hasUrls())
        return std::nullopt;
    std::vector<std::string> paths;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            return std::nullopt;
        std::string path = QFile::encodeName(url.toLocalFile()).toStdString();
        // A folder named as the desktop's launcher names it, so the label shows its name.
        while (path.size() > 1 && path.back() == '/')
            path.pop_back();
        paths.push_back(path);
    }
    return jobsFromDrop(paths, currentDirectory);
}

}  // namespace

TForm1::TForm1(const std::string& argument, const std::string& currentDirectory, const Services& services,
               QWidget* parent)
    : QWidget(parent), nameCharset(nl_langinfo(CODESET)), currentDirectory(currentDirectory), services(services)
{
    createControls();
    // The start-up waits about 2 s for the version file; a download still going on after
    // that would only bring a file nobody reads.
    HTTPGet2.connectTimeout = 2;
    HTTPGet2.stallTimeout = 2;
    // The window stays responsive while ExifTool works on a photo.
    exifTool.whileWaiting = [this] { processPendingEvents(); };
    commandGuard.setOnRelease([this] {
        if (closeAfterCommand)
            QMetaObject::invokeMethod(this, [this] { close(); }, Qt::QueuedConnection);
    });
    connect(BFrage, &QPushButton::clicked, this, &TForm1::BFrageClick);
    connect(BGPSsich, &QPushButton::clicked, this, &TForm1::BGPSsichClick);
    connect(bgpszurueck, &QPushButton::clicked, this, &TForm1::bgpszurueckClick);
    connect(BTrack, &QPushButton::clicked, this, &TForm1::BTrackClick);
    connect(Bstop, &QPushButton::clicked, this, &TForm1::bstopClick);
    connect(braus, &QPushButton::clicked, this, &TForm1::brausClick);
    connect(folderButton, &QPushButton::clicked, this, &TForm1::chooseFolder);
    connect(sgdisplay, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { openPhoto(row); });
    FormCreate(argument);
}

TForm1::~TForm1() = default;

void TForm1::createControls()
{
    setWindowTitle(QStringLiteral("Ort ins Bild"));
    move(494, 298);
    resize(kStartSize);
    setMinimumSize(kStartSize);
    setFont(windowFont(8));
    QPalette buttonFace = palette();
    buttonFace.setColor(QPalette::Window, buttonFace.color(QPalette::Button));
    setPalette(buttonFace);
    setAutoFillBackground(true);
    setAcceptDrops(true);

    Label1 = new AutoSizeLabel(QStringLiteral("Label1"), this);
    QFont noticeFont = windowFont(10);
    noticeFont.setBold(true);
    Label1->setFont(noticeFont);
    QPalette red = Label1->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    Label1->setPalette(red);
    Label1->move(16, 0);
    Label1->hide();

    LZiel = new AutoSizeLabel(QStringLiteral("LZiel"), this);
    LZiel->setLayoutDirection(Qt::LeftToRight);
    LZiel->move(16, 16);

    folderButton = new QPushButton(QStringLiteral("Ordner wählen…"), this);
    folderButton->resize(folderButton->sizeHint().width(), 23);

    BFrage = makeButton(kFrageCaption, {16, 48, 201, 25}, this);

    LBjobliste = new QListWidget(this);
    LBjobliste->setGeometry(272, 176, 153, 97);
    LBjobliste->setUniformItemSizes(true);
    LBjobliste->setStyleSheet(QStringLiteral("QListWidget::item { height: 13px; }"));
    LBjobliste->hide();

    Bstop = makeButton(QStringLiteral("stop"), {272, 88, 59, 25}, this);
    Bstop->setEnabled(false);
    braus = makeButton(QStringLiteral("Exit"), {344, 88, 67, 25}, this);
    BGPSsich = makeButton(QStringLiteral("GPS sichern"), {16, 88, 89, 25}, this);
    bgpszurueck = makeButton(QStringLiteral("GPS zurückholen"), {120, 88, 97, 25}, this);

    CBnurKommentar = new QCheckBox(QStringLiteral("nur Kommentar"), this);
    CBnurKommentar->setGeometry(424, 92, 120, 17);
    // Right of the row of commands, before the window's free space.
    BTrack = makeButton(QStringLiteral("GPS aus Track"), {552, 88, 81, 25}, this);

    pbprogress = new QProgressBar(this);
    // As far as the grid reaches: its text tells the photos and the time left.
    pbprogress->setGeometry(232, 48, 401, 25);
    pbprogress->setRange(0, 100);
    pbprogress->setValue(0);
    pbprogress->setTextVisible(true);
    pbprogress->hide();

    sgdisplay = new QTableWidget(5, 5, this);
    sgdisplay->setGeometry(kGridGeometry);
    sgdisplay->horizontalHeader()->hide();
    sgdisplay->verticalHeader()->hide();
    sgdisplay->horizontalHeader()->setDefaultSectionSize(64);
    sgdisplay->verticalHeader()->setMinimumSectionSize(1);
    sgdisplay->verticalHeader()->setDefaultSectionSize(24);
    sgdisplay->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    sgdisplay->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sgdisplay->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sgdisplay->setSelectionMode(QAbstractItemView::SingleSelection);

    statusLine = new AutoSizeLabel(QString(), this);
    statusLine->move(16, kGridGeometry.bottom() + 5);

    setTabOrder(BFrage, LBjobliste);
    setTabOrder(LBjobliste, Bstop);
    setTabOrder(Bstop, braus);
    setTabOrder(braus, BGPSsich);
    setTabOrder(BGPSsich, bgpszurueck);
    setTabOrder(bgpszurueck, BTrack);
    setTabOrder(BTrack, pbprogress);
    setTabOrder(pbprogress, sgdisplay);
}

void TForm1::FormCreate(const std::string& argument)
{
    ownVersion = ExeVersionText();
    versionpruefen();
    setWindowTitle(QStringLiteral("Vistado  MV ") + localText(ownVersion));
    LZiel->setText(kHint);
    sgdisplay->setColumnWidth(0, kFirstColumnWidth);
    sgdisplay->setColumnWidth(1, 120);
    sgdisplay->setColumnWidth(2, 300);
    sgdisplay->setCurrentCell(-1, -1);
    stopRequested = false;
    currentPath = argument;
    buildJobList();
}

void TForm1::buildJobList()
{
    takeJobs(jobsFromCommandLine(currentPath, currentDirectory));
}

void TForm1::takeJobs(const CommandLineJobs& rules)
{
    currentPath = rules.currentPath;
    argumentPath = rules.pathState;
    folderJobs = rules.folder;
    if (rules.frageCaption)
        BFrage->setText(localText(*rules.frageCaption));
    if (rules.zielText)
        LZiel->setText(localText(*rules.zielText));
    LBjobliste->clear();
    for (const std::string& path : rules.jobs)
        addJob(path);
    placeFolderButton();

    listFolder = rules.folder ? rules.currentPath : rules.jobs.empty() ? std::string() : folderPart(rules.jobs.front());
    if (listFolder.empty())
        listFolder = currentDirectory;
    else if (listFolder.front() != '/')
        listFolder = currentDirectory + "/" + listFolder;
}

// A new job list starts afresh, as after start-up: the texts, the empty grid, and the
// buttons a finished or stopped run switched off, and the stop flag, are as they were then,
// so the new list can be run.
void TForm1::startAfresh(const CommandLineJobs& rules)
{
    BFrage->setText(kFrageCaption);
    LZiel->setText(kHint);
    takeJobs(rules);
    stopRequested = false;
    for (QPushButton* button : {BFrage, braus, BGPSsich, bgpszurueck, BTrack})
        button->setEnabled(true);
    Bstop->setEnabled(false);
    sgdisplay->clearContents();
    sgdisplay->setRowCount(5);
    sgdisplay->setCurrentCell(-1, -1);
    statusLine->setText(QString());
}

// Beside the label, whose width follows its text.
void TForm1::placeFolderButton()
{
    folderButton->move(LZiel->geometry().right() + 13, LZiel->geometry().center().y() - folderButton->height() / 2);
}

int TForm1::jobCount() const
{
    return LBjobliste->count();
}

std::string TForm1::jobEntry(int index) const
{
    return LBjobliste->item(index)->data(kEntryRole).toByteArray().toStdString();
}

std::string TForm1::jobPath(int index) const
{
    return LBjobliste->item(index)->data(kPathRole).toByteArray().toStdString();
}

void TForm1::addJob(const std::string& path)
{
    LBjobliste->addItem(QString());
    LBjobliste->item(LBjobliste->count() - 1)->setData(kPathRole, QByteArray::fromStdString(path));
    setJobEntry(LBjobliste->count() - 1, path);
}

void TForm1::setJobEntry(int index, const std::string& entry)
{
    QListWidgetItem* item = LBjobliste->item(index);
    item->setText(localText(entry));
    item->setData(kEntryRole, QByteArray::fromStdString(entry));
}

std::string TForm1::ownFile(const char* name) const
{
    return currentDirectory + "/" + name;
}

QString TForm1::localText(const std::string& bytes) const
{
    return QString::fromUtf8(ansiToUtf8(bytes, nameCharset));
}

// Runs one command's body: not inside another command, and with every error it raises
// shown by the standard error message, which ends the command.
// While it runs, the progress bar shows how far it is; at its end the status line says what
// it did.
void TForm1::runCommand(RunKind kind, const std::function<void()>& run)
{
    auto hold = commandGuard.tryEnter();
    if (!hold)
        return;
    runOutcome = RunOutcome::EndedEarly;
    runSummary.start(kind, jobCount());
    runProgress.emplace(jobCount(), runClock.now());
    statusLine->setText(QString());
    folderButton->setEnabled(false);
    showProgress(0);
    pbprogress->show();
    try {
        run();
    } catch (const std::exception& error) {
        showErrorMessage(this, error);
    }
    imageData.reset();
    pbprogress->hide();
    runProgress.reset();
    folderButton->setEnabled(true);
    if (runOutcome != RunOutcome::NoExifTool)
        statusLine->setText(QString::fromUtf8(runSummary.line(runOutcome)));
}

// After `done` of the run's images.
void TForm1::showProgress(int done)
{
    pbprogress->setFormat(QString::fromUtf8(runProgress->text(done, runClock.now())));
    pbprogress->setValue(runProgress->position(done));
}

void TForm1::createRunLog()
{
    runLog.create(ownFile(kRunLogFile));
}

// Where a run lets the window process its pending events: the stop button, the close box,
// repainting and the downloads' reports get their turn.
void TForm1::processPendingEvents()
{
    QCoreApplication::processEvents();
}

// A run turns to job-list entry `row`: its image's path starts the log line, its file name
// goes to the grid's column 0, with one empty row below it.
void TForm1::startImage(int row)
{
    currentRow = row;
    currentPath = jobPath(row);
    runLog.write(currentPath + ";");
    sgdisplay->setRowCount(row + 2);
    setGridText(0, row, fileNamePart(currentPath));
}

// What a run found in the current image: into the log line and the grid's column 1.
void TForm1::showStatus(const std::string& text)
{
    runLog.write(text);
    setGridText(1, currentRow, text);
}

void TForm1::endLogLine(std::string_view text)
{
    runLog.write(text);
    runLog.endLine();
}

void TForm1::selectGridRow(int row)
{
    sgdisplay->setCurrentCell(row, 0);
    sgdisplay->scrollToItem(sgdisplay->item(row, 0));
}

void TForm1::setGridText(int column, int row, const std::string& text)
{
    QTableWidgetItem* item = sgdisplay->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        sgdisplay->setItem(row, column, item);
    }
    item->setText(localText(text));
}

// A run that went through its whole job list: BFrage reads "fertig", it and stop are off,
// Exit is on. The backup and restore switch off more.
// Tested after each image: a stop request ends the run there.
bool TForm1::stoppedAfterImage()
{
    if (stopRequested)
        runOutcome = RunOutcome::Stopped;
    return stopRequested;
}

void TForm1::showRunFinished()
{
    runOutcome = RunOutcome::Finished;
    BFrage->setText(QStringLiteral("fertig"));
    BFrage->setEnabled(false);
    Bstop->setEnabled(false);
    braus->setEnabled(true);
}

void TForm1::bstopClick()
{
    stopRequested = true;
    BFrage->setEnabled(false);
    Bstop->setEnabled(false);
    braus->setEnabled(true);
}

void TForm1::brausClick()
{
    close();
}

void TForm1::FormClose()
{
    runLog.close();
}

void TForm1::dragEnterEvent(QDragEnterEvent* event)
{
    if (!commandGuard.running() && droppedJobs(event->mimeData(), currentDirectory))
        event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event)
{
    if (commandGuard.running())
        return;
    const std::optional<CommandLineJobs> rules = droppedJobs(event->mimeData(), currentDirectory);
    if (!rules)
        return;
    event->acceptProposedAction();
    startAfresh(*rules);
}

void TForm1::chooseFolder()
{
    if (commandGuard.running())
        return;
    const QString folder = desktop.chooseFolder(this, QFile::decodeName(QByteArray::fromStdString(listFolder)));
    if (!folder.isEmpty())
        startAfresh(jobsFromCommandLine(QFile::encodeName(folder).toStdString(), currentDirectory));
}

void TForm1::openPhoto(int row)
{
    if (row >= jobCount() || !sgdisplay->item(row, 0))
        return;
    std::string path = jobPath(row);
    if (!path.starts_with('/'))
        path = currentDirectory + "/" + path;
    const QString file = QFileInfo(QFile::decodeName(QByteArray::fromStdString(path))).absoluteFilePath();
    if (!desktop.openFile(QUrl::fromLocalFile(file)))
        statusLine->setText(QStringLiteral("lässt sich nicht öffnen: ") + localText(path));
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const QSize extra = size() - kStartSize;
    sgdisplay->setGeometry(kGridGeometry.adjusted(0, 0, extra.width(), extra.height()));
    sgdisplay->setColumnWidth(0, kFirstColumnWidth + extra.width());
    statusLine->move(16, sgdisplay->geometry().bottom() + 5);
}

void TForm1::closeEvent(QCloseEvent* event)
{
    // Closing under a running command would close its run log beneath it: stop
    // the command instead and close when it has ended.
    if (commandGuard.running()) {
        stopRequested = true;
        closeAfterCommand = true;
        event->ignore();
        return;
    }
    try {
        FormClose();
    } catch (const std::exception& error) {
        showErrorMessage(this, error);
    }
    event->accept();
}

}  // namespace vistado
