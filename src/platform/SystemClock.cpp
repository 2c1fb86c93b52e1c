#include "platform/SystemClock.h"

#include <QDateTime>

namespace dolvane {

DateTime SystemClock::Now() const
{
    // Local time as the user reads it: the day count carries no zone, so none is applied.
    const QDateTime now = QDateTime::currentDateTime();
    const QDate date = now.date();
    const QTime time = now.time();
    return EncodeDateTime(
        DateTimeParts{date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second(), time.msec()});
}

}  // namespace dolvane
