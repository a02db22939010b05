#include "app/programcall.h"

namespace {

struct TCommandName {
    const char* option;
    TProgramCommand command;
};

constexpr TCommandName kCommands[] = {
    {"--orte", TProgramCommand::Places},
    {"--gps-sichern", TProgramCommand::GpsBackup},
    {"--gps-zurueck", TProgramCommand::GpsRestore},
    {"--help", TProgramCommand::Help},
};

}  // namespace

const char* const kProgramUsage =
    "Aufruf: vistado [JPG-DATEI | VERZEICHNIS]   Fenster\n"
    "        vistado --orte [PFAD]               Orte ermitteln, ohne Fenster\n"
    "        vistado --gps-sichern [PFAD]        GPS sichern, ohne Fenster\n"
    "        vistado --gps-zurueck [PFAD]        GPS zurückholen, ohne Fenster\n"
    "Ohne PFAD: die JPG-Dateien des aktuellen Verzeichnisses.\n";

TProgramCall parseProgramCall(const std::vector<std::string>& arguments)
{
    if (arguments.empty() || arguments[0].rfind("--", 0) != 0)
        return {TProgramCommand::Window, {}};
    for (const TCommandName& name : kCommands) {
        if (arguments[0] != name.option)
            continue;
        if (name.command == TProgramCommand::Help)
            return {arguments.size() == 1 ? TProgramCommand::Help : TProgramCommand::Bad, {}};
        if (arguments.size() > 2)
            return {TProgramCommand::Bad, {}};
        return {name.command, arguments.size() == 2 ? arguments[1] : std::string()};
    }
    return {TProgramCommand::Bad, {}};
}
