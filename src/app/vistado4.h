#pragma once

#include "app/autosizelabel.h"
#include "app/commandguard.h"
#include "app/commandline.h"
#include "app/desktop.h"
#include "app/exiftool/exiftool.h"
#include "net/httpget.h"
#include "app/qtuithread.h"
#include "app/progress.h"
#include "app/requestpace.h"
#include "app/runclock.h"
#include "app/runlog.h"
#include "app/runsummary.h"
#include "app/services.h"
#include "meta/file/commitqueue.h"
#include "meta/locationfields.h"

#include <QWidget>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class QCheckBox;
class QCloseEvent;
class QDragEnterEvent;
class QDropEvent;
class QListWidget;
class QProgressBar;
class QPushButton;
class QResizeEvent;
class QTableWidget;

namespace vistado {

class TimgData;
class Track;
class OfflinePlaces;
class PhotoLocation;

// The program's one window: the job list built from the command line, the
// command buttons, the status grid and the state the commands share.
class TForm1 : public QWidget {
public:
    // Runs FormCreate with the command-line argument (empty when none was given).
    // `currentDirectory` is the program's current directory: without an argument its JPEG
    // files form the job list, and the files the program keeps for itself (geodat.xml,
    // vistado.ver) lie there. `services` says where places and updates come from; by
    // default places come from the offline lookup and there is no update check.
    TForm1(const std::string& argument, const std::string& currentDirectory, const Services& services = {},
           QWidget* parent = nullptr);
    ~TForm1() override;

    // Controls, named as the commands know them.
    AutoSizeLabel* Label1;      // the new-version notice, hidden until there is one
    AutoSizeLabel* LZiel;       // what the program was called with
    QPushButton* BFrage;         // the place run
    QListWidget* LBjobliste;     // the job list, never shown
    QPushButton* Bstop;
    QPushButton* braus;          // Exit
    QPushButton* BGPSsich;       // GPS backup
    QPushButton* bgpszurueck;    // GPS restore
    QPushButton* BTrack;         // "GPS aus Track": positions from GPS tracks
    QProgressBar* pbprogress;    // shown while a command runs: "12 von 50, noch etwa 2 min"
    QTableWidget* sgdisplay;     // the status grid: file name, status or position, result
    QPushButton* folderButton;   // "Ordner wählen…", beside LZiel
    AutoSizeLabel* statusLine;   // under the grid: how the last run ended, in one line
    // "nur Kommentar": the place run writes the place into the comment alone, not into the
    // IPTC and XMP location fields. Unchecked at start.
    QCheckBox* CBnurKommentar;

    // The folder dialog, the photo viewer and the track run's questions.
    Desktop desktop = Desktop::system();

    // Download components: geocoder requests, and the update check.
    net::THTTPGet HTTPGet1{qtUiThread(this)};
    net::THTTPGet HTTPGet2{qtUiThread(this)};

    // The job list: each entry starts as its image's path, and the place run appends its
    // marks to it (" gelesen", the position, " geschrieben"). The commands open the image's
    // own path, never the marked entry. The entries keep their bytes; the list box shows
    // them decoded.
    int jobCount() const;
    std::string jobEntry(int index) const;
    void setJobEntry(int index, const std::string& entry);
    std::string jobPath(int index) const;

    // What the command-line argument named: whether its path could be looked at, and
    // whether the job list is a folder's (or, without an argument, the current directory's).
    PathState argumentPath = PathState::Found;
    bool folderJobs = false;

    // Window state shared by the commands.
    std::string ownVersion;
    std::string currentPath;     // while the job list is built: the argument; in a run: the image's path
    std::int32_t currentRow = 0; // job-list entry (and grid row) being processed
    bool stopRequested = false;
    RunLog runLog;
    std::string positionText;
    std::string placeText;
    std::string existingComment;
    // The place's location fields (UTF-8), found with the place text, and what the photo
    // being read holds of them (none when the run writes the comment alone).
    LocationFields placeFields;
    std::unique_ptr<PhotoLocation> photoLocation;
    // What schreibe_jpg writes of the photo besides its fields, set in the container first:
    // whether the comment gets the place text.
    bool commentWanted = true;
    std::string backupFolder;
    std::string backupTextPath;
    // The image a run is reading (and the place run writing): one container per image,
    // released when the next image's is made and when the run ends.
    std::unique_ptr<TimgData> imageData;
    // The ExifTool process of the backup and restore: started at a command's first request,
    // ended with the command. Tests shorten its replyTimeout.
    ExifTool exifTool;

    // What the commands wait by; tests put in a clock of their own.
    RunClock runClock;

    // Each command takes a hold on entry, so none starts inside another.
    CommandGuard commandGuard;

    // How the last command ended. The runs without a window take their exit status from it.
    using RunOutcome = vistado::RunOutcome;
    RunOutcome runOutcome = RunOutcome::NotRun;
    // What the last command did with each photo, for the status line.
    RunSummary runSummary;
    // The photos the last place run could not write; it went on with the next one each time.
    int unwrittenImages = 0;
    // The place run's photos whose writing ends in the background: their grid rows, their
    // held log lines and the outcomes, in the run's order.
    CommitQueue commitQueue;
    struct PendingWrite {
        int row;
        std::size_t line;
        std::future<void> outcome;
        std::string note;  // what the log line ends with once the photo is written
    };
    std::deque<PendingWrite> pendingWrites;

    // The 8-bit character set place names are converted to: the locale's at start-up.
    // Paths and place texts are shown decoded from it.
    std::string nameCharset;

    // The geocoder exchange for one image's position text (latitude,longitude), after
    // nochkeinort (placetext.h) has found no place in its comment.
    // hole_daten asks for the place and waits up to about 10 s for the download's end, which
    // leaves the reply file geodat.xml when the whole reply came; false when it did not (the
    // caption then says why: "Google pennt" for no reply in time, "Geocoder nicht erreichbar",
    // "Geocoder-Fehler HTTP 404", "Geocoder-Antwort unvollständig", "Fehler beim xml-Schreiben").
    // Requests keep the service's interval (Services). Offline the offline lookup gives the
    // reply at once, in the service's form, kept in memory. Before asking, it removes a
    // left-over reply file and stops the last request's download if that still runs, letting
    // the window process its events until the download's end has been reported.
    // mache_orts_info scans the reply into the place text and deletes it; when the reply file
    // cannot be opened the caption reads "Fehler beim xml-Lesen" and the place text is empty.
    bool hole_daten(const std::string& positionText);
    std::string mache_orts_info();

    // The three commands, run by their buttons. Each walks the job list from its first entry
    // to its last, writing the run log protokoll.csv (in `currentDirectory`) and the status
    // grid, and lets the window process its events between steps, so the stop button and
    // the close box work; a click on a command button meanwhile is ignored. An error ends
    // the command and is shown by the standard error message. While a command runs the
    // progress bar counts its photos; at its end the status line sums up what it did.
    // The place run: the place of each image's GPS position into its JPEG comment. A photo
    // that cannot be written gets its error in the run log and the grid, and the run goes
    // on; at its end one message tells how many could not be written.
    void BFrageClick();
    // The GPS backup: each image's position into gpstext/<name>.txt beside it, by ExifTool.
    // The GPS restore: the backed-up positions back into the images, by ExifTool.
    // Both hand their photos one after the other to one ExifTool process. Without ExifTool
    // in PATH neither starts: a message says so. A photo whose ExifTool dies or hangs (see
    // ExifTool::replyTimeout) gets its error and the next photo a new process; when that
    // has happened to three photos in a row, the run ends with the standard error message.
    void BGPSsichClick();
    void bgpszurueckClick();
    // The track run: photos without a position of their own get the one the GPS tracks
    // give for their time, written by ExifTool as the restore writes. BTrackClick asks for
    // the GPX files and the camera's clock (Desktop), reads the tracks (a track that cannot
    // be read is said in a message, and nothing runs) and runs runTrack over the job list.
    // Each photo's line: "keine Exif Daten", "hat GPS" (it keeps its position), or the
    // track's answer (trackLogLine), with ExifTool's error behind it when writing failed.
    void BTrackClick();
    void runTrack(const Track& track, const CameraClock& clock);

    // Steps of the place run for one image. gps_auslesen reads its position text in decimal
    // degrees (empty when it has none; then the status goes to the grid and the run log);
    // schreibe_jpg writes the place text in front of its comment (unless commentWanted is
    // false) and the location fields set in the container, rewriting the file in place: it
    // writes the new file, raising the writer's error when it cannot, and hands the rest
    // (the flush to the disk, the rename) to commitQueue, whose outcome it returns.
    std::string gps_auslesen(const std::string& path);
    std::future<void> schreibe_jpg(const std::string& path);

    // Steps of the backup for one image: mie_schreiben tells whether it has a position to
    // back up (and shows and logs what it found); schreibe_gps has ExifTool write its backup
    // file and gives the outcome as the run log and the grid show it: "ok" when the backup
    // file now holds both coordinates, "Fehler mit Exiftool", "Fehler mit Exiftool
    // (Zeitüberschreitung)" or "Dateiname mit Zeilenumbruch wird nicht unterstützt" (nothing
    // sent: no argument stream can carry such a name).
    bool mie_schreiben(const std::string& path);
    std::string schreibe_gps(const std::string& path);
    // Steps of the restore for one image: mie_lesen tells whether its backup text file
    // exists (and keeps its path in backupTextPath); schreibe_exif reads the file, and when it
    // holds a complete position has ExifTool write it back. It gives the outcome as the run
    // log and the grid show it: "ok" when ExifTool reports the photo updated, the backup's
    // failures, or "Sicherung unvollständig" (nothing sent).
    bool mie_lesen(const std::string& path);
    std::string schreibe_exif(const std::string& path);
    // The track run's step for the current image: what it found and wrote, into its log
    // line and grid row.
    void trackPhoto(const Track& track, const CameraClock& clock);

    void bstopClick();
    void brausClick();
    void FormClose();

    // "Ordner wählen…": the folder chosen in the desktop's dialog, which starts at the job
    // list's folder, becomes the job list as if the window had been opened on it; nothing
    // happens while a command runs.
    void chooseFolder();
    // A double-click on grid row `row` opens its photo in the desktop's viewer.
    void openPhoto(int row);

protected:
    void closeEvent(QCloseEvent* event) override;
    // The grid takes the room a larger window gives, its first column the width.
    void resizeEvent(QResizeEvent* event) override;
    // A folder or JPEG files dropped from a file manager become the job list, as the
    // command-line argument does at start-up; refused while a command runs.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createControls();
    void FormCreate(const std::string& argument);
    void versionpruefen();
    void buildJobList();
    void takeJobs(const CommandLineJobs& rules);
    void startAfresh(const CommandLineJobs& rules);
    void placeFolderButton();
    void addJob(const std::string& path);
    std::string ownFile(const char* name) const;
    // A text of the program's 8-bit world (a path, a place text) as the window shows it.
    QString localText(const std::string& bytes) const;
    void runCommand(RunKind kind, const std::function<void()>& run);
    void showProgress(int done);
    void createRunLog();
    void processPendingEvents();
    void startImage(int row);
    void showStatus(const std::string& text);
    void endLogLine(std::string_view text);
    void selectGridRow(int row);
    void setGridText(int column, int row, const std::string& text);
    void showRunFinished();
    bool stoppedAfterImage();
    bool fieldsWanted() const;
    struct FieldsOutcome {
        bool set = false;  // the fields are in the container, to be written
        std::string note;  // for the log line; empty when there is nothing to say
    };
    FieldsOutcome setPlaceFields();
    void writePlace(int row, const std::string& note);
    void settleWrites(bool wait);
    std::string writeFailed(int row, const std::exception& error);
    void reportUnwrittenImages();
    void settleDownload(net::THTTPGet& download);
    bool exifToolInstalled();
    bool startExifToolRun();
    std::string exifToolResult(const ExifToolOutcome& outcome, bool done) const;
    void endRunIfExifToolKeepsFailing() const;
    std::string offlineReplyFor(const std::string& positionText);

    const std::string currentDirectory;
    const Services services;
    RequestPace geocoderPace{services.geocoderInterval, runClock};
    std::unique_ptr<OfflinePlaces> offlinePlaces;  // made at the first offline lookup
    std::optional<std::string> offlineReply;  // from hole_daten to mache_orts_info, offline
    LocationFields offlineFields;              // and the fields of its place

    // The close box was used while a command ran: close once it has stopped.
    bool closeAfterCommand = false;
    // Where the folder dialog starts: the job list's folder.
    std::string listFolder;
    std::optional<RunProgress> runProgress;  // while a command runs
};

}  // namespace vistado
