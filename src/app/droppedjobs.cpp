#include "app/droppedjobs.h"

#include "meta/text/asciitext.h"
#include "meta/file/pathparts.h"

#include <algorithm>
#include <filesystem>

namespace vistado {

namespace {

bool isJpgFile(const std::string& path)
{
    return upperAscii(extensionPart(path)) == ".JPG" && std::filesystem::is_regular_file(path);
}

}  // namespace

std::optional<CommandLineJobs> jobsFromDrop(const std::vector<std::string>& paths, const std::string& currentDirectory)
{
    if (paths.size() == 1 && (std::filesystem::is_directory(paths[0]) || isJpgFile(paths[0]))) {
        CommandLineJobs rules = jobsFromCommandLine(paths[0], currentDirectory);
        // A folder that cannot be read gives nothing to work on.
        if (rules.pathState != PathState::Found)
            return std::nullopt;
        return rules;
    }
    if (paths.empty() || !std::all_of(paths.begin(), paths.end(), isJpgFile))
        return std::nullopt;

    CommandLineJobs result;
    const std::string folder = folderPart(paths[0]);
    const bool oneFolder = std::all_of(paths.begin(), paths.end(),
                                       [&](const std::string& path) { return folderPart(path) == folder; });
    result.frageCaption = "Orte ermitteln?";
    result.zielText = std::to_string(paths.size()) + " Bilder";
    // The folder's own name, as the label shows a folder given at start-up.
    if (oneFolder && folder.size() > 1)
        *result.zielText += " im Verzeichnis \"" + fileNamePart(folder.substr(0, folder.size() - 1)) + "\"";
    result.jobs = paths;
    return result;
}

}  // namespace vistado
