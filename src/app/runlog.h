#pragma once

#include <cstddef>
#include <deque>
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
    // Ends the current line the way the log's readers expect it, CR LF, and writes it out
    // (once no held line is in front of it).
    void endLine();
    // Holds the current line open for a result still to come (a process that still runs):
    // the lines after it wait, in order, until completeLine() ends it. Gives its number.
    std::size_t holdLine();
    // Appends `text` to the held line and ends it; the lines no longer behind an open one
    // are written out.
    void completeLine(std::size_t held, std::string_view text);
    // Writes out the held lines and an unfinished one and closes the file; does nothing when
    // no log is open.
    void close();
    bool isOpen() const { return logFd >= 0; }

    void setLineListener(LineListener listener) { lineListener = std::move(listener); }

private:
    struct WaitingLine {
        std::string text;
        bool complete;
    };

    void writeOut(const std::string& line, std::string_view lineEnd);
    void writeCompleteLines();

    int logFd = -1;
    std::string logPath;
    std::string currentLine;  // the line being written
    std::deque<WaitingLine> waiting;  // a held line and the lines behind it
    std::size_t firstWaiting = 0;     // the number of waiting.front()
    LineListener lineListener;
};

}  // namespace vistado
