#include "fakeexiftool.h"

#include "testfiles.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <unistd.h>

namespace vistado::test {

namespace {

// The real ExifTool, found before a test puts its own in front of it.
std::string realExifTool()
{
    static const std::string found = [] {
        const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
        for (std::size_t start = 0; start <= path.size();) {
            const std::size_t end = std::min(path.find(':', start), path.size());
            const std::string candidate = path.substr(start, end - start) + "/exiftool";
            if (end > start && ::access(candidate.c_str(), X_OK) == 0)
                return candidate;
            start = end + 1;
        }
        throw std::runtime_error("exiftool is not in PATH");
    }();
    return found;
}

// `text` as one word of the shell, whatever it holds.
std::string shellQuoted(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}  // namespace

void writeFakeExifTool(const std::string& folder, const std::string& photo, const std::string& act)
{
    const std::string real = realExifTool();
    makeFolder(folder);
    writeFile(folder + "/exiftool", "#!/bin/sh\n"
                                    "here=" + shellQuoted(folder) + "\n"
                                    "echo $$ >> \"$here/starts\"\n"
                                    "set --\n"
                                    "while IFS= read -r line; do\n"
                                    "  printf '%s\\n' \"$line\" >> \"$here/lines\"\n"
                                    "  case $line in\n"
                                    "  -execute*)\n"
                                    "    for last; do :; done\n"
                                    "    case $last in\n"
                                    "    *" + shellQuoted(photo) + "*) " + act + " ;;\n"
                                    "    *) " + shellQuoted(real) + " \"$@\" 2>&1 ;;\n"
                                    "    esac\n"
                                    "    echo \"{ready${line#-execute}}\"\n"
                                    "    set -- ;;\n"
                                    "  -stay_open) IFS= read -r line; printf '%s\\n' \"$line\" >> \"$here/lines\"; exit 0 ;;\n"
                                    "  *) set -- \"$@\" \"$line\" ;;\n"
                                    "  esac\n"
                                    "done\n");
    ::chmod((folder + "/exiftool").c_str(), 0755);
}

}  // namespace vistado::test
