#include "app/exeversion.h"

std::string ExeVersionText()
{
    return VISTADO_VERSION;
}
