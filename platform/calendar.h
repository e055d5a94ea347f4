#pragma once

// Calendar arithmetic shared by the date-time helpers and the protocol's value coding;
// header-only so that the protocol library stays free of other libraries of ours.

#include <stdexcept>

namespace riz {

// Raised for a text or calendar value that is not a valid date or number.
class EConvertError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

namespace calendar {

// Days from 1970-01-01 for a proleptic Gregorian date (H. Hinnant's algorithm).
constexpr long long DaysFromCivil(long long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

constexpr void CivilFromDays(long long z, int& y, int& m, int& d)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long yy = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yy + (m <= 2));
}

// Day 0 of the date-time type, 1899-12-30, counted from 1970-01-01.
constexpr long long kEpochOffset = DaysFromCivil(1899, 12, 30);

constexpr bool IsLeapYear(int year)
{
    return (year % 4 == 0) && (year % 100 != 0 || year % 400 == 0);
}

constexpr int DaysInMonth(int year, int month)
{
    constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return kDays[month - 1] + ((month == 2 && IsLeapYear(year)) ? 1 : 0);
}

constexpr bool IsValidDate(int year, int month, int day)
{
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInMonth(year, month);
}

// Days since 1899-12-30 of a valid date.
constexpr double DateValue(int year, int month, int day)
{
    return static_cast<double>(
        DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
        kEpochOffset);
}

} // namespace calendar
} // namespace riz
