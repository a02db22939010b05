#include "app/programcall.h"

#include <gtest/gtest.h>

namespace {

TEST(ProgramCall, CommandsRunWithoutTheWindowOtherArgumentsOpenIt)
{
    using Arguments = std::vector<std::string>;
    const struct {
        Arguments arguments;
        TProgramCommand command;
        const char* path;
    } cases[] = {
        {{}, TProgramCommand::Window, ""},
        {{"Foto.jpg"}, TProgramCommand::Window, ""},
        {{"-x.jpg", "--orte"}, TProgramCommand::Window, ""},
        {{"--orte", "/home/u/Bilder"}, TProgramCommand::Places, "/home/u/Bilder"},
        {{"--gps-sichern", "-x.jpg"}, TProgramCommand::GpsBackup, "-x.jpg"},
        {{"--gps-zurueck", "Rom/"}, TProgramCommand::GpsRestore, "Rom/"},
        {{"--orte"}, TProgramCommand::Places, ""},
        {{"--help"}, TProgramCommand::Help, ""},
        {{"--orte", "a", "b"}, TProgramCommand::Bad, ""},
        {{"--help", "a"}, TProgramCommand::Bad, ""},
        {{"--ort", "a"}, TProgramCommand::Bad, ""},
        {{"--"}, TProgramCommand::Bad, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        const TProgramCall call = parseProgramCall(c.arguments);
        EXPECT_EQ(call.command, c.command);
        EXPECT_EQ(call.path, c.path);
    }
}

}  // namespace
