#include "app/requestpace.h"

namespace vistado {

void RequestPace::awaitTurn()
{
    if (lastStart) {
        const auto due = *lastStart + interval;
        const auto now = clock.now();
        if (now < due)
            clock.pause(std::chrono::ceil<std::chrono::milliseconds>(due - now));
    }
    lastStart = clock.now();
}

}  // namespace vistado
