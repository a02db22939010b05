#pragma once

#include <string>

namespace vistado {

// The running program's version: three decimal numbers joined by ".", major first.
std::string ExeVersionText();

}  // namespace vistado
