#pragma once

#include <functional>
#include <utility>
#include <string>
#include <string_view>

namespace vistado {

// The run log protokoll.csv: created anew by each run, closed when the next run starts or
// the window closes. Each line reaches the file as soon as it is complete, so the file
// shows every finished image even if the program dies; an unfinished line is written when
// the log is closed. Every failure of the file raises std::system_error; writing to a log
// that is not open is a std::logic_error.
class RunLog {
public:
    // Told each line as it reaches the file, without its line end: every complete line,
    // and at closing an unfinished one.
    using LineListener = std::function<void(std::string_view line)>;

    RunLog() = default;
    RunLog(const RunLog&) = delete;
    RunLog& operator=(const RunLog&) = delete;
    // Writes out an unfinished line; errors are reported only by close().
    ~RunLog();

    // Closes a log still open from an earlier run, then creates (or empties) `path`.
    void create(const std::string& path);
    void write(std::string_view text);
    // Ends the current line the way the log's readers expect it, CR LF, and writes it out.
    void endLine();
    // Writes out an unfinished line and closes the file; does nothing when no log is open.
    void close();
    bool isOpen() const { return logFd >= 0; }

    void setLineListener(LineListener listener) { lineListener = std::move(listener); }

private:
    void flush(std::string_view lineEnd);

    int logFd = -1;
    std::string logPath;
    std::string currentLine;  // the line being written
    LineListener lineListener;
};

}  // namespace vistado
