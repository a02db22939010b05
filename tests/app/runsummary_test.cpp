#include "app/runsummary.h"

#include <gtest/gtest.h>

#include <vector>

namespace vistado::test {

namespace {

using enum PhotoOutcome;

TEST(RunSummary, SaysInOneLineWhatTheRunDidWithItsPhotos)
{
    const struct {
        RunKind kind;
        int count;
        std::vector<PhotoOutcome> outcomes;  // of the rows from 0 on
        RunOutcome end;
        const char* line;
    } cases[] = {
        {RunKind::Places, 6, {PlaceWritten, NoGps, WriteFailed, PlaceWritten, NoExif, NoPlace}, RunOutcome::Finished,
         "Fertig: 2 Orte geschrieben, 1 Ort nicht gefunden, 1 ohne GPS, 1 ohne Exif-Daten, 1 Fehler"},
        {RunKind::Places, 2, {PlaceWritten, PlaceThere}, RunOutcome::Finished, "Fertig: 1 Ort geschrieben, 1 schon mit Ort"},
        {RunKind::Places, 0, {}, RunOutcome::Finished, "Fertig: 0 Orte geschrieben"},
        {RunKind::Places, 50, {PlaceWritten, NoGps}, RunOutcome::Stopped,
         "Gestoppt nach 2 von 50 Bildern: 1 Ort geschrieben, 1 ohne GPS"},
        {RunKind::Places, 1, {}, RunOutcome::EndedEarly, "Abgebrochen nach 0 von 1 Bild: 0 Orte geschrieben"},
        {RunKind::GpsBackup, 5, {Saved, SavedBefore, MieThere, Unreadable, ExifToolFailed}, RunOutcome::Finished,
         "Fertig: 1 gesichert, 1 schon vorhanden, 1 mit MIE-Datei, 1 nicht lesbar, 1 fehlgeschlagen"},
        {RunKind::GpsRestore, 4, {Restored, NoBackup, BackupIncomplete, ExifToolFailed}, RunOutcome::Finished,
         "Fertig: 1 zurückgeholt, 1 ohne Sicherung, 1 mit unvollständiger Sicherung, 1 fehlgeschlagen"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        RunSummary summary;
        summary.start(c.kind, c.count);
        for (int row = 0; row < static_cast<int>(c.outcomes.size()); ++row)
            summary.note(row, c.outcomes[row]);
        EXPECT_EQ(summary.line(c.end), c.line);
    }
}

}  // namespace

}  // namespace vistado::test
