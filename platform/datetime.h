#pragma once

#include "platform/calendar.h"

#include <QDateTime>
#include <string>

namespace riz {

// A date-time is a double counting days since 1899-12-30; the fraction is the time of day.
// For values below zero the integer part is the date and the fraction's absolute value the time.
using TDateTime = double;

struct DateTimeFields
{
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int msec = 0;
};

bool IsValidDate(int year, int month, int day);
bool TryEncodeDate(int year, int month, int day, TDateTime& out);
TDateTime EncodeDate(int year, int month, int day); // throws EConvertError
TDateTime EncodeTime(int hour, int minute, int second, int msec); // throws EConvertError
TDateTime EncodeDateTime(const DateTimeFields& f); // throws EConvertError
DateTimeFields DecodeDateTime(TDateTime value);
int DayOfWeek(TDateTime value); // 1 = Sunday ... 7 = Saturday
int DaysInMonth(int year, int month);
bool IsLeapYear(int year);

// Whole days of the value (the date part).
TDateTime DateOf(TDateTime value);
TDateTime TimeOf(TDateTime value);

QDateTime ToQDateTime(TDateTime value);
TDateTime FromQDateTime(const QDateTime& value);

// "dd.mm.yyyy", "hh:nn:ss", "dd.mm.yyyy hh:nn:ss" (the German short date and long time).
std::string FormatShortDate(TDateTime value);
std::string FormatLongTime(TDateTime value);
std::string FormatShortDateTime(TDateTime value);
// "yyyy-mm-dd hh:nn:ss", the form of date-times in the service protocol.
std::string FormatIsoDateTime(TDateTime value);
// Reads "dd.mm.yyyy" optionally followed by " hh:nn[:ss]"; false when it is not a date.
bool TryParseShortDateTime(const std::string& text, TDateTime& out);

} // namespace riz
