#include "uiqueue.h"

#include <utility>

namespace vistado::net::test {

UiThread UiQueue::thread()
{
    return {[this](std::function<void()> call) { post(std::move(call)); }, [this] { pump(); }};
}

void UiQueue::post(std::function<void()> call)
{
    std::lock_guard guard(lock);
    calls.push_back(std::move(call));
    arrived.notify_all();
}

void UiQueue::pump()
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

bool UiQueue::pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit)
{
    auto end = std::chrono::steady_clock::now() + limit;
    while (!done() && std::chrono::steady_clock::now() < end)
        pump();
    return done();
}

std::size_t UiQueue::pending()
{
    std::lock_guard guard(lock);
    return calls.size();
}

}  // namespace vistado::net::test
