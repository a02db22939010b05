#pragma once

#include <functional>
#include <optional>
#include <utility>

// Keeps the window's commands from running inside one another: a command's
// loop lets the window process events, and a click on a command button then
// must not start a second command (or the same one again).
//
//     auto hold = commandGuard.tryEnter();
//     if (!hold)
//         return;  // another command is running
//
// The hold ends the command's turn when it goes out of scope, also by an exception.
class TCommandGuard {
public:
    class THold {
    public:
        THold(THold&& other) noexcept;
        THold(const THold&) = delete;
        THold& operator=(const THold&) = delete;
        THold& operator=(THold&&) = delete;
        ~THold();

    private:
        friend class TCommandGuard;
        explicit THold(TCommandGuard* guard) : guard_(guard) {}
        TCommandGuard* guard_;
    };

    // A hold when no command runs; none while one does.
    std::optional<THold> tryEnter();
    bool running() const { return running_; }
    // Called each time a command ends, after the guard is free again.
    void setOnRelease(std::function<void()> onRelease) { onRelease_ = std::move(onRelease); }

private:
    void release();

    bool running_ = false;
    std::function<void()> onRelease_;
};
