#include "places/programdata.h"

#include <system_error>

namespace vistado {

namespace {

namespace fs = std::filesystem;

constexpr int kBuildTreeLevels = 4;  // build/src/tools/vistado-meta lies two below its tree

fs::path programFolder()
{
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : program.parent_path();
}

}  // namespace

fs::path programDataFile(std::string_view name)
{
    const fs::path folder = programFolder();
    const fs::path installed = (folder / VISTADO_DATA_FROM_PROGRAM / name).lexically_normal();
    std::error_code error;
    if (folder.empty() || fs::exists(installed, error))
        return installed;
    fs::path tree = folder;
    for (int level = 0; level < kBuildTreeLevels && tree.has_relative_path(); ++level, tree = tree.parent_path())
        if (fs::exists(tree / "CMakeCache.txt", error))
            return tree / VISTADO_BUILD_DATA / name;
    return installed;
}

}  // namespace vistado
