#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vistado::test {

// The test binary that links filecalls.cpp sees the writer's calls of fsync
// and rename (the real calls still happen), and can act in the middle of
// one: another program changing the photo while the new file goes to the
// disk.
struct FileCall {
    std::string call;  // "fsync file", "fsync folder" or "rename"
    std::string path;  // what was synced; for a rename the old path
    std::string to;    // for a rename the new path
};

// The calls since the last take, oldest first.
std::vector<FileCall> takeFileCalls();

// Runs the action once, inside the next fsync of a regular file, before the
// file is synced.
void duringNextFileSync(std::function<void()> action);

}  // namespace vistado::test
