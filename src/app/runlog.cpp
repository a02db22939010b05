#include "runlog.h"

#include <cerrno>
#include <exception>
#include <fcntl.h>
#include <stdexcept>
#include <system_error>
#include <unistd.h>

namespace {

// The log reaches the disk in pieces of this size, so a run writes in few calls
// and the file lags behind the run by less than one piece.
constexpr std::size_t bufferSize = 128;

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
    buffer_.append(text);
    if (buffer_.size() >= bufferSize)
        flush();
}

void TRunLog::endLine()
{
    write("\r\n");
}

void TRunLog::close()
{
    if (!isOpen())
        return;
    // The descriptor is released even when the last piece cannot be written.
    std::exception_ptr writeFailure;
    try {
        flush();
    } catch (const std::system_error&) {
        writeFailure = std::current_exception();
    }
    const int closed = ::close(fd_);
    const int closeErrno = errno;
    fd_ = -1;
    buffer_.clear();
    if (writeFailure)
        std::rethrow_exception(writeFailure);
    if (closed != 0) {
        errno = closeErrno;
        throwFileError(path_);
    }
}

void TRunLog::flush()
{
    std::size_t done = 0;
    while (done < buffer_.size()) {
        const ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            buffer_.erase(0, done);
            throwFileError(path_);
        }
        done += static_cast<std::size_t>(n);
    }
    buffer_.clear();
}
