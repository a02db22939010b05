#pragma once

#include <cstdint>

namespace vistado {

// Process-wide settings of the metadata engine. The engine runs one decode at
// a time, so they are plain module state.

// The decimal separator of every number the engine renders as text
// (default ","). Readers that need portable numbers set "." while they read.
char decimalSeparator();
void setDecimalSeparator(char separator);

// How GPS coordinates are rendered: 0 decimal degrees (default), 1 degrees
// and decimal minutes, 2 degrees, minutes and seconds; any other value leaves
// the coordinate as the list of fractions.
uint8_t gpsRenderingMode();
void setGpsRenderingMode(uint8_t mode);

// Set by a maker-note formatter that turned one value into several derived
// entries; the maker-note walk clears it before each formatter call and then
// writes its report line differently.
bool formatterExpansion();
void setFormatterExpansion(bool expanded);

}  // namespace vistado
