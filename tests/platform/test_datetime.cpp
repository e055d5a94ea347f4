#include "platform/clock.h"
#include "platform/datetime.h"
#include "platform/ezkerror.h"
#include "platform/strings.h"
#include "platform/trace.h"

#include <gtest/gtest.h>

using namespace riz;

TEST(DateTime, CalendarAnchors)
{
    struct Case
    {
        int y, m, d;
        double value;
    } cases[] = {
        {1899, 12, 30, 0}, {1899, 12, 31, 1}, {1900, 1, 1, 2}, {1899, 12, 29, -1},
        {2000, 2, 29, 36585}, {2001, 5, 17, 37028}, {1970, 1, 1, 25569},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EncodeDate(c.y, c.m, c.d), c.value) << c.y << "-" << c.m << "-" << c.d;
        const DateTimeFields f = DecodeDateTime(c.value);
        EXPECT_EQ(f.year, c.y);
        EXPECT_EQ(f.month, c.m);
        EXPECT_EQ(f.day, c.d);
    }
    EXPECT_THROW(EncodeDate(2001, 2, 29), EConvertError);
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_EQ(DayOfWeek(EncodeDate(2026, 12, 11)), 6); // a Friday
}

TEST(DateTime, TimeFractionAndNegativeValues)
{
    DateTimeFields f{2001, 5, 17, 14, 3, 9, 500};
    const double v = EncodeDateTime(f);
    const DateTimeFields back = DecodeDateTime(v);
    EXPECT_EQ(back.hour, 14);
    EXPECT_EQ(back.minute, 3);
    EXPECT_EQ(back.second, 9);
    EXPECT_EQ(back.msec, 500);
    // Before day 0 the fraction's absolute value is the time: -1.25 is 1899-12-29 06:00.
    const DateTimeFields n = DecodeDateTime(-1.25);
    EXPECT_EQ(n.day, 29);
    EXPECT_EQ(n.hour, 6);
    // 23:59:59.9996 rounds to midnight of the next day.
    const DateTimeFields r = DecodeDateTime(37028.0 + 86399.9996 / 86400.0);
    EXPECT_EQ(r.day, 18);
    EXPECT_EQ(r.hour, 0);
    EXPECT_EQ(FormatShortDateTime(v), "17.05.2001 14:03:09");
    EXPECT_EQ(FormatIsoDateTime(v), "2001-05-17 14:03:09");
    double parsed = 0;
    EXPECT_TRUE(TryParseShortDateTime("17.05.2001 14:03", parsed));
    EXPECT_NEAR(parsed, EncodeDate(2001, 5, 17) + EncodeTime(14, 3, 0, 0), 1e-9);
    EXPECT_FALSE(TryParseShortDateTime("31.02.2001", parsed));
    EXPECT_FALSE(TryParseShortDateTime("gestern", parsed));
}

TEST(DateTime, QDateTimeRoundTrip)
{
    const QDateTime q(QDate(2024, 2, 29), QTime(23, 59, 58, 123));
    EXPECT_EQ(ToQDateTime(FromQDateTime(q)), q);
}

TEST(Clock, FixedClockDrivesTraceLine)
{
    Clock::SetNow(EncodeDate(2026, 12, 11) + EncodeTime(9, 5, 0, 0));
    EXPECT_EQ(TraceLine("THttpCom"), "[11.12.2026 09:05:00] THttpCom");
    Clock::Advance(1.0);
    EXPECT_EQ(Clock::Today(), EncodeDate(2026, 12, 12));
    Clock::Reset();
    EXPECT_FALSE(Clock::IsFixed());
}

TEST(EZKError, MessageText)
{
    EZKError e(19001, 3, "50499");
    EXPECT_EQ(std::string(e.what()),
              "\nZK exception\n- Code: 19001\n- Description: " + LoadStr(19001) +
                  "\n- Detail Number: 3\n- Detail String: 50499");
    EXPECT_FALSE(LoadStr(19001).empty());
}
