// The GPS backup and restore of the window: ExifTool prints each image's position into a
// text file beside it, and later writes it back from there.
#include "app/vistado4.h"

#include "places/ansitext.h"
#include "app/decimalpoint.h"
#include "app/exiftool/exiftoolcalls.h"
#include "app/exiftool/gpstext.h"
#include "meta/filereader.h"
#include "meta/imgdata.h"
#include "meta/settings.h"
#include "app/progress.h"

#include <QProgressBar>
#include <QPushButton>

#include <filesystem>
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

}  // namespace

void TForm1::BGPSsichClick()
{
    runCommand([this] {
        braus->setEnabled(false);
        Bstop->setEnabled(true);
        bgpszurueck->setEnabled(false);
        pbprogress->show();
        createRunLog();
        const int count = jobCount();
        for (int i = 0; i < count; ++i) {
            startImage(i);
            selectGridRow(i);
            processPendingEvents();
            if (mie_schreiben(currentPath)) {
                runLog.write(" schreiben.. ");
                const bool started = schreibe_gps(currentPath);
                const std::string result = started ? "ok" : kExifToolFailed;
                endLogLine(result);
                setGridText(2, i, result);
                if (started)
                    processPendingEvents();
            } else {
                endLogLine(" ");
            }
            if (stoppedAfterImage())
                return;
            pbprogress->setValue(progressPosition(i + 1, count));
        }
        showRunFinished();
        BGPSsich->setEnabled(false);
    });
}

bool TForm1::mie_schreiben(const std::string& path)
{
    const DecimalPointWhileReading point;
    bool hasPosition = false;
    imageData = std::make_unique<TimgData>(kDecodeAll);
    setGpsRenderingMode(kDegreesMinutesSeconds);
    if (fileExists(path + ".mie")) {
        showStatus("MIE vorhanden");
    } else if (!imageData->OpenImage(path)) {
        // Not an image the engine can read: the run log gets only the path.
    } else if (imageData->ExifPresent()) {
        if (!imageData->exifDecoder->TagValueText("GPSLatitude").empty()) {
            showStatus("hat GPS");
            hasPosition = true;
        } else {
            showStatus(" - ");
        }
    } else {
        showStatus("keine Exif Daten");
    }
    return hasPosition;
}

bool TForm1::schreibe_gps(const std::string& path)
{
    const ExifToolCall call = backupCall(path);
    setWindowTitle(localText(call.parameterText));
    exifTool.awaitFreeSlot(kExifToolSlots);
    return exifTool.start(call.arguments);
}

void TForm1::bgpszurueckClick()
{
    runCommand([this] {
        braus->setEnabled(false);
        Bstop->setEnabled(true);
        BGPSsich->setEnabled(false);
        pbprogress->show();
        createRunLog();
        const std::string back = utf8ToAnsi("zurück", nameCharset);
        const int count = jobCount();
        for (int i = 0; i < count; ++i) {
            startImage(i);
            std::string result = "keine Sicherung vorhanden";
            if (mie_lesen(currentPath)) {
                setGridText(1, i, back);
                runLog.write(" " + back + ".. ");
                result = schreibe_exif(currentPath) ? "ok" : kExifToolFailed;
            }
            endLogLine(result);
            setGridText(2, i, result);
            if (stoppedAfterImage())
                return;
            selectGridRow(i);
            processPendingEvents();
            pbprogress->setValue(progressPosition(i + 1, count));
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

bool TForm1::schreibe_exif(const std::string& path)
{
    exifTool.awaitAllEnded();
    backupFolder = mache_gpsdatenpfad(path);
    // A backup file that cannot be opened or read (a folder of that name, say) is an error:
    // restoring from it would clear the image's position.
    std::istringstream text(readWholeFile(backupFolder + "/" + backupBaseName(path) + ".txt"));
    const GpsBackup backup = readGpsBackup(text);
    return exifTool.start(restoreCall(backup, path).arguments);
}

}  // namespace vistado
