#include "app/desktop.h"

#include <QDesktopServices>
#include <QFileDialog>

namespace vistado {

Desktop Desktop::system()
{
    return {
        [](QWidget* parent, const QString& start) {
            return QFileDialog::getExistingDirectory(parent, QStringLiteral("Ordner wählen"), start);
        },
        [](const QUrl& file) { return QDesktopServices::openUrl(file); },
    };
}

}  // namespace vistado
