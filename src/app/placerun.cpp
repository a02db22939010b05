// The place run of the window: for each image of the job list its GPS position, the place
// the geocoder finds there, and the place text written in front of its JPEG comment.
#include "app/vistado4.h"

#include "app/decimalpoint.h"
#include "app/errormessage.h"
#include "meta/exif/gpsposition.h"
#include "meta/container/imgdata.h"
#include "meta/container/photolocation.h"
#include "meta/file/replacefile.h"
#include "meta/text/settings.h"
#include "places/ansitext.h"
#include "places/placetext.h"

#include <QCheckBox>
#include <QPushButton>

#include <exception>

namespace vistado {

namespace {

// GPS rendering mode of the place run: decimal degrees, whatever an earlier backup set.
constexpr std::uint8_t kDecimalDegrees = 0;

}  // namespace

void TForm1::BFrageClick()
{
    runCommand(RunKind::Places, [this] {
        Bstop->setEnabled(true);
        braus->setEnabled(false);
        createRunLog();
        unwrittenImages = 0;
        // Writes an earlier run left on an error complete in the background, their lines gone.
        pendingWrites.clear();
        const int count = jobCount();
        for (int i = 0; i < count; ++i) {
            startImage(i);
            selectGridRow(i);
            processPendingEvents();
            positionText = gps_auslesen(currentPath);
            setJobEntry(i, jobEntry(i) + " gelesen" + positionText);
            if (!positionText.empty()) {
                // A geocoder that does not answer ends the run here, the line unfinished.
                if (!hole_daten(positionText)) {
                    reportUnwrittenImages();
                    return;
                }
                placeText = mache_orts_info();
                setGridText(2, i, placeText);
                processPendingEvents();
                runLog.write(placeText);
                // No place found, or the comment begins with this very place text already
                // (one of fewer than four names, which the has-a-place rule does not see):
                // the comment stays as it is. The photo is rewritten only for what changes.
                commentWanted = !placeText.empty() && nochkeinort(existingComment) &&
                    !existingComment.starts_with(placeText);
                const FieldsOutcome fields = setPlaceFields();
                const std::string note = fields.note.empty() ? "" : ";" + utf8ToAnsi(fields.note, nameCharset);
                if (commentWanted || fields.set) {
                    writePlace(i, note);
                } else {
                    runLog.write(note);
                    runLog.endLine();
                    runSummary.note(i, placeText.empty() ? PhotoOutcome::NoPlace : PhotoOutcome::PlaceThere);
                }
            } else {
                endLogLine(" ");
            }
            settleWrites(false);
            showProgress(i + 1);
            if (stoppedAfterImage()) {
                reportUnwrittenImages();
                return;
            }
        }
        showRunFinished();
        reportUnwrittenImages();
    });
}

bool TForm1::fieldsWanted() const
{
    return !CBnurKommentar->isChecked();
}

// Sets the place's location fields into the container of the photo just read, where it
// holds none and can take them; what the log line adds says what became of them. A photo
// whose IIM or XMP holds any location value keeps them all: a user or a program wrote them.
TForm1::FieldsOutcome TForm1::setPlaceFields()
{
    if (!photoLocation || placeText.empty() || !placeFields.any())
        return {};
    if (photoLocation->present())
        return {false, "Ortsfelder vorhanden"};
    try {
        std::string note = photoLocation->writeInto(*imageData, placeFields);
        if (note.empty() && !commentWanted)
            note = "Ortsfelder nachgetragen";
        return {true, note};
    } catch (const EFieldsNotWritable& refused) {
        return {false, std::string("Ortsfelder nicht geschrieben: ") + refused.what()};
    }
}

// Writes the place text into job-list entry `row`'s photo and ends its log line once the
// photo is written: the new file's flush to the disk and its rename run in the background
// while the run goes on with the next photo, the line held until then, so the lines keep
// their order. A photo that cannot be written (a broken JPEG, a full disk, a comment too
// long, a change by another program meanwhile) keeps its file as it was; its error goes to
// the log line and the grid, and the run goes on with the next photo.
void TForm1::writePlace(int row, const std::string& note)
{
    try {
        std::future<void> outcome = schreibe_jpg(currentPath);
        pendingWrites.push_back({row, runLog.holdLine(), std::move(outcome), note});
    } catch (const std::exception& error) {
        runLog.write(writeFailed(row, error));
        runLog.endLine();
    }
}

// The outcomes of the photos written in the background, in the run's order: with `wait` all
// of them, else those done. Each ends its photo's held log line.
void TForm1::settleWrites(bool wait)
{
    while (!pendingWrites.empty()) {
        PendingWrite& write = pendingWrites.front();
        if (!wait && write.outcome.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
            return;
        std::string lineEnd = write.note;
        try {
            write.outcome.get();
        } catch (const std::exception& error) {
            lineEnd = writeFailed(write.row, error);
        }
        runLog.completeLine(write.line, lineEnd);
        if (lineEnd == write.note) {
            setJobEntry(write.row, jobEntry(write.row) + " geschrieben");
            runSummary.note(write.row, PhotoOutcome::PlaceWritten);
        }
        pendingWrites.pop_front();
    }
}

// The grid and the count of a photo that cannot be written; the end of its log line.
std::string TForm1::writeFailed(int row, const std::exception& error)
{
    const std::string failure = std::string("Fehler: ") + error.what();
    setGridText(2, row, failure);
    runSummary.note(row, PhotoOutcome::WriteFailed);
    ++unwrittenImages;
    return ";" + failure;
}

// At the run's end, however it ended, once its photos are written: one message for all the
// photos it could not write.
void TForm1::reportUnwrittenImages()
{
    settleWrites(true);
    if (unwrittenImages == 1)
        showRunMessage(this, "1 Bild konnte nicht geschrieben werden");
    else if (unwrittenImages > 1)
        showRunMessage(this, std::to_string(unwrittenImages) + " Bilder konnten nicht geschrieben werden");
}

std::string TForm1::gps_auslesen(const std::string& path)
{
    const DecimalPointWhileReading point;
    setGpsRenderingMode(kDecimalDegrees);
    std::string position;
    photoLocation.reset();
    imageData = std::make_unique<TimgData>(kDecodePosition);
    existingComment.clear();
    if (!imageData->OpenImage(path)) {
        showStatus("keine Exif Daten");
        runSummary.note(currentRow, PhotoOutcome::NoExif);
    } else {
        if (imageData->commentSection)
            existingComment = imageData->CommentText();
        if (fieldsWanted())
            photoLocation = std::make_unique<PhotoLocation>(*imageData);
        // A photo tagged by an earlier version, its place in the comment alone, is looked
        // up again for the fields, where it can take them.
        const bool fieldsToAdd =
            photoLocation && !photoLocation->present() && photoLocation->refusal().empty();
        if (!nochkeinort(existingComment) && !fieldsToAdd) {
            runLog.write("Ortsinfo vorhanden;");
            setGridText(1, currentRow, "Ortsinfo vorhanden");
            runSummary.note(currentRow, PhotoOutcome::PlaceThere);
        } else if (imageData->ExifPresent()) {
            position = gpsPositionText(*imageData->exifDecoder);
            if (!position.empty()) {
                runLog.write(position + ";");
                setGridText(1, currentRow, position);
            } else {
                showStatus("kein GPS");
                runSummary.note(currentRow, PhotoOutcome::NoGps);
            }
        } else {
            showStatus("keine Exif Daten");
            runSummary.note(currentRow, PhotoOutcome::NoExif);
        }
    }
    processPendingEvents();
    return position;
}

std::future<void> TForm1::schreibe_jpg(const std::string& path)
{
    if (commentWanted) {
        imageData->DropCommentAndHeader();
        imageData->SetCommentText(placeText + "  " + existingComment);
    }
    return commitQueue.commit(imageData->writeNewFile(path));
}

}  // namespace vistado
