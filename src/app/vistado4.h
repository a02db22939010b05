#pragma once

#include "autosizelabel.h"
#include "commandguard.h"
#include "net/http_get.h"
#include "qtuithread.h"
#include "runlog.h"
#include "services.h"

#include <QWidget>

#include <cstdint>
#include <memory>
#include <string>

class PlaceIndex;
class QCloseEvent;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTableWidget;

// The program's one window: the job list built from the command line, the
// command buttons, the status grid and the state the commands share.
class TForm1 : public QWidget {
public:
    // Runs FormCreate with the command-line argument (empty when none was given).
    // `currentDirectory` is the program's current directory: without an argument its JPEG
    // files form the job list, and the files the program keeps for itself (geodat.xml,
    // vistado.ver) lie there. `services` says where places and updates come from; by
    // default places come from the offline city list and there is no update check.
    TForm1(const std::string& argument, const std::string& currentDirectory, const TServices& services = {},
           QWidget* parent = nullptr);
    ~TForm1() override;

    // Controls, named as the commands know them.
    TAutoSizeLabel* Label1;      // the new-version notice, hidden until there is one
    TAutoSizeLabel* LZiel;       // what the program was called with
    QPushButton* BFrage;         // the place run
    QListWidget* LBjobliste;     // the job list, never shown
    QPushButton* Bstop;
    QPushButton* braus;          // Exit
    QPushButton* BGPSsich;       // GPS backup
    QPushButton* bgpszurueck;    // GPS restore
    QProgressBar* pbprogress;    // shown by backup and restore
    QTableWidget* sgdisplay;     // the status grid: file name, status or position, result

    // Download components: geocoder requests, and the update check.
    vistado::net::THTTPGet HTTPGet1{qtUiThread(this)};
    vistado::net::THTTPGet HTTPGet2{qtUiThread(this)};

    // The job list holds the paths' bytes; the list box shows them decoded.
    int jobCount() const;
    std::string jobEntry(int index) const;
    void setJobEntry(int index, const std::string& path);

    // Window state shared by the commands.
    std::string ownVersion;
    std::string currentPath;     // while the job list is built: the argument; in a run: the image's path
    std::int32_t currentRow = 0; // job-list entry (and grid row) being processed
    bool stopRequested = false;
    TRunLog runLog;
    std::string positionText;
    std::string placeText;
    std::string existingComment;
    std::string backupFolder;
    std::string backupTextPath;

    // Each command takes a hold on entry, so none starts inside another.
    TCommandGuard commandGuard;

    // The 8-bit character set place names are converted to: the locale's at start-up.
    std::string nameCharset;

    // The geocoder exchange for one image's position text (latitude,longitude), after
    // nochkeinort (placetext.h) has found no place in its comment.
    // hole_daten asks for the place and waits up to about 10 s for the reply file
    // geodat.xml; false when none came (the caption then reads "Google pennt"). Offline it
    // writes the reply itself from the city list. Before asking, it removes a left-over
    // reply and stops the last request's download if that still runs, letting the window
    // process its events until the download's end has been reported.
    // mache_orts_info scans the reply into the place text and deletes it; when the reply
    // cannot be opened the caption reads "Fehler beim xml-Lesen" and the place text is empty.
    bool hole_daten(const std::string& positionText);
    std::string mache_orts_info();

    void bstopClick();
    void brausClick();
    void FormClose();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void FormCreate(const std::string& argument);
    void versionpruefen();
    void buildJobList();
    void addJob(const std::string& path);
    std::string ownFile(const char* name) const;
    void settleDownload(vistado::net::THTTPGet& download);
    void writeOfflineReply(const std::string& reply, const std::string& positionText);

    const std::string currentDirectory_;
    const TServices services_;
    std::unique_ptr<PlaceIndex> placeIndex_;  // built at the first offline lookup

    // The close box was used while a command ran: close once it has stopped.
    bool closeAfterCommand_ = false;
};
