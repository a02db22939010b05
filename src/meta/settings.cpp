#include "meta/settings.h"

namespace vistado {

namespace {
char decimalSeparator = ',';
uint8_t gpsRenderingMode = 0;
bool formatterExpansion = false;
}  // namespace

char DecimalSeparator() { return decimalSeparator; }
void SetDecimalSeparator(char separator) { decimalSeparator = separator; }

uint8_t GpsRenderingMode() { return gpsRenderingMode; }
void SetGpsRenderingMode(uint8_t mode) { gpsRenderingMode = mode; }

bool FormatterExpansion() { return formatterExpansion; }
void SetFormatterExpansion(bool expanded) { formatterExpansion = expanded; }

}  // namespace vistado
