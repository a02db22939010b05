#include "app/commandline.h"

#include "app/foldersearch.h"
#include "meta/asciitext.h"
#include "meta/pathparts.h"

namespace vistado {

CommandLineJobs jobsFromCommandLine(const std::string& argument, const std::string& currentDirectory)
{
    CommandLineJobs result;
    result.currentPath = argument;

    if (argument.empty()) {
        result.frageCaption = "Orte ermitteln?";
        result.zielText = "Bilder im Verzeichnis";
        result.jobs = findJpgEntries(currentDirectory);
        return result;
    }

    const std::string extension = upperAscii(extensionPart(argument));
    if (extension == ".JPG") {
        result.frageCaption = "Ort ermitteln?";
        result.zielText = "Bild \"" + fileNamePart(argument) + "\"";
        result.jobs.push_back(argument);
    } else if (extension.empty()) {
        // A trailing "/" leaves no file-name part: the whole argument names the folder.
        const std::string shown = fileNamePart(argument).empty() ? argument : fileNamePart(argument);
        result.frageCaption = "Orte ermitteln?";
        result.zielText = "Bilder im Verzeichnis \"" + shown + "\"";
        if (result.currentPath.back() != '/')
            result.currentPath += '/';
        for (const std::string& name : findJpgEntries(result.currentPath))
            result.jobs.push_back(result.currentPath + name);
    }
    // Any other extension names neither an image nor a folder: the window keeps its hint.
    return result;
}

}  // namespace vistado
