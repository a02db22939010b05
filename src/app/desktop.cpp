#include "app/desktop.h"

#include "track/civiltime.h"

#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QSpinBox>

namespace vistado {

namespace {

// The camera's zone ("+01:00", empty for the computer's) and its clock correction in seconds.
std::optional<CameraClock> cameraClockDialog(QWidget* parent)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("GPS aus Track"));
    auto* zone = new QLineEdit(&dialog);
    zone->setPlaceholderText(QStringLiteral("+01:00"));
    zone->setToolTip(QStringLiteral("leer: die Zeitzone dieses Computers"));
    auto* correction = new QSpinBox(&dialog);
    // A camera clock a year off is still a clock that can be put right.
    correction->setRange(-366 * 86400, 366 * 86400);
    correction->setSuffix(QStringLiteral(" s"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    auto* layout = new QFormLayout(&dialog);
    layout->addRow(QStringLiteral("Zeitzone der Kamera:"), zone);
    layout->addRow(QStringLiteral("Versatz der Kamerauhr:"), correction);
    layout->addRow(buttons);
    CameraClock clock;
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        const std::string text = zone->text().trimmed().toStdString();
        clock.zoneSeconds = text.empty() ? std::nullopt : parseZoneOffset(text);
        if (!text.empty() && !clock.zoneSeconds) {
            QMessageBox::warning(&dialog, dialog.windowTitle(), QStringLiteral("Zeitzone bitte als +HH:MM oder -HH:MM"));
            return;
        }
        clock.correctionSeconds = correction->value();
        dialog.accept();
    });
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return clock;
}

}  // namespace

Desktop Desktop::system()
{
    return {
        [](QWidget* parent, const QString& start) {
            return QFileDialog::getExistingDirectory(parent, QStringLiteral("Ordner wählen"), start);
        },
        [](const QUrl& file) { return QDesktopServices::openUrl(file); },
        [](QWidget* parent, const QString& start) {
            return QFileDialog::getOpenFileNames(parent, QStringLiteral("GPS-Track wählen"), start,
                                                 QStringLiteral("GPX-Tracks (*.gpx *.GPX);;Alle Dateien (*)"));
        },
        cameraClockDialog,
    };
}

}  // namespace vistado
