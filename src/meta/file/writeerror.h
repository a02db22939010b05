#pragma once

#include <stdexcept>
#include <string>

namespace vistado {

// Raised by the writer when a source cannot be loaded or a target cannot be
// written. Its text is meant for the user as it stands.
class EWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The path as the user should read it in a message: absolute, without "." and
// ".." steps.
std::string fullPath(const std::string& path);

// "Datei %s kann nicht geöffnet werden. %s"
EWriteError openFailed(const std::string& path, int error);
// "Datei "%s" kann nicht erstellt werden. %s"
EWriteError createFailed(const std::string& path, int error);

}  // namespace vistado
