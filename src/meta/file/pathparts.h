#pragma once

#include <string>

namespace vistado {

// Parts of a path; "/" separates folders.

// The text after the last "/" (the whole path when it holds none).
std::string fileNamePart(const std::string& path);

// The text up to and including the last "/" (empty when the path holds none).
std::string folderPart(const std::string& path);

// The text from the last "." of the file-name part to the end, dot included;
// empty when the file-name part holds no ".".
std::string extensionPart(const std::string& path);

}  // namespace vistado
