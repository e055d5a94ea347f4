#pragma once

#include "platform/datetime.h"

#include <cstdint>

namespace riz {

// The one source of "now". Tests fix it; nothing else reads the system clock.
class Clock final
{
public:
    static TDateTime Now();          // local date and time
    static TDateTime Today();        // local date, time 0
    static std::int64_t UnixTime();  // seconds since 1970-01-01 UTC

    static void SetNow(TDateTime fixed); // fixes Now() until Reset()
    static void Advance(double days);    // moves a fixed clock on
    static void Reset();
    static bool IsFixed();
};

} // namespace riz
