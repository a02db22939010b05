#pragma once

#include <stdexcept>

namespace vistado {

// Raised by every out-of-range read or write of the metadata engine, by counts
// and offsets of 2^31 or more, by type numbers above 12 and by numbers that
// do not fit where they must go. The reading operations catch it at fixed
// places: the segment scan, each sub-directory walk and the maker-note walk.
class ERangeError : public std::out_of_range {
public:
    using std::out_of_range::out_of_range;
};

}  // namespace vistado
