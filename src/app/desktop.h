#pragma once

#include <QString>
#include <QUrl>

#include <functional>

class QWidget;

namespace vistado {

// What the window asks of the desktop: its folder dialog and its viewer for a photo.
// Tests put in their own.
struct Desktop {
    // The folder the user chose, starting at `start`; empty when the dialog was cancelled.
    std::function<QString(QWidget* parent, const QString& start)> chooseFolder;
    // Opens a file in the program the desktop has for it; false when there is none.
    std::function<bool(const QUrl& file)> openFile;

    // QFileDialog and QDesktopServices.
    static Desktop system();
};

}  // namespace vistado
