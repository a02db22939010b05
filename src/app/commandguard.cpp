#include "app/commandguard.h"

#include <utility>

TCommandGuard::THold::THold(THold&& other) noexcept : guard_(std::exchange(other.guard_, nullptr)) {}

TCommandGuard::THold::~THold()
{
    if (guard_)
        guard_->release();
}

std::optional<TCommandGuard::THold> TCommandGuard::tryEnter()
{
    if (running_)
        return std::nullopt;
    running_ = true;
    return THold(this);
}

void TCommandGuard::release()
{
    running_ = false;
    if (onRelease_)
        onRelease_();
}
