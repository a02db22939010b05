#pragma once

#include <string>
#include <vector>

namespace vistado::test {

struct TProgramResult {
    int exitStatus = -1;  // -1 when the program did not end normally
    std::string out;
    std::string err;
};

// Runs a program (looked up in PATH unless the name holds a "/") with the
// arguments, without a shell, and collects what it printed.
TProgramResult RunProgram(const std::vector<std::string>& command);

// Whether a program of that name is in PATH.
bool ProgramAvailable(const std::string& name);

}  // namespace vistado::test
