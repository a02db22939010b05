#include "app/commandguard.h"

#include <utility>

namespace vistado {

CommandGuard::Hold::Hold(Hold&& other) noexcept : guard(std::exchange(other.guard, nullptr)) {}

CommandGuard::Hold::~Hold()
{
    if (guard)
        guard->release();
}

std::optional<CommandGuard::Hold> CommandGuard::tryEnter()
{
    if (commandRunning)
        return std::nullopt;
    commandRunning = true;
    return Hold(this);
}

void CommandGuard::release()
{
    commandRunning = false;
    if (releaseHandler)
        releaseHandler();
}

}  // namespace vistado
