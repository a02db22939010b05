#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vistado {

// The names of every entry of `folder` that matches "*.jpg" without regard to
// letter case: files, hidden entries and sub-folders alike, sorted by name.
// None when the folder does not exist or cannot be read to its end.
std::optional<std::vector<std::string>> findJpgEntries(const std::string& folder);

}  // namespace vistado
