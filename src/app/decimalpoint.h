#pragma once

#include "meta/text/settings.h"

namespace vistado {

// Numbers read from an image are rendered with "." while it is read, so that a position
// text means the same in every locale; afterwards the engine's separator is "," again,
// whatever it was before.
class DecimalPointWhileReading {
public:
    DecimalPointWhileReading() { setDecimalSeparator('.'); }
    ~DecimalPointWhileReading() { setDecimalSeparator(','); }
    DecimalPointWhileReading(const DecimalPointWhileReading&) = delete;
    DecimalPointWhileReading& operator=(const DecimalPointWhileReading&) = delete;
};

}  // namespace vistado
