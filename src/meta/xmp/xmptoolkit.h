#pragma once

namespace vistado {

// Starts the XMP toolkit (Exempi) once per process and registers the namespaces of the
// location properties, before the first packet is parsed or made. Safe to call from any
// thread, as often as wanted.
void startXmpToolkit();

}  // namespace vistado
