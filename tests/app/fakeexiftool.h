#pragma once

#include <string>

namespace vistado::test {

// An exiftool of the tests' own, written as `folder`/exiftool. It serves the argument stream
// as ExifTool does (-stay_open True -@ -), handing each request to the real ExifTool, except
// a request whose file name holds `photo` (empty: every request): for it, it runs the shell
// command `act` instead (the file name in $last), such as `exit 1` (it dies), `sleep 60`
// (it hangs) or `echo "Error: ..."`, and then answers. It adds each line it reads to
// `folder`/lines and its process id, at each start, to `folder`/starts.
void writeFakeExifTool(const std::string& folder, const std::string& photo, const std::string& act);

}  // namespace vistado::test
