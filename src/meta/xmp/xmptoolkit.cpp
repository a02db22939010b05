#include "meta/xmp/xmptoolkit.h"

#include "meta/xmp/xmplocation.h"

#include <exempi/xmp.h>

#include <mutex>
#include <stdexcept>

namespace vistado {

void startXmpToolkit()
{
    static std::once_flag started;
    std::call_once(started, [] {
        if (!xmp_init())
            throw std::runtime_error("the XMP toolkit does not start");
        for (const XmpNamespace& ns : kXmpLocationNamespaces)
            xmp_register_namespace(ns.uri, ns.prefix, nullptr);
    });
}

}  // namespace vistado
