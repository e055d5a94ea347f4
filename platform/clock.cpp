#include "platform/clock.h"

#include <QDateTime>
#include <cmath>

namespace riz {
namespace {
bool g_fixed = false;
TDateTime g_now = 0;
} // namespace

TDateTime Clock::Now()
{
    if (g_fixed)
        return g_now;
    return FromQDateTime(QDateTime::currentDateTime());
}

TDateTime Clock::Today()
{
    return std::trunc(Now());
}

std::int64_t Clock::UnixTime()
{
    if (g_fixed)
        return ToQDateTime(g_now).toSecsSinceEpoch();
    return QDateTime::currentSecsSinceEpoch();
}

void Clock::SetNow(TDateTime fixed)
{
    g_fixed = true;
    g_now = fixed;
}

void Clock::Advance(double days)
{
    if (g_fixed)
        g_now += days;
}

void Clock::Reset()
{
    g_fixed = false;
}

bool Clock::IsFixed()
{
    return g_fixed;
}

} // namespace riz
