#include <windows.h>

#include "launch/clock.h"

namespace launcher {

LocalTime SystemClock::Now() const {
    // The system's own time zone: the C runtime would read TZ, which many
    // Unix-like shells on Windows set to names it does not know, and take
    // UTC for them.
    SYSTEMTIME local{};
    GetLocalTime(&local);
    return {local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute};
}

}  // namespace launcher
