#include "app/commandline.h"

#include "app/foldersearch.h"
#include "meta/text/asciitext.h"
#include "meta/file/pathparts.h"

#include <sys/stat.h>

#include <cerrno>

namespace vistado {

CommandLineJobs jobsFromCommandLine(const std::string& argument, const std::string& currentDirectory)
{
    CommandLineJobs result;
    result.currentPath = argument;

    if (argument.empty()) {
        const std::optional<std::vector<std::string>> names = findJpgEntries(currentDirectory);
        if (!names) {
            result.pathState = PathState::Unreadable;
            return result;
        }
        result.frageCaption = "Orte ermitteln?";
        result.zielText = "Bilder im Verzeichnis";
        result.jobs = *names;
        result.folder = true;
        return result;
    }

    struct stat status {};
    const bool found = ::stat(argument.c_str(), &status) == 0;
    if (!found && errno != ENOENT && errno != ENOTDIR) {
        result.pathState = PathState::Unreadable;
        return result;
    }
    if (!found)
        result.pathState = PathState::Missing;

    const std::string extension = upperAscii(extensionPart(argument));
    // What is not there is taken by its name: without an extension, a folder.
    if (found ? S_ISDIR(status.st_mode) : extension.empty()) {
        std::string folder = argument;
        if (folder.back() != '/')
            folder += '/';
        const std::optional<std::vector<std::string>> names = findJpgEntries(folder);
        if (found && !names) {
            result.pathState = PathState::Unreadable;
            return result;
        }
        // A trailing "/" leaves no file-name part: the whole argument names the folder.
        const std::string shown = fileNamePart(argument).empty() ? argument : fileNamePart(argument);
        result.frageCaption = "Orte ermitteln?";
        result.zielText = "Bilder im Verzeichnis \"" + shown + "\"";
        result.currentPath = folder;
        result.folder = true;
        for (const std::string& name : names.value_or(std::vector<std::string>{}))
            result.jobs.push_back(folder + name);
    } else if (extension == ".JPG") {
        result.frageCaption = "Ort ermitteln?";
        result.zielText = "Bild \"" + fileNamePart(argument) + "\"";
        result.jobs.push_back(argument);
    } else {
        // Any other extension names neither an image nor a folder: the window keeps its hint.
        result.pathState = PathState::NotJpeg;
    }
    return result;
}

}  // namespace vistado
