#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vistado {

enum class RunKind { Places, GpsBackup, GpsRestore, GpsTrack };

// How a command ended: through its whole job list, at the stop button, or early (no answer
// from the geocoder, an error); a backup or restore without ExifTool starts nothing.
enum class RunOutcome { NotRun, Finished, Stopped, EndedEarly, NoExifTool };

// What a command did with one photo, as its grid row and run-log line say it.
enum class PhotoOutcome {
    PlaceWritten,      // place run: the place text written into the photo
    PlaceThere,        // "Ortsinfo vorhanden", or the comment begins with the place found
    NoPlace,           // no place found at the position
    NoGps,             // "kein GPS" / " - "
    NoExif,            // "keine Exif Daten"
    WriteFailed,       // the photo could not be written ("Fehler: ...")
    Saved,             // backup: "ok"
    SavedBefore,       // "Sicherung vorhanden"
    MieThere,          // "MIE vorhanden"
    Unreadable,        // the backup could not read the photo
    ExifToolFailed,    // "Fehler mit Exiftool"
    Restored,          // restore: "ok"
    NoBackup,          // "keine Sicherung vorhanden"
    BackupIncomplete,  // "Sicherung unvollständig"
    TrackWritten,      // track run: the track's position written into the photo
    GpsThere,          // "hat GPS": the photo keeps its own position
    NoPhotoTime,       // "keine Aufnahmezeit"
    NoTrackPosition,   // "keine Trackposition"
};

// The outcome of one run in one line, counted from what the run noted for each photo:
// "Fertig: 120 Orte geschrieben, 30 ohne GPS, 2 Fehler". The command's main count is always
// there, the others only when not 0. A run that did not go through its job list says how far
// it came: "Gestoppt nach 12 von 50 Bildern: ...", "Abgebrochen nach ...". Texts in UTF-8.
class RunSummary {
public:
    void start(RunKind kind, int count);
    // A photo's outcome; a later one for the same row replaces the earlier.
    void note(int row, PhotoOutcome outcome);
    std::string line(RunOutcome outcome) const;

private:
    RunKind kind = RunKind::Places;
    std::vector<std::optional<PhotoOutcome>> rows;
};

}  // namespace vistado
