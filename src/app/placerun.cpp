// The place run of the window: for each image of the job list its GPS position, the place
// the geocoder finds there, and the place text written in front of its JPEG comment.
#include "app/vistado4.h"

#include "app/decimalpoint.h"
#include "meta/gpsposition.h"
#include "meta/imgdata.h"
#include "places/placetext.h"

#include <QPushButton>

namespace vistado {

void TForm1::BFrageClick()
{
    runCommand([this] {
        Bstop->setEnabled(true);
        braus->setEnabled(false);
        createRunLog();
        const int count = jobCount();
        for (int i = 0; i < count; ++i) {
            startImage(i);
            selectGridRow(i);
            processPendingEvents();
            positionText = gps_auslesen(currentPath);
            setJobEntry(i, jobEntry(i) + " gelesen" + positionText);
            if (!positionText.empty()) {
                // A geocoder that does not answer ends the run here, the line unfinished.
                if (!hole_daten(positionText))
                    return;
                placeText = mache_orts_info();
                setGridText(2, i, placeText);
                processPendingEvents();
                endLogLine(placeText);
                // No place found: the photo keeps its comment as it is.
                if (!placeText.empty()) {
                    schreibe_jpg(currentPath);
                    setJobEntry(i, jobEntry(i) + " geschrieben");
                }
            } else {
                endLogLine(" ");
            }
            if (stoppedAfterImage())
                return;
        }
        showRunFinished();
    });
}

std::string TForm1::gps_auslesen(const std::string& path)
{
    const DecimalPointWhileReading point;
    std::string position;
    imageData = std::make_unique<TimgData>(kDecodeAll);
    existingComment.clear();
    if (!imageData->OpenImage(path)) {
        showStatus("keine Exif Daten");
    } else {
        if (imageData->commentSection)
            existingComment = imageData->CommentText();
        if (!nochkeinort(existingComment)) {
            runLog.write("Ortsinfo vorhanden;");
            setGridText(1, currentRow, "Ortsinfo vorhanden");
        } else if (imageData->ExifPresent()) {
            position = gpsPositionText(*imageData->exifDecoder);
            if (!position.empty()) {
                runLog.write(position + ";");
                setGridText(1, currentRow, position);
            } else {
                showStatus("kein GPS");
            }
        } else {
            showStatus("keine Exif Daten");
        }
    }
    processPendingEvents();
    return position;
}

void TForm1::schreibe_jpg(const std::string& path)
{
    imageData->DropCommentAndHeader();
    imageData->SetCommentText(placeText + "  " + existingComment);
    imageData->SaveJpeg(path);
}

}  // namespace vistado
