#include "app/headlessrun.h"

#include "app/errormessage.h"
#include "app/vistado4.h"
#include "track/track.h"

#include <QCheckBox>

#include <cstdio>
#include <exception>
#include <string_view>

namespace vistado {

namespace {

void printLine(std::FILE* stream, std::string_view line)
{
    std::fwrite(line.data(), 1, line.size(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

}  // namespace

int runWithoutWindow(const ProgramCall& call, const std::string& currentDirectory, const Services& services)
{
    showErrorMessagesOnStandardError();
    // A track that cannot be read leaves nothing to run with: no photo is looked at.
    Track track;
    if (call.command == ProgramCommand::GpsTrack) {
        try {
            track = readTrackFiles(call.trackFiles);
        } catch (const TrackReadError& error) {
            printLine(stderr, error.what());
            return 2;
        }
    }
    TForm1 form(call.path, currentDirectory, services);
    // Nothing to run over: said so, and the run log of an earlier run stays as it was.
    const std::string shownPath = call.path.empty() ? "." : call.path;
    switch (form.argumentPath) {
    case PathState::Missing:
        printLine(stderr, "Pfad nicht gefunden: " + shownPath);
        return 2;
    case PathState::Unreadable:
        printLine(stderr, "Ordner nicht lesbar: " + shownPath);
        return 2;
    case PathState::NotJpeg:
        printLine(stderr, "keine JPEG-Datei: " + shownPath);
        return 2;
    case PathState::Found:
        break;
    }
    if (form.folderJobs && form.jobCount() == 0) {
        printLine(stderr, "keine JPEG-Dateien in " + shownPath);
        return 0;
    }
    form.runLog.setLineListener([](std::string_view line) { printLine(stdout, line); });
    switch (call.command) {
    case ProgramCommand::Places:
        // The place run tells of a silent geocoder or an unreadable reply in the caption.
        QObject::connect(&form, &QWidget::windowTitleChanged, [](const QString& caption) {
            printLine(stderr, caption.toLocal8Bit().toStdString());
        });
        form.CBnurKommentar->setChecked(call.commentOnly);
        form.BFrageClick();
        break;
    case ProgramCommand::GpsBackup:
        form.BGPSsichClick();
        break;
    case ProgramCommand::GpsRestore:
        form.bgpszurueckClick();
        break;
    case ProgramCommand::GpsTrack:
        form.runTrack(track, call.clock);
        break;
    default:
        return 2;
    }
    // The run's outcome in one line, after the run's own messages.
    if (!form.statusLine->text().isEmpty())
        printLine(stderr, form.statusLine->text().toLocal8Bit().toStdString());
    try {
        form.FormClose();
    } catch (const std::exception& error) {
        showErrorMessage(&form, error);
        return 1;
    }
    if (form.runOutcome == TForm1::RunOutcome::NoExifTool)
        return 2;
    return form.runOutcome == TForm1::RunOutcome::Finished && form.unwrittenImages == 0 ? 0 : 1;
}

}  // namespace vistado
