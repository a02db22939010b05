#include "app/foldersearch.h"

#include "meta/text/asciitext.h"
#include "meta/file/pathparts.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <memory>
#include <utility>

namespace vistado {

std::optional<std::vector<std::string>> findJpgEntries(const std::string& folder)
{
    // Camera folders mix IMG_0001.JPG and img_0002.jpg; ordering by the
    // upper-cased name keeps the shooting order. Names equal but for case
    // fall back to their bytes, so the order never depends on the file system.
    std::vector<std::pair<std::string, std::string>> found;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
    if (!dir)
        return std::nullopt;
    for (;;) {
        // readdir tells its end and its failure apart only through errno.
        errno = 0;
        const dirent* entry = readdir(dir.get());
        if (!entry) {
            if (errno != 0)
                return std::nullopt;
            break;
        }
        std::string name = entry->d_name;
        std::string key = upperAscii(name);
        if (extensionPart(key) == ".JPG")
            found.emplace_back(std::move(key), std::move(name));
    }
    std::sort(found.begin(), found.end());

    std::vector<std::string> names;
    names.reserve(found.size());
    for (auto& entry : found)
        names.push_back(std::move(entry.second));
    return names;
}

}  // namespace vistado
