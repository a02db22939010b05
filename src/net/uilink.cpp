#include "net/uilink.h"

#include <utility>

namespace vistado::net {

TUiLink::TUiLink(TUiThread ui) : ui(std::move(ui)) {}

void TUiLink::RunAndWait(std::function<void()> call)
{
    if (IsCut())
        return;
    // Guarded by lock; shared with the handed-over call, which may outlive
    // this wait when the line is cut meanwhile.
    auto ran = std::make_shared<bool>(false);
    ui.post([self = shared_from_this(), call = std::move(call), ran] {
        // Lets the worker go on even when call throws.
        struct TMarkRan {
            TUiLink& line;
            bool& ran;
            ~TMarkRan()
            {
                std::lock_guard guard(line.lock);
                ran = true;
                line.changed.notify_all();
            }
        } markRan{*self, *ran};
        // The line is cut on the user-interface thread only, where this runs
        // too, so it cannot be cut while call runs.
        if (!self->IsCut())
            call();
    });
    std::unique_lock guard(lock);
    changed.wait(guard, [&] { return cut || *ran; });
}

void TUiLink::Pump()
{
    ui.pump();
}

void TUiLink::Cut()
{
    std::lock_guard guard(lock);
    cut = true;
    changed.notify_all();
}

bool TUiLink::IsCut()
{
    std::lock_guard guard(lock);
    return cut;
}

}  // namespace vistado::net
