#include "app/exeversion.h"
#include "app/headlessrun.h"
#include "app/programcall.h"
#include "app/vistado4.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char* argv[])
{
    using namespace vistado;
    const ProgramCall call = parseProgramCall(std::vector<std::string>(argv + 1, argv + argc));
    switch (call.command) {
    case ProgramCommand::Window: {
        // QApplication takes its own options out of argv, leaving the program's argument.
        QApplication app(argc, argv);
        TForm1 form(argc > 1 ? argv[1] : "", ".", Services::fromEnvironment());
        form.show();
        return app.exec();
    }
    case ProgramCommand::Help:
        std::fputs(kProgramUsage, stdout);
        return 0;
    case ProgramCommand::Version:
        std::printf("vistado %s\n", ExeVersionText().c_str());
        return 0;
    case ProgramCommand::Bad:
        std::fputs(kProgramUsage, stderr);
        return 2;
    default: {
        // No window is shown, so none needs a display: decided before Qt starts. The
        // program's own arguments are kept from Qt, which would take a path such as
        // "-style" for one of its options.
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        int qtArgc = 1;
        QApplication app(qtArgc, argv);
        return runWithoutWindow(call, ".", Services::fromEnvironment());
    }
    }
}
