#include "ui/widgets/BusyLockWait.h"

#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>

namespace dolvane {

BusyLockWait::~BusyLockWait()
{
    Over();
}

void BusyLockWait::Pause(int milliseconds)
{
    if (!busy_) {
        busy_ = true;
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(milliseconds);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void BusyLockWait::Over()
{
    if (busy_) {
        busy_ = false;
        QGuiApplication::restoreOverrideCursor();
    }
}

}  // namespace dolvane
