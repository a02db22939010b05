#include "uiqueue.h"

#include <utility>

namespace vistado::net::test {

TUiThread UiQueue::Thread()
{
    return {[this](std::function<void()> call) { Post(std::move(call)); }, [this] { Pump(); }};
}

void UiQueue::Post(std::function<void()> call)
{
    std::lock_guard guard(lock);
    calls.push_back(std::move(call));
    arrived.notify_all();
}

void UiQueue::Pump()
{
    std::deque<std::function<void()>> due;
    {
        std::unique_lock guard(lock);
        arrived.wait_for(guard, std::chrono::milliseconds(20), [this] { return !calls.empty(); });
        due.swap(calls);
    }
    for (auto& call : due)
        call();
}

bool UiQueue::PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit)
{
    auto end = std::chrono::steady_clock::now() + limit;
    while (!done() && std::chrono::steady_clock::now() < end)
        Pump();
    return done();
}

std::size_t UiQueue::Pending()
{
    std::lock_guard guard(lock);
    return calls.size();
}

}  // namespace vistado::net::test
