#include "meta/file/writeerror.h"

#include <filesystem>
#include <system_error>

namespace vistado {

namespace {

std::string systemText(int error)
{
    return std::generic_category().message(error);
}

}  // namespace

std::string fullPath(const std::string& path)
{
    std::error_code failed;
    const std::filesystem::path absolute = std::filesystem::absolute(path, failed);
    if (failed)
        return path;
    return absolute.lexically_normal().string();
}

EWriteError openFailed(const std::string& path, int error)
{
    return EWriteError("Datei " + fullPath(path) + " kann nicht geöffnet werden. " + systemText(error));
}

EWriteError createFailed(const std::string& path, int error)
{
    return EWriteError("Datei \"" + fullPath(path) + "\" kann nicht erstellt werden. " + systemText(error));
}

}  // namespace vistado
