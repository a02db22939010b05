#include "vistado4.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // QApplication takes its own options out of argv, leaving the program's argument.
    QApplication app(argc, argv);
    TForm1 form(argc > 1 ? argv[1] : "", ".", TServices::fromEnvironment());
    form.show();
    return app.exec();
}
