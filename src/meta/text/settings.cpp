#include "meta/text/settings.h"

namespace vistado {

namespace {
char separatorSetting = ',';
uint8_t gpsModeSetting = 0;
bool expansionSetting = false;
}  // namespace

char decimalSeparator() { return separatorSetting; }
void setDecimalSeparator(char separator) { separatorSetting = separator; }

uint8_t gpsRenderingMode() { return gpsModeSetting; }
void setGpsRenderingMode(uint8_t mode) { gpsModeSetting = mode; }

bool formatterExpansion() { return expansionSetting; }
void setFormatterExpansion(bool expanded) { expansionSetting = expanded; }

}  // namespace vistado
