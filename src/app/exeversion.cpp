#include "app/exeversion.h"

namespace vistado {

std::string ExeVersionText()
{
    return VISTADO_VERSION;
}

}  // namespace vistado
