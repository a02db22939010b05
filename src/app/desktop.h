#pragma once

#include "track/phototime.h"

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <optional>

class QWidget;

namespace vistado {

// What the window asks of the desktop: its folder dialog, its viewer for a photo, and the
// track run's questions.
// Tests put in their own.
struct Desktop {
    // The folder the user chose, starting at `start`; empty when the dialog was cancelled.
    std::function<QString(QWidget* parent, const QString& start)> chooseFolder;
    // Opens a file in the program the desktop has for it; false when there is none.
    std::function<bool(const QUrl& file)> openFile;
    // The GPX files the user chose, starting at `start`; none when the dialog was cancelled.
    std::function<QStringList(QWidget* parent, const QString& start)> chooseTrackFiles;
    // The camera's zone and clock correction; none when the dialog was cancelled.
    std::function<std::optional<CameraClock>(QWidget* parent)> askCameraClock;

    // QFileDialog, QDesktopServices and a small dialog of the program's own.
    static Desktop system();
};

}  // namespace vistado
