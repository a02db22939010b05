#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vistado {

// How far the argument's path could be looked at: found (or none given), not there at all,
// there but not readable (a folder without read permission, a path longer than the system
// allows), or named neither a folder nor a JPEG file (a.png, a.jpeg, there or not).
enum class PathState { Found, Missing, Unreadable, NotJpeg };

// What the command-line argument makes of the window: the texts it shows and
// the job list the commands walk. Texts are the system's 8-bit byte strings.
struct CommandLineJobs {
    std::string currentPath;                  // the argument; a folder gets its trailing "/"
    std::optional<std::string> frageCaption;  // new caption of BFrage; none: it stays "Frage"
    std::optional<std::string> zielText;      // new text of LZiel; none: the hint stays
    std::vector<std::string> jobs;            // image paths in the order the commands take them
    bool folder = false;                      // the jobs are a folder's
    PathState pathState = PathState::Found;
};

// Applies the command-line rules to `argument` (empty when none was given).
// Without an argument the JPEG files of `currentDirectory` are listed by their
// bare names, which the commands later open relative to the working directory.
// An existing folder is a folder whatever its name (".", "Urlaub.2010"); a folder that
// cannot be read leaves the window as an unusable argument does.
CommandLineJobs jobsFromCommandLine(const std::string& argument, const std::string& currentDirectory);

}  // namespace vistado
