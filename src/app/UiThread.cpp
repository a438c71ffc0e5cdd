#include "app/UiThread.h"

#include <QCoreApplication>
#include <QThread>

namespace pb {

bool onUiThread() {
    QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

void pumpUiEvents() {
    if (onUiThread()) QCoreApplication::processEvents(QEventLoop::AllEvents);
}

} // namespace pb
