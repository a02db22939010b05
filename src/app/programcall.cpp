#include "app/programcall.h"

#include "track/civiltime.h"

#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>

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

ProgramCall callOf(ProgramCommand command)
{
    ProgramCall call;
    call.command = command;
    return call;
}

// "+30", "-3600", "0": whole seconds with an optional sign.
std::optional<int64_t> parseSeconds(std::string_view text)
{
    if (text.starts_with('+'))
        text.remove_prefix(1);
    int64_t seconds = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return seconds;
}

// The track run's options, in any order, each with its value, then at most the PATH.
ProgramCall parseTrackCall(const std::vector<std::string>& arguments)
{
    ProgramCall call = callOf(ProgramCommand::GpsTrack);
    bool zoneGiven = false;
    bool correctionGiven = false;
    size_t next = 0;
    for (; next + 1 < arguments.size(); next += 2) {
        const std::string& option = arguments[next];
        const std::string& value = arguments[next + 1];
        if (option == "--track") {
            call.trackFiles.push_back(value);
        } else if (option == "--zeitzone" && !zoneGiven) {
            call.clock.zoneSeconds = parseZoneOffset(value);
            if (!call.clock.zoneSeconds)
                return callOf(ProgramCommand::Bad);
            zoneGiven = true;
        } else if (option == "--versatz" && !correctionGiven) {
            const std::optional<int64_t> seconds = parseSeconds(value);
            if (!seconds)
                return callOf(ProgramCommand::Bad);
            call.clock.correctionSeconds = *seconds;
            correctionGiven = true;
        } else {
            break;
        }
    }
    if (next + 1 < arguments.size() || (next < arguments.size() && arguments[next].starts_with("--")))
        return callOf(ProgramCommand::Bad);
    if (next < arguments.size())
        call.path = arguments[next];
    return call;
}

}  // namespace

const char* const kProgramUsage =
    "Aufruf: vistado [JPG-DATEI | VERZEICHNIS]   Fenster\n"
    "        vistado --orte [PFAD]               Orte ermitteln, ohne Fenster\n"
    "        vistado --orte --nur-kommentar [PFAD]\n"
    "                                            nur in den Kommentar, ohne Ortsfelder\n"
    "        vistado --gps-sichern [PFAD]        GPS sichern, ohne Fenster\n"
    "        vistado --gps-zurueck [PFAD]        GPS zurückholen, ohne Fenster\n"
    "        vistado --track DATEI.gpx [--track DATEI2.gpx ...] [--zeitzone +HH:MM]\n"
    "                [--versatz ±SEKUNDEN] [PFAD]\n"
    "                                            GPS aus Track, ohne Fenster\n"
    "        vistado --help                      dieser Text\n"
    "        vistado --version                   die Version\n"
    "Ohne PFAD: die JPG-Dateien des aktuellen Verzeichnisses.\n";

ProgramCall parseProgramCall(const std::vector<std::string>& arguments)
{
    if (arguments.empty() || arguments[0].rfind("--", 0) != 0)
        return callOf(ProgramCommand::Window);
    if (arguments[0] == "--track")
        return parseTrackCall(arguments);
    for (const CommandName& name : kCommands) {
        if (arguments[0] != name.option)
            continue;
        if (name.command == ProgramCommand::Help || name.command == ProgramCommand::Version)
            return callOf(arguments.size() == 1 ? name.command : ProgramCommand::Bad);
        size_t next = 1;
        const bool commentOnly = name.command == ProgramCommand::Places && arguments.size() > 1 &&
            arguments[1] == "--nur-kommentar";
        if (commentOnly)
            ++next;
        if (arguments.size() > next + 1)
            return callOf(ProgramCommand::Bad);
        ProgramCall call = callOf(name.command);
        if (arguments.size() == next + 1)
            call.path = arguments[next];
        call.commentOnly = commentOnly;
        return call;
    }
    return callOf(ProgramCommand::Bad);
}

}  // namespace vistado
