// The current local date and time, injected so tests can fix it.
#pragma once

namespace launcher {

struct LocalTime {
    int year = 0;
    int month = 0;   // 1..12
    int day = 0;     // 1..31
    int hour = 0;    // 0..23
    int minute = 0;  // 0..59

    bool operator==(const LocalTime&) const = default;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime Now() const = 0;
};

// The local date and time of the system clock and time zone: on Windows the
// system's own (GetLocalTime), whatever TZ says; elsewhere localtime_r's.
// system_clock_win32.cpp and system_clock_posix.cpp hold the two.
class SystemClock final : public Clock {
public:
    LocalTime Now() const override;
};

}  // namespace launcher
