#include "app/runlog.h"

#include <cerrno>
#include <exception>
#include <fcntl.h>
#include <stdexcept>
#include <system_error>
#include <unistd.h>

namespace {

[[noreturn]] void throwFileError(const std::string& path)
{
    throw std::system_error(errno, std::generic_category(), path);
}

}  // namespace

TRunLog::~TRunLog()
{
    if (!isOpen())
        return;
    try {
        close();
    } catch (const std::exception&) {
        // A destructor cannot report; the owner's close() is where failures show.
    }
}

void TRunLog::create(const std::string& path)
{
    close();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        throwFileError(path);
    fd_ = fd;
    path_ = path;
}

void TRunLog::write(std::string_view text)
{
    if (!isOpen())
        throw std::logic_error("Protokoll ist nicht offen");
    line_.append(text);
}

void TRunLog::endLine()
{
    if (!isOpen())
        throw std::logic_error("Protokoll ist nicht offen");
    flush("\r\n");
}

void TRunLog::close()
{
    if (!isOpen())
        return;
    // The descriptor is released even when the last piece cannot be written.
    std::exception_ptr writeFailure;
    if (!line_.empty()) {
        try {
            flush("");
        } catch (const std::system_error&) {
            writeFailure = std::current_exception();
        }
    }
    const int closed = ::close(fd_);
    const int closeErrno = errno;
    fd_ = -1;
    line_.clear();
    if (writeFailure)
        std::rethrow_exception(writeFailure);
    if (closed != 0) {
        errno = closeErrno;
        throwFileError(path_);
    }
}

// Writes the line and `lineEnd` in one piece, then tells the listener.
void TRunLog::flush(std::string_view lineEnd)
{
    const std::string line = std::move(line_);
    line_.clear();
    const std::string piece = line + std::string(lineEnd);
    std::size_t done = 0;
    while (done < piece.size()) {
        const ssize_t n = ::write(fd_, piece.data() + done, piece.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throwFileError(path_);
        }
        done += static_cast<std::size_t>(n);
    }
    if (listener_)
        listener_(line);
}
