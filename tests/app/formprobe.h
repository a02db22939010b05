#pragma once

#include <string>
#include <vector>

namespace vistado {
class TForm1;
}

namespace vistado::test {

// What the window shows, read as the program's 8-bit texts.

// The job list's entries, first to last.
std::vector<std::string> jobList(const TForm1& form);

// The text of a status grid cell; empty for a cell never written.
std::string gridText(const TForm1& form, int row, int column);

}  // namespace vistado::test
