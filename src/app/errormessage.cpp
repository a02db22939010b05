#include "errormessage.h"

#include <QMessageBox>
#include <QString>

void showErrorMessage(QWidget* parent, const std::exception& error)
{
    QMessageBox::critical(parent, QStringLiteral("Vistado"), QString::fromLocal8Bit(error.what()));
}
