#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace vistado::test {

// A program that links vistado_filecalls sees its calls of fsync and rename
// (the real calls still happen) and how long each took, and can act in the
// middle of one: another program changing the photo while the new file goes
// to the disk.
struct FileCall {
    std::string call;  // "fsync file", "fsync folder" or "rename"
    std::string path;  // what was synced; for a rename the old path
    std::string to;    // for a rename the new path
    std::chrono::nanoseconds took{0};
};

// The calls since the last take, oldest first.
std::vector<FileCall> takeFileCalls();

// Runs the action once, inside the next fsync of a regular file whose path
// holds `pathPart`, before the file is synced.
void duringNextFileSync(std::function<void()> action, std::string pathPart = "");

}  // namespace vistado::test
