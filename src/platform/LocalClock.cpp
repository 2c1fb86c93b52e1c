#include "platform/LocalClock.h"

#include <ctime>

namespace dolvane {

DateTime LocalClock::Now() const
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    std::tm local{};
    ::localtime_r(&now.tv_sec, &local);
    // Local time as the user reads it: the day count carries no zone, so none is applied.
    return EncodeDateTime(DateTimeParts{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                                        local.tm_min, local.tm_sec, static_cast<int>(now.tv_nsec / 1'000'000)});
}

}  // namespace dolvane
