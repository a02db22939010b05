#pragma once

#include "app/commandline.h"

#include <optional>
#include <string>
#include <vector>

namespace vistado {

// What a drop of local paths onto the window makes of it, as the command-line argument
// does at start-up: one folder gives its JPEG files; one JPEG file gives that file;
// several JPEG files give those files in the order they were dropped (the file manager's).
// Anything else (a mix, several folders, other files, a folder that cannot be read,
// nothing) gives none: the window refuses the drop.
std::optional<CommandLineJobs> jobsFromDrop(const std::vector<std::string>& paths, const std::string& currentDirectory);

}  // namespace vistado
