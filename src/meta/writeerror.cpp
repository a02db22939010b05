#include "meta/writeerror.h"

#include <filesystem>
#include <system_error>

namespace vistado {

namespace {

std::string SystemText(int error)
{
    return std::generic_category().message(error);
}

}  // namespace

std::string FullPath(const std::string& path)
{
    std::error_code failed;
    const std::filesystem::path absolute = std::filesystem::absolute(path, failed);
    if (failed)
        return path;
    return absolute.lexically_normal().string();
}

EWriteError OpenFailed(const std::string& path, int error)
{
    return EWriteError("Datei " + FullPath(path) + " kann nicht geöffnet werden. " + SystemText(error));
}

EWriteError CreateFailed(const std::string& path, int error)
{
    return EWriteError("Datei \"" + FullPath(path) + "\" kann nicht erstellt werden. " + SystemText(error));
}

}  // namespace vistado
