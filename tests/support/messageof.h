#pragma once

#include <functional>
#include <string>

namespace vistado::test {

// The message of the exception the action raises, or "(no error)".
std::string messageOf(const std::function<void()>& action);

}  // namespace vistado::test
