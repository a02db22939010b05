#include "app/programcall.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

namespace vistado::test {

namespace {

TEST(ProgramCall, CommandsRunWithoutTheWindowOtherArgumentsOpenIt)
{
    using Arguments = std::vector<std::string>;
    const struct {
        Arguments arguments;
        ProgramCommand command;
        const char* path;
        bool commentOnly = false;
        Arguments trackFiles = {};
        std::optional<int> zoneSeconds = std::nullopt;
        int64_t correctionSeconds = 0;
    } cases[] = {
        {{}, ProgramCommand::Window, ""},
        {{"Foto.jpg"}, ProgramCommand::Window, ""},
        {{"-x.jpg", "--orte"}, ProgramCommand::Window, ""},
        {{"--orte", "/home/u/Bilder"}, ProgramCommand::Places, "/home/u/Bilder"},
        {{"--gps-sichern", "-x.jpg"}, ProgramCommand::GpsBackup, "-x.jpg"},
        {{"--gps-zurueck", "Rom/"}, ProgramCommand::GpsRestore, "Rom/"},
        {{"--orte"}, ProgramCommand::Places, ""},
        {{"--orte", "--nur-kommentar", "Rom/"}, ProgramCommand::Places, "Rom/", true},
        {{"--orte", "--nur-kommentar"}, ProgramCommand::Places, "", true},
        {{"--gps-sichern", "--nur-kommentar", "Rom/"}, ProgramCommand::Bad, ""},
        {{"--orte", "--nur-kommentar", "a", "b"}, ProgramCommand::Bad, ""},
        {{"--help"}, ProgramCommand::Help, ""},
        {{"--version"}, ProgramCommand::Version, ""},
        {{"--orte", "a", "b"}, ProgramCommand::Bad, ""},
        {{"--help", "a"}, ProgramCommand::Bad, ""},
        {{"--version", "Rom/"}, ProgramCommand::Bad, ""},
        {{"--ort", "a"}, ProgramCommand::Bad, ""},
        {{"--"}, ProgramCommand::Bad, ""},
        {{"--track", "a.gpx"}, ProgramCommand::GpsTrack, "", false, {"a.gpx"}},
        {{"--track", "a.gpx", "--versatz", "+30", "--track", "b.gpx", "--zeitzone", "-03:30", "-x.jpg"},
         ProgramCommand::GpsTrack, "-x.jpg", false, {"a.gpx", "b.gpx"}, -12600, 30},
        {{"--track", "a.gpx", "--versatz", "-3600", "Rom/"}, ProgramCommand::GpsTrack, "Rom/", false, {"a.gpx"}, std::nullopt, -3600},
        {{"--track", "a.gpx", "--zeitzone", "+1"}, ProgramCommand::Bad, ""},
        {{"--track", "a.gpx", "--zeitzone", "+01:00", "--zeitzone", "+02:00"}, ProgramCommand::Bad, ""},
        {{"--track", "a.gpx", "--versatz", "30s"}, ProgramCommand::Bad, ""},
        {{"--track", "a.gpx", "--versatz"}, ProgramCommand::Bad, ""},
        {{"--track", "a.gpx", "Rom/", "--zeitzone", "+01:00"}, ProgramCommand::Bad, ""},
        {{"--track", "a.gpx", "--orte"}, ProgramCommand::Bad, ""},
        {{"--orte", "--track", "a.gpx"}, ProgramCommand::Bad, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        const ProgramCall call = parseProgramCall(c.arguments);
        EXPECT_EQ(call.command, c.command);
        EXPECT_EQ(call.path, c.path);
        EXPECT_EQ(call.commentOnly, c.commentOnly);
        EXPECT_EQ(call.trackFiles, c.trackFiles);
        EXPECT_EQ(call.clock.zoneSeconds, c.zoneSeconds);
        EXPECT_EQ(call.clock.correctionSeconds, c.correctionSeconds);
    }
}

}  // namespace

}  // namespace vistado::test
