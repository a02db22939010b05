#include "app/progress.h"

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

}  // namespace vistado
