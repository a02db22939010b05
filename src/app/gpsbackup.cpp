// The GPS backup and restore of the window: ExifTool prints each image's position into a
// text file beside it, and later writes it back from there.
#include "app/vistado4.h"

#include "places/ansitext.h"
#include "app/decimalpoint.h"
#include "app/exiftool/exiftoolcalls.h"
#include "app/exiftool/gpstext.h"
#include "meta/file/filereader.h"
#include "meta/container/imgdata.h"
#include "meta/text/settings.h"

#include <QProgressBar>
#include <QPushButton>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <system_error>

namespace vistado {

namespace {

// Over thousands of images the backup would otherwise start thousands of processes at once.
constexpr int kExifToolSlots = 4;

// GPS rendering mode of the backup: degrees, minutes and seconds.
constexpr std::uint8_t kDegreesMinutesSeconds = 2;

constexpr const char* kExifToolFailed = "Fehler mit Exiftool";

bool fileExists(const std::string& path)
{
    std::error_code ignored;
    return std::filesystem::exists(path, ignored);
}

// A backup file ExifTool has written: both coordinates there, as the restore needs them.
bool backupWritten(const std::string& backupFile)
{
    std::ifstream text(backupFile, std::ios::binary);
    return text.is_open() && backupComplete(readGpsBackup(text));
}

// An image whose backup ExifTool is writing: its log line is held open until the process
// has ended.
struct RunningBackup {
    int row;
    std::size_t logLine;
    pid_t process;
    std::string backupFile;
};

}  // namespace

void TForm1::BGPSsichClick()
{
    runCommand(RunKind::GpsBackup, [this] {
        braus->setEnabled(false);
        Bstop->setEnabled(true);
        bgpszurueck->setEnabled(false);
        createRunLog();
        // Up to four backups run at once, first to last; the log lines behind a running one
        // wait for its outcome, so the lines stay in job-list order.
        std::deque<RunningBackup> running;
        const auto showOutcomes = [this, &running](bool awaitAll) {
            while (!running.empty() && (awaitAll || exifTool.ended(running.front().process))) {
                const RunningBackup& backup = running.front();
                exifTool.awaitEnd(backup.process);
                const bool written = backupWritten(backup.backupFile);
                const std::string result = written ? "ok" : kExifToolFailed;
                runLog.completeLine(backup.logLine, result);
                setGridText(2, backup.row, result);
                runSummary.note(backup.row, written ? PhotoOutcome::Saved : PhotoOutcome::ExifToolFailed);
                running.pop_front();
            }
        };
        const int count = jobCount();
        for (int i = 0; i < count; ++i) {
            startImage(i);
            selectGridRow(i);
            processPendingEvents();
            if (mie_schreiben(currentPath)) {
                runLog.write(" schreiben.. ");
                const std::string backupFile = backupTextFile(currentPath);
                // a.jpg and a.JPG share a.txt: the earlier one's ExifTool may be writing it.
                const auto sameFile = [&backupFile](const RunningBackup& other) { return other.backupFile == backupFile; };
                if (std::ranges::any_of(running, sameFile))
                    showOutcomes(true);
                // ExifTool would keep the file anyway; an earlier backup is worth keeping (the
                // photo may have lost its position since), but it is not this run's "ok".
                const bool backupThere = fileExists(backupFile);
                const std::optional<pid_t> process = backupThere ? std::nullopt : schreibe_gps(currentPath);
                if (process) {
                    running.push_back({i, runLog.holdLine(), *process, backupFile});
                    processPendingEvents();
                } else {
                    const std::string result = backupThere ? "Sicherung vorhanden" : kExifToolFailed;
                    endLogLine(result);
                    setGridText(2, i, result);
                    runSummary.note(i, backupThere ? PhotoOutcome::SavedBefore : PhotoOutcome::ExifToolFailed);
                }
            } else {
                endLogLine(" ");
            }
            showOutcomes(false);
            if (stoppedAfterImage()) {
                showOutcomes(true);
                return;
            }
            showProgress(i + 1);
        }
        showOutcomes(true);
        showRunFinished();
        BGPSsich->setEnabled(false);
    });
}

bool TForm1::mie_schreiben(const std::string& path)
{
    const DecimalPointWhileReading point;
    bool hasPosition = false;
    imageData = std::make_unique<TimgData>(kDecodePosition);
    setGpsRenderingMode(kDegreesMinutesSeconds);
    if (fileExists(path + ".mie")) {
        showStatus("MIE vorhanden");
        runSummary.note(currentRow, PhotoOutcome::MieThere);
    } else if (!imageData->OpenImage(path)) {
        // Not an image the engine can read: the run log gets only the path.
        runSummary.note(currentRow, PhotoOutcome::Unreadable);
    } else if (imageData->ExifPresent()) {
        if (!imageData->exifDecoder->TagValueText("GPSLatitude").empty()) {
            showStatus("hat GPS");
            hasPosition = true;
        } else {
            showStatus(" - ");
            runSummary.note(currentRow, PhotoOutcome::NoGps);
        }
    } else {
        showStatus("keine Exif Daten");
        runSummary.note(currentRow, PhotoOutcome::NoExif);
    }
    return hasPosition;
}

std::optional<pid_t> TForm1::schreibe_gps(const std::string& path)
{
    const ExifToolCall call = backupCall(path);
    setWindowTitle(localText(call.parameterText));
    exifTool.awaitFreeSlot(kExifToolSlots);
    return exifTool.start(call.arguments);
}

void TForm1::bgpszurueckClick()
{
    runCommand(RunKind::GpsRestore, [this] {
        braus->setEnabled(false);
        Bstop->setEnabled(true);
        BGPSsich->setEnabled(false);
        createRunLog();
        const std::string back = utf8ToAnsi("zurück", nameCharset);
        const int count = jobCount();
        for (int i = 0; i < count; ++i) {
            startImage(i);
            std::string result = "keine Sicherung vorhanden";
            if (mie_lesen(currentPath)) {
                setGridText(1, i, back);
                runLog.write(" " + back + ".. ");
                result = schreibe_exif(currentPath);
            } else {
                runSummary.note(i, PhotoOutcome::NoBackup);
            }
            endLogLine(result);
            setGridText(2, i, result);
            if (stoppedAfterImage())
                return;
            selectGridRow(i);
            processPendingEvents();
            showProgress(i + 1);
        }
        showRunFinished();
        BGPSsich->setEnabled(false);
        bgpszurueck->setEnabled(false);
    });
}

bool TForm1::mie_lesen(const std::string& path)
{
    backupTextPath = backupTextFile(path);
    return fileExists(backupTextPath);
}

std::string TForm1::schreibe_exif(const std::string& path)
{
    exifTool.awaitAllEnded();
    backupFolder = mache_gpsdatenpfad(path);
    // A backup file that cannot be opened or read (a folder of that name, say) is an error:
    // restoring from it would clear the image's position.
    std::istringstream text(readWholeFile(backupFolder + "/" + backupBaseName(path) + ".txt"));
    const GpsBackup backup = readGpsBackup(text);
    if (!backupComplete(backup)) {
        runSummary.note(currentRow, PhotoOutcome::BackupIncomplete);
        return utf8ToAnsi("Sicherung unvollständig", nameCharset);
    }
    const std::optional<pid_t> process = exifTool.start(restoreCall(backup, path).arguments);
    const bool restored = process && exifTool.awaitEnd(*process) == 0;
    runSummary.note(currentRow, restored ? PhotoOutcome::Restored : PhotoOutcome::ExifToolFailed);
    return restored ? "ok" : kExifToolFailed;
}

}  // namespace vistado
