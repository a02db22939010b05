#include "messageof.h"

#include <exception>

namespace vistado::test {

std::string messageOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const std::exception& failed) {
        return failed.what();
    }
    return "(no error)";
}

}  // namespace vistado::test
