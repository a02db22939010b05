#pragma once

#include <string>

// The running program's version: three decimal numbers joined by ".", major first.
std::string ExeVersionText();
