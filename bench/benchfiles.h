#pragma once

#include <string>
#include <vector>

namespace vistado::bench {

// The folder a benchmark works on: its first argument left after the
// benchmark options, else VISTADO_BENCH_DIR, else the sample files' JPEG folder.
std::string benchFolder(int argc, char** argv);

// The JPEG files of a folder (extensions .jpg, .jpeg, .jpe in any case), sorted.
std::vector<std::string> jpegFiles(const std::string& folder);

// Runs a program with its output thrown away; false when it cannot start.
bool runQuietly(const std::vector<std::string>& command);

// Whether a program of that name can be started.
bool installed(const std::string& program);

}  // namespace vistado::bench
