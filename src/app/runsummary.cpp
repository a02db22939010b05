#include "app/runsummary.h"

#include <algorithm>
#include <iterator>

namespace vistado {

namespace {

struct OutcomeWords {
    PhotoOutcome outcome;
    const char* one;
    const char* many;
};

// In the order the summary lists them.
constexpr OutcomeWords kOutcomeWords[] = {
    {PhotoOutcome::PlaceWritten, "Ort geschrieben", "Orte geschrieben"},
    {PhotoOutcome::Saved, "gesichert", "gesichert"},
    {PhotoOutcome::Restored, "zurückgeholt", "zurückgeholt"},
    {PhotoOutcome::TrackWritten, "Position geschrieben", "Positionen geschrieben"},
    {PhotoOutcome::GpsThere, "schon mit GPS", "schon mit GPS"},
    {PhotoOutcome::PlaceThere, "schon mit Ort", "schon mit Ort"},
    {PhotoOutcome::SavedBefore, "schon vorhanden", "schon vorhanden"},
    {PhotoOutcome::NoPlace, "Ort nicht gefunden", "Orte nicht gefunden"},
    {PhotoOutcome::NoGps, "ohne GPS", "ohne GPS"},
    {PhotoOutcome::NoTrackPosition, "ohne Trackposition", "ohne Trackposition"},
    {PhotoOutcome::NoPhotoTime, "ohne Aufnahmezeit", "ohne Aufnahmezeit"},
    {PhotoOutcome::NoExif, "ohne Exif-Daten", "ohne Exif-Daten"},
    {PhotoOutcome::MieThere, "mit MIE-Datei", "mit MIE-Datei"},
    {PhotoOutcome::Unreadable, "nicht lesbar", "nicht lesbar"},
    {PhotoOutcome::NoBackup, "ohne Sicherung", "ohne Sicherung"},
    {PhotoOutcome::BackupIncomplete, "mit unvollständiger Sicherung", "mit unvollständiger Sicherung"},
    {PhotoOutcome::WriteFailed, "Fehler", "Fehler"},
    {PhotoOutcome::ExifToolFailed, "fehlgeschlagen", "fehlgeschlagen"},
};

PhotoOutcome mainOutcome(RunKind kind)
{
    switch (kind) {
    case RunKind::GpsBackup:
        return PhotoOutcome::Saved;
    case RunKind::GpsRestore:
        return PhotoOutcome::Restored;
    case RunKind::GpsTrack:
        return PhotoOutcome::TrackWritten;
    case RunKind::Places:
        break;
    }
    return PhotoOutcome::PlaceWritten;
}

std::string photos(std::ptrdiff_t count)
{
    return std::to_string(count) + (count == 1 ? " Bild" : " Bildern");
}

}  // namespace

void RunSummary::start(RunKind runKind, int count)
{
    kind = runKind;
    rows.assign(static_cast<std::size_t>(count), std::nullopt);
}

void RunSummary::note(int row, PhotoOutcome outcome)
{
    rows.at(static_cast<std::size_t>(row)) = outcome;
}

std::string RunSummary::line(RunOutcome outcome) const
{
    std::string text;
    if (outcome == RunOutcome::Finished) {
        text = "Fertig: ";
    } else {
        const std::ptrdiff_t done = std::count_if(rows.begin(), rows.end(), [](const auto& row) { return row.has_value(); });
        text = std::string(outcome == RunOutcome::Stopped ? "Gestoppt" : "Abgebrochen") + " nach " +
               std::to_string(done) + " von " + photos(std::ssize(rows)) + ": ";
    }
    bool first = true;
    for (const OutcomeWords& words : kOutcomeWords) {
        const std::ptrdiff_t count = std::count(rows.begin(), rows.end(), words.outcome);
        if (count == 0 && words.outcome != mainOutcome(kind))
            continue;
        text += (first ? "" : ", ") + std::to_string(count) + " " + (count == 1 ? words.one : words.many);
        first = false;
    }
    return text;
}

}  // namespace vistado
