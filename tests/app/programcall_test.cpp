#include "app/programcall.h"

#include <gtest/gtest.h>

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
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        const ProgramCall call = parseProgramCall(c.arguments);
        EXPECT_EQ(call.command, c.command);
        EXPECT_EQ(call.path, c.path);
        EXPECT_EQ(call.commentOnly, c.commentOnly);
    }
}

}  // namespace

}  // namespace vistado::test
