// The GPS backup and restore of the window: ExifTool prints each image's position into a
// text file beside it, and later writes it back from there.
#include "app/vistado4.h"

#include "places/ansitext.h"
#include "app/decimalpoint.h"
#include "app/errormessage.h"
#include "app/exiftoolfortherun.h"
#include "app/exiftool/exiftoolcalls.h"
#include "app/exiftool/gpstext.h"
#include "meta/file/filereader.h"
#include "meta/container/imgdata.h"
#include "meta/text/settings.h"

#include <QProgressBar>
#include <QPushButton>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace vistado {

namespace {

// GPS rendering mode of the backup: degrees, minutes and seconds.
constexpr std::uint8_t kDegreesMinutesSeconds = 2;

constexpr const char* kExifToolFailed = "Fehler mit Exiftool";
constexpr const char* kExifToolTimedOut = "Fehler mit Exiftool (Zeitüberschreitung)";
constexpr const char* kLineBreakInName = "Dateiname mit Zeilenumbruch wird nicht unterstützt";
constexpr const char* kExifToolMissing = "ExifTool nicht gefunden: bitte das Paket libimage-exiftool-perl installieren";
// A run whose ExifTool is lost this many photos in a row would only lose it again.
constexpr int kLostInARowLimit = 3;
constexpr const char* kExifToolKeepsFailing = "ExifTool ist dreimal hintereinander ausgefallen: Lauf abgebrochen";

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

}  // namespace

// Nothing starts without ExifTool: the run would only fail photo after photo.
bool TForm1::exifToolInstalled()
{
    if (exifTool.installed())
        return true;
    runOutcome = RunOutcome::NoExifTool;
    showRunMessage(this, kExifToolMissing);
    return false;
}

// An ExifTool command's start: it starts only with ExifTool there, and then it can be
// stopped, not left.
bool TForm1::startExifToolRun()
{
    if (!exifToolInstalled())
        return false;
    braus->setEnabled(false);
    Bstop->setEnabled(true);
    return true;
}

// The run log's and the grid's words for what ExifTool made of the photo; `done` is whether
// the work it was asked for shows (the backup file written).
std::string TForm1::exifToolResult(const ExifToolOutcome& outcome, bool done) const
{
    switch (outcome.status) {
    case ExifToolOutcome::Status::Ok:
        return done ? "ok" : kExifToolFailed;
    case ExifToolOutcome::Status::TimedOut:
        return utf8ToAnsi(kExifToolTimedOut, nameCharset);
    case ExifToolOutcome::Status::LineBreak:
        return utf8ToAnsi(kLineBreakInName, nameCharset);
    case ExifToolOutcome::Status::Failed:
    case ExifToolOutcome::Status::Died:
        break;
    }
    return kExifToolFailed;
}

// After a photo's line: an ExifTool lost photo after photo ends the run.
void TForm1::endRunIfExifToolKeepsFailing() const
{
    if (exifTool.lostInARow() >= kLostInARowLimit)
        throw std::runtime_error(kExifToolKeepsFailing);
}

void TForm1::BGPSsichClick()
{
    runCommand(RunKind::GpsBackup, [this] {
        if (!startExifToolRun())
            return;
        const ExifToolForTheRun forTheRun(exifTool);
        bgpszurueck->setEnabled(false);
        createRunLog();
        const int count = jobCount();
        for (int i = 0; i < count; ++i) {
            startImage(i);
            selectGridRow(i);
            processPendingEvents();
            if (mie_schreiben(currentPath)) {
                runLog.write(" schreiben.. ");
                // ExifTool would keep the file anyway; an earlier backup is worth keeping (the
                // photo may have lost its position since, or a.JPG's backup is a.jpg's too),
                // but it is not this run's "ok".
                const bool backupThere = fileExists(backupTextFile(currentPath));
                if (backupThere)
                    runSummary.note(i, PhotoOutcome::SavedBefore);
                const std::string result = backupThere ? "Sicherung vorhanden" : schreibe_gps(currentPath);
                endLogLine(result);
                setGridText(2, i, result);
                endRunIfExifToolKeepsFailing();
            } else {
                endLogLine(" ");
            }
            if (stoppedAfterImage())
                return;
            showProgress(i + 1);
        }
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

std::string TForm1::schreibe_gps(const std::string& path)
{
    const ExifToolCall call = backupCall(path);
    setWindowTitle(localText(call.parameterText));
    const ExifToolOutcome outcome = exifTool.request(call.options, path);
    const bool written = outcome.status == ExifToolOutcome::Status::Ok && outcome.reply.outputFilesCreated == 1 &&
                         backupWritten(backupTextFile(path));
    runSummary.note(currentRow, written ? PhotoOutcome::Saved : PhotoOutcome::ExifToolFailed);
    return exifToolResult(outcome, written);
}

void TForm1::bgpszurueckClick()
{
    runCommand(RunKind::GpsRestore, [this] {
        if (!exifToolInstalled())
            return;
        const ExifToolForTheRun forTheRun(exifTool);
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
            endRunIfExifToolKeepsFailing();
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
    backupFolder = mache_gpsdatenpfad(path);
    // A backup file that cannot be opened or read (a folder of that name, say) is an error:
    // restoring from it would clear the image's position.
    std::istringstream text(readWholeFile(backupFolder + "/" + backupBaseName(path) + ".txt"));
    const GpsBackup backup = readGpsBackup(text);
    if (!backupComplete(backup)) {
        runSummary.note(currentRow, PhotoOutcome::BackupIncomplete);
        return utf8ToAnsi("Sicherung unvollständig", nameCharset);
    }
    const ExifToolOutcome outcome = exifTool.writeTags(path, restoreTags(backup));
    runSummary.note(currentRow,
                    outcome.status == ExifToolOutcome::Status::Ok ? PhotoOutcome::Restored : PhotoOutcome::ExifToolFailed);
    return exifToolResult(outcome, true);
}

}  // namespace vistado
