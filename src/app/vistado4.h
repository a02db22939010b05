#pragma once

#include "autosizelabel.h"
#include "commandguard.h"
#include "runlog.h"

#include <QWidget>

#include <cstdint>
#include <string>

class QCloseEvent;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTableWidget;

// The program's one window: the job list built from the command line, the
// command buttons, the status grid and the state the commands share.
class TForm1 : public QWidget {
public:
    // Runs FormCreate with the command-line argument (empty when none was given);
    // without an argument the JPEG files of `currentDirectory` form the job list.
    TForm1(const std::string& argument, const std::string& currentDirectory, QWidget* parent = nullptr);

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

    void bstopClick();
    void brausClick();
    void FormClose();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void FormCreate(const std::string& argument, const std::string& currentDirectory);
    void buildJobList(const std::string& currentDirectory);
    void addJob(const std::string& path);

    // The close box was used while a command ran: close once it has stopped.
    bool closeAfterCommand_ = false;
};
