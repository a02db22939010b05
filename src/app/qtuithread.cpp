#include "app/qtuithread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>

#include <utility>

namespace vistado {

net::UiThread qtUiThread(QObject* context)
{
    return {
        [context](std::function<void()> call) {
            QMetaObject::invokeMethod(context, std::move(call), Qt::QueuedConnection);
        },
        [] { QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents); },
    };
}

}  // namespace vistado
