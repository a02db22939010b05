#pragma once

#include "meta/settings.h"

// Numbers read from an image are rendered with "." while it is read, so that a position
// text means the same in every locale; afterwards the engine's separator is "," again,
// whatever it was before.
class TDecimalPointWhileReading {
public:
    TDecimalPointWhileReading() { vistado::SetDecimalSeparator('.'); }
    ~TDecimalPointWhileReading() { vistado::SetDecimalSeparator(','); }
    TDecimalPointWhileReading(const TDecimalPointWhileReading&) = delete;
    TDecimalPointWhileReading& operator=(const TDecimalPointWhileReading&) = delete;
};
