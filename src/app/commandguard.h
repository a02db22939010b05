#pragma once

#include <functional>
#include <optional>
#include <utility>

namespace vistado {

// Keeps the window's commands from running inside one another: a command's
// loop lets the window process events, and a click on a command button then
// must not start a second command (or the same one again).
//
//     auto hold = commandGuard.tryEnter();
//     if (!hold)
//         return;  // another command is running
//
// The hold ends the command's turn when it goes out of scope, also by an exception.
class CommandGuard {
public:
    class Hold {
    public:
        Hold(Hold&& other) noexcept;
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
        Hold& operator=(Hold&&) = delete;
        ~Hold();

    private:
        friend class CommandGuard;
        explicit Hold(CommandGuard* guard) : guard(guard) {}
        CommandGuard* guard;
    };

    // A hold when no command runs; none while one does.
    std::optional<Hold> tryEnter();
    bool running() const { return commandRunning; }
    // Called each time a command ends, after the guard is free again.
    void setOnRelease(std::function<void()> onRelease) { releaseHandler = std::move(onRelease); }

private:
    void release();

    bool commandRunning = false;
    std::function<void()> releaseHandler;
};

}  // namespace vistado
