#include "app/programcall.h"

namespace vistado {

namespace {

struct CommandName {
    const char* option;
    ProgramCommand command;
};

constexpr CommandName kCommands[] = {
    {"--orte", ProgramCommand::Places},
    {"--gps-sichern", ProgramCommand::GpsBackup},
    {"--gps-zurueck", ProgramCommand::GpsRestore},
    {"--help", ProgramCommand::Help},
    {"--version", ProgramCommand::Version},
};

}  // namespace

const char* const kProgramUsage =
    "Aufruf: vistado [JPG-DATEI | VERZEICHNIS]   Fenster\n"
    "        vistado --orte [PFAD]               Orte ermitteln, ohne Fenster\n"
    "        vistado --orte --nur-kommentar [PFAD]\n"
    "                                            nur in den Kommentar, ohne Ortsfelder\n"
    "        vistado --gps-sichern [PFAD]        GPS sichern, ohne Fenster\n"
    "        vistado --gps-zurueck [PFAD]        GPS zurückholen, ohne Fenster\n"
    "        vistado --help                      dieser Text\n"
    "        vistado --version                   die Version\n"
    "Ohne PFAD: die JPG-Dateien des aktuellen Verzeichnisses.\n";

ProgramCall parseProgramCall(const std::vector<std::string>& arguments)
{
    if (arguments.empty() || arguments[0].rfind("--", 0) != 0)
        return {ProgramCommand::Window, {}};
    for (const CommandName& name : kCommands) {
        if (arguments[0] != name.option)
            continue;
        if (name.command == ProgramCommand::Help || name.command == ProgramCommand::Version)
            return {arguments.size() == 1 ? name.command : ProgramCommand::Bad, {}};
        size_t next = 1;
        const bool commentOnly = name.command == ProgramCommand::Places && arguments.size() > 1 &&
            arguments[1] == "--nur-kommentar";
        if (commentOnly)
            ++next;
        if (arguments.size() > next + 1)
            return {ProgramCommand::Bad, {}};
        return {name.command, arguments.size() == next + 1 ? arguments[next] : std::string(), commentOnly};
    }
    return {ProgramCommand::Bad, {}};
}

}  // namespace vistado
