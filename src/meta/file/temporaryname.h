#pragma once

#include <optional>
#include <string>
#include <sys/types.h>

namespace vistado {

// Our temporary files are named "." + the target's name (its first 64 bytes)
// + ".vistado-" + the writing process's id + "-" + a count, both in hex, in
// the target's folder: hidden, beside the photo they will replace, and
// telling which process wrote them.

// A name for the next temporary file of this process for the target name.
std::string temporaryName(const std::string& targetName);

// The id of the process that wrote a temporary file of that name; none for
// a name that is not one of ours.
std::optional<pid_t> temporaryOwner(const std::string& name);

// Removes the temporary files of ours in the folder ("" for the current one)
// that no process writes any more: their process no longer runs, and no
// one holds their lock (a writer holds its temporary file locked, which
// protects it from a cleaner that cannot see its process). Any other file is
// left alone. Done once per folder in a process: a killed writer's files
// are gone at the next program run that writes there. Leftovers that cannot
// be removed stay for a later run; the write goes on regardless.
void removeStaleTemporaries(const std::string& folder);

}  // namespace vistado
