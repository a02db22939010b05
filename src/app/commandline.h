#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vistado {

// What the command-line argument makes of the window: the texts it shows and
// the job list the commands walk. Texts are the system's 8-bit byte strings.
struct CommandLineJobs {
    std::string currentPath;                  // the argument; a folder gets its trailing "/"
    std::optional<std::string> frageCaption;  // new caption of BFrage; none: it stays "Frage"
    std::optional<std::string> zielText;      // new text of LZiel; none: the hint stays
    std::vector<std::string> jobs;            // image paths in the order the commands take them
};

// Applies the command-line rules to `argument` (empty when none was given).
// Without an argument the JPEG files of `currentDirectory` are listed by their
// bare names, which the commands later open relative to the working directory.
CommandLineJobs jobsFromCommandLine(const std::string& argument, const std::string& currentDirectory);

}  // namespace vistado
