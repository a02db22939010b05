#pragma once

#include <filesystem>
#include <string_view>

namespace vistado {

// A data file of the program, found relative to the running program: installed, in the data
// folder beside the programs' folder (bin/vistado finds share/vistado/NAME); run from a build
// tree, in the share/vistado folder of that tree (the nearest folder above the program that
// holds CMakeCache.txt). The path where it would be when it is in neither, for messages.
std::filesystem::path programDataFile(std::string_view name);

}  // namespace vistado
