#pragma once

#include <istream>
#include <string>

namespace vistado {

// Reading a text file line by line, as the reply scan and the update check do:
// a line ends at LF, CR or CR LF, whichever the writer used.

// The next line without its end; an empty line once the text has ended.
std::string readTextLine(std::istream& in);

// Nothing is left to read.
bool atTextEnd(std::istream& in);

}  // namespace vistado
