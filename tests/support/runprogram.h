#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vistado::test {

struct ProgramResult {
    int exitStatus = -1;  // -1 when the program did not end normally
    std::string out;
    std::string err;
};

// Where and how a program runs.
struct ProgramOptions {
    std::string workingDirectory;  // empty: this process's
    // Changes to this process's environment: a value sets the variable, none removes it.
    std::map<std::string, std::optional<std::string>> environment;
};

// Runs a program (looked up in PATH unless the name holds a "/") with the
// arguments, without a shell, and collects what it printed.
ProgramResult runProgram(const std::vector<std::string>& command, const ProgramOptions& options = {});

// Whether a program of that name is in PATH.
bool programAvailable(const std::string& name);

}  // namespace vistado::test
