// Preloaded into a program under test: the first read of a file whose name
// ends in "eio.jpg" fails with an I/O error, as a failing disk does; every
// later read goes through.

#include <cerrno>
#include <climits>
#include <cstring>
#include <dlfcn.h>
#include <string>
#include <unistd.h>

namespace {

bool failed = false;

bool namesFailingFile(int fd)
{
    char link[PATH_MAX];
    const std::string proc = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t length = ::readlink(proc.c_str(), link, sizeof link - 1);
    return length > 7 && std::string(link, static_cast<size_t>(length)).ends_with("eio.jpg");
}

}  // namespace

extern "C" ssize_t read(int fd, void* buffer, size_t count)
{
    using Read = ssize_t (*)(int, void*, size_t);
    static const auto next = reinterpret_cast<Read>(::dlsym(RTLD_NEXT, "read"));
    if (!failed && namesFailingFile(fd)) {
        failed = true;
        errno = EIO;
        return -1;
    }
    return next(fd, buffer, count);
}
