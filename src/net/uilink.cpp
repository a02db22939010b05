#include "net/uilink.h"

#include <utility>

namespace vistado::net {

UiLink::UiLink(UiThread ui) : ui(std::move(ui)) {}

void UiLink::runAndWait(std::function<void()> call)
{
    if (isCut())
        return;
    // Guarded by lock; shared with the handed-over call, which may outlive
    // this wait when the line is cut meanwhile.
    auto ran = std::make_shared<bool>(false);
    ui.post([self = shared_from_this(), call = std::move(call), ran] {
        // Lets the worker go on even when call throws.
        struct MarkRan {
            UiLink& line;
            bool& ran;
            ~MarkRan()
            {
                std::lock_guard guard(line.lock);
                ran = true;
                line.changed.notify_all();
            }
        } markRan{*self, *ran};
        // The line is cut on the user-interface thread only, where this runs
        // too, so it cannot be cut while call runs.
        if (!self->isCut())
            call();
    });
    std::unique_lock guard(lock);
    changed.wait(guard, [&] { return severed || *ran; });
}

void UiLink::pump()
{
    ui.pump();
}

void UiLink::cut()
{
    std::lock_guard guard(lock);
    severed = true;
    changed.notify_all();
}

bool UiLink::isCut()
{
    std::lock_guard guard(lock);
    return severed;
}

}  // namespace vistado::net
