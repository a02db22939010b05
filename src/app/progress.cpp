#include "app/progress.h"

#include <algorithm>
#include <cstdint>

namespace vistado {

int progressPosition(int done, int count)
{
    // In whole numbers, so no floating-point rounding can tip a half either way.
    const std::int64_t scaled = static_cast<std::int64_t>(done) * 100;
    std::int64_t position = scaled / count;
    const std::int64_t twiceRemainder = 2 * (scaled % count);
    if (twiceRemainder > count || (twiceRemainder == count && position % 2 != 0))
        ++position;
    return static_cast<int>(position);
}

std::string timeLeftText(std::chrono::milliseconds left)
{
    const std::int64_t seconds = (left.count() + 500) / 1000;
    if (seconds < 58) {
        const std::int64_t fives = std::max<std::int64_t>(1, (seconds + 2) / 5);
        return "noch etwa " + std::to_string(fives * 5) + " s";
    }
    const std::int64_t minutes = (seconds + 30) / 60;
    if (minutes < 60)
        return "noch etwa " + std::to_string(minutes) + " min";
    std::string text = "noch etwa " + std::to_string(minutes / 60) + " Std.";
    if (minutes % 60 != 0)
        text += " " + std::to_string(minutes % 60) + " min";
    return text;
}

int RunProgress::position(int done) const
{
    return count > 0 ? progressPosition(done, count) : 100;
}

std::string RunProgress::text(int done, RunClock::TimePoint now) const
{
    std::string text = std::to_string(done) + " von " + std::to_string(count);
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(now - start);
    if (done > 0 && done < count && elapsed >= kEstimateAfter)
        text += ", " + timeLeftText(elapsed * (count - done) / done);
    return text;
}

}  // namespace vistado
