#include "platform/datetime.h"

#include <cmath>
#include <cstdio>

namespace riz {
namespace {
constexpr double kMsecPerDay = 86400000.0;
using calendar::CivilFromDays;
using calendar::kEpochOffset;
} // namespace

bool IsLeapYear(int year)
{
    return calendar::IsLeapYear(year);
}

int DaysInMonth(int year, int month)
{
    return calendar::DaysInMonth(year, month);
}

bool IsValidDate(int year, int month, int day)
{
    return calendar::IsValidDate(year, month, day);
}

bool TryEncodeDate(int year, int month, int day, TDateTime& out)
{
    if (!IsValidDate(year, month, day))
        return false;
    out = calendar::DateValue(year, month, day);
    return true;
}

TDateTime EncodeDate(int year, int month, int day)
{
    TDateTime v = 0;
    if (!TryEncodeDate(year, month, day, v)) {
        char buf[96];
        std::snprintf(buf, sizeof buf, "Ungültiges Datum: %04d-%02d-%02d", year, month, day);
        throw EConvertError(buf);
    }
    return v;
}

TDateTime EncodeTime(int hour, int minute, int second, int msec)
{
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
        msec < 0 || msec > 999)
        throw EConvertError("Ungültige Uhrzeit");
    return (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + msec) / kMsecPerDay;
}

TDateTime EncodeDateTime(const DateTimeFields& f)
{
    const double date = EncodeDate(f.year, f.month, f.day);
    const double time = EncodeTime(f.hour, f.minute, f.second, f.msec);
    return date >= 0 ? date + time : date - time;
}

DateTimeFields DecodeDateTime(TDateTime value)
{
    DateTimeFields f;
    if (!std::isfinite(value))
        return f;
    double dayPart = std::trunc(value);
    double frac = std::fabs(value - dayPart);
    long long ms = std::llround(frac * kMsecPerDay);
    if (ms >= static_cast<long long>(kMsecPerDay)) {
        // Rounding reached midnight of the next day.
        ms -= static_cast<long long>(kMsecPerDay);
        dayPart += value >= 0 ? 1 : -1;
    }
    CivilFromDays(static_cast<long long>(dayPart) + kEpochOffset, f.year, f.month, f.day);
    f.hour = static_cast<int>(ms / 3600000);
    f.minute = static_cast<int>(ms / 60000 % 60);
    f.second = static_cast<int>(ms / 1000 % 60);
    f.msec = static_cast<int>(ms % 1000);
    return f;
}

int DayOfWeek(TDateTime value)
{
    const long long days = static_cast<long long>(std::trunc(value));
    // 1899-12-30 was a Saturday (7).
    long long r = ((days % 7) + 7 + 6) % 7; // 0 = Sunday
    return static_cast<int>(r) + 1;
}

TDateTime DateOf(TDateTime value)
{
    return std::trunc(value);
}

TDateTime TimeOf(TDateTime value)
{
    return std::fabs(value - std::trunc(value));
}

QDateTime ToQDateTime(TDateTime value)
{
    const DateTimeFields f = DecodeDateTime(value);
    return QDateTime(QDate(f.year, f.month, f.day), QTime(f.hour, f.minute, f.second, f.msec));
}

TDateTime FromQDateTime(const QDateTime& value)
{
    const QDate d = value.date();
    const QTime t = value.time();
    DateTimeFields f{d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), t.msec()};
    return EncodeDateTime(f);
}

std::string FormatShortDate(TDateTime value)
{
    const DateTimeFields f = DecodeDateTime(value);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", f.day, f.month, f.year);
    return buf;
}

std::string FormatLongTime(TDateTime value)
{
    const DateTimeFields f = DecodeDateTime(value);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", f.hour, f.minute, f.second);
    return buf;
}

std::string FormatShortDateTime(TDateTime value)
{
    return FormatShortDate(value) + " " + FormatLongTime(value);
}

std::string FormatIsoDateTime(TDateTime value)
{
    const DateTimeFields f = DecodeDateTime(value);
    char buf[48];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", f.year, f.month, f.day, f.hour,
                  f.minute, f.second);
    return buf;
}

bool TryParseShortDateTime(const std::string& text, TDateTime& out)
{
    int d = 0, m = 0, y = 0, hh = 0, nn = 0, ss = 0;
    char tail = 0;
    int n = std::sscanf(text.c_str(), "%d.%d.%d %d:%d:%d%c", &d, &m, &y, &hh, &nn, &ss, &tail);
    if (n < 3 || n == 4 || n == 7)
        return false;
    TDateTime date = 0;
    if (!TryEncodeDate(y, m, d, date))
        return false;
    if (hh < 0 || hh > 23 || nn < 0 || nn > 59 || ss < 0 || ss > 59)
        return false;
    out = date + EncodeTime(hh, nn, ss, 0);
    return true;
}

} // namespace riz
