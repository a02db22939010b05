#pragma once

#include "net/uithread.h"

class QObject;

namespace vistado {

// The window's user-interface thread for its download components: a worker's call is
// queued to `context` and runs when the window next processes its events.
net::UiThread qtUiThread(QObject* context);

}  // namespace vistado
