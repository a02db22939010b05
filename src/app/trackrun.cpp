// The track run of the window: positions from GPS tracks, by the photos' times, written by
// ExifTool into the photos that have none.
#include "app/vistado4.h"

#include "app/errormessage.h"
#include "app/exiftoolfortherun.h"
#include "meta/container/imgdata.h"
#include "meta/text/settings.h"
#include "track/track.h"
#include "track/trackresult.h"

#include <QFile>
#include <QPushButton>

#include <string_view>
#include <vector>

namespace vistado {

void TForm1::BTrackClick()
{
    if (commandGuard.running())
        return;
    const QStringList files = desktop.chooseTrackFiles(this, QFile::decodeName(QByteArray::fromStdString(listFolder)));
    if (files.isEmpty())
        return;
    const std::optional<CameraClock> clock = desktop.askCameraClock(this);
    if (!clock)
        return;
    std::vector<std::string> paths;
    for (const QString& file : files)
        paths.push_back(QFile::encodeName(file).toStdString());
    Track track;
    try {
        track = readTrackFiles(paths);
    } catch (const TrackReadError& error) {
        showRunMessage(this, error.what());
        return;
    }
    runTrack(track, *clock);
}

void TForm1::runTrack(const Track& track, const CameraClock& clock)
{
    runCommand(RunKind::GpsTrack, [&] {
        if (!startExifToolRun())
            return;
        createRunLog();
        const ExifToolForTheRun forTheRun(exifTool);
        for (int i = 0; i < jobCount(); ++i) {
            startImage(i);
            selectGridRow(i);
            processPendingEvents();
            trackPhoto(track, clock);
            endRunIfExifToolKeepsFailing();
            if (stoppedAfterImage())
                return;
            showProgress(i + 1);
        }
        showRunFinished();
    });
}

void TForm1::trackPhoto(const Track& track, const CameraClock& clock)
{
    imageData = std::make_unique<TimgData>(kDecodeAll);
    // ExifTool, not our writer, replaces the file.
    imageData->lockForRewrite = false;
    const bool opened = imageData->OpenImage(currentPath);
    if (!opened || !imageData->ExifPresent()) {
        runSummary.note(currentRow, opened ? PhotoOutcome::NoExif : PhotoOutcome::Unreadable);
        showStatus("keine Exif Daten");
        endLogLine("");
        return;
    }
    if (!imageData->exifDecoder->TagValueText("GPSLatitude").empty()) {
        runSummary.note(currentRow, PhotoOutcome::GpsThere);
        showStatus("hat GPS");
        endLogLine("");
        return;
    }
    const PhotoTrackResult result = matchPhoto(*imageData->exifDecoder, clock, track);
    setGridText(1, currentRow, trackOutcomeText(result));
    // startImage has logged the path and its separator already.
    const std::string line = trackLogLine(currentPath, result);
    runLog.write(std::string_view(line).substr(currentPath.size() + 1));
    const std::vector<TagAssignment> tags = trackGpsTags(result);
    if (tags.empty()) {
        runSummary.note(currentRow, result.photoTime ? PhotoOutcome::NoTrackPosition : PhotoOutcome::NoPhotoTime);
        endLogLine("");
        return;
    }
    std::vector<TagValue> values;
    for (const TagAssignment& tag : tags)
        values.push_back({tag.tag, tag.value});
    const ExifToolOutcome outcome = exifTool.writeTags(currentPath, values);
    const std::string written = exifToolResult(outcome, true);
    setGridText(2, currentRow, written);
    if (outcome.status == ExifToolOutcome::Status::Ok) {
        runSummary.note(currentRow, PhotoOutcome::TrackWritten);
        endLogLine("");
    } else {
        runSummary.note(currentRow, PhotoOutcome::ExifToolFailed);
        endLogLine(";" + written);
    }
}

}  // namespace vistado
