#include "app/errormessage.h"

#include <QMessageBox>
#include <QString>

#include <cstdio>
#include <string>

namespace vistado {

namespace {

bool toStandardError = false;

}  // namespace

void showErrorMessage(QWidget* parent, const std::exception& error)
{
    if (toStandardError) {
        const std::string line = std::string("vistado: ") + error.what() + "\n";
        std::fputs(line.c_str(), stderr);
        return;
    }
    QMessageBox::critical(parent, QStringLiteral("Vistado"), QString::fromLocal8Bit(error.what()));
}

void showRunMessage(QWidget* parent, const std::string& text)
{
    if (toStandardError) {
        std::fputs((text + "\n").c_str(), stderr);
        return;
    }
    QMessageBox::warning(parent, QStringLiteral("Vistado"), QString::fromLocal8Bit(text));
}

void showErrorMessagesOnStandardError()
{
    toStandardError = true;
}

}  // namespace vistado
