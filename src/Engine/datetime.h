#pragma once

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
// The calendar date and time of day, rounded to the millisecond.
DateTimeParts decodeDateTime(TDateTime moment);
// The local date and time of now, to the millisecond.
TDateTime nowDateTime();
