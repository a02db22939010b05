#pragma once

#include <string>
#include <vector>

namespace vistado {

// The names of every entry of `folder` that matches "*.jpg" without regard to
// letter case: files, hidden entries and sub-folders alike, sorted by name.
// A folder that does not exist or cannot be read gives no names.
std::vector<std::string> findJpgEntries(const std::string& folder);

}  // namespace vistado
