#pragma once

#include <string>

// The program's date-time: days since 30 December 1899 as a double, the fraction being the
// time of day. Values are compared as numbers, exactly.
using TDateTime = double;

struct DateTimeParts
{
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};

// Whole days of a calendar date (proleptic Gregorian).
TDateTime encodeDate(int year, int month, int day);
// Fraction of a day for a time of day.
TDateTime encodeTime(int hour, int minute, int second, int millisecond = 0);
TDateTime encodeDateTime(const DateTimeParts &parts);
// The span a four-digit date text can show: 0001-01-01 00:00 up to (not including)
// 10000-01-01 00:00.
constexpr TDateTime firstDateTime = -693593.0;
constexpr TDateTime endDateTime = 2958466.0;
// Finite and inside that span, once rounded to the millisecond.
bool isShowableDateTime(TDateTime moment);
// The calendar date and time of day, rounded to the millisecond. ERangeError for a moment
// that is not showable (also NaN and the infinities).
DateTimeParts decodeDateTime(TDateTime moment);
// The local date and time of now, to the millisecond.
TDateTime nowDateTime();
// Locale-neutral texts: the ISO date "2026-12-11" and the 24-hour time "14:02:05".
std::string dateText(const DateTimeParts &parts);
std::string timeText(const DateTimeParts &parts);
