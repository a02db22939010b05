#include "places/textlines.h"

namespace vistado {

std::string readTextLine(std::istream& in)
{
    std::string line;
    std::streambuf* text = in.rdbuf();
    for (int c = text->sbumpc(); c != std::char_traits<char>::eof(); c = text->sbumpc()) {
        if (c == '\n')
            break;
        if (c == '\r') {
            if (text->sgetc() == '\n')
                text->sbumpc();
            break;
        }
        line += static_cast<char>(c);
    }
    return line;
}

bool atTextEnd(std::istream& in)
{
    return in.rdbuf()->sgetc() == std::char_traits<char>::eof();
}

}  // namespace vistado
