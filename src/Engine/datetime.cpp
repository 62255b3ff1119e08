#include "Engine/datetime.h"

#include "Engine/errors.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <string>

namespace {

constexpr long long msPerDay = 24LL * 60 * 60 * 1000;
// 1899-12-30 counted in days from 1970-01-01.
constexpr long long epochShift = -25569;

// Days from 1970-01-01 of a civil date (H. Hinnant's algorithm).
long long daysFromCivil(long long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + (long long)doe - 719468;
}

void civilFromDays(long long z, int &year, int &month, int &day)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = unsigned(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long y = (long long)yoe + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = int(doy - (153 * mp + 2) / 5 + 1);
    month = int(mp < 10 ? mp + 3 : mp - 9);
    year = int(y + (month <= 2));
}

} // namespace

TDateTime encodeDate(int year, int month, int day)
{
    return double(daysFromCivil(year, unsigned(month), unsigned(day)) - epochShift);
}

TDateTime encodeTime(int hour, int minute, int second, int millisecond)
{
    const long long ms = ((hour * 60LL + minute) * 60 + second) * 1000 + millisecond;
    return double(ms) / double(msPerDay);
}

TDateTime encodeDateTime(const DateTimeParts &p)
{
    return encodeDate(p.year, p.month, p.day) +
           encodeTime(p.hour, p.minute, p.second, p.millisecond);
}

bool isShowableDateTime(TDateTime moment)
{
    // Rounding to the millisecond may carry the last instant of 9999 into the year 10000.
    constexpr double halfMs = 0.5 / double(msPerDay);
    return moment >= firstDateTime && moment < endDateTime - halfMs; // false for NaN too
}

DateTimeParts decodeDateTime(TDateTime moment)
{
    if (!isShowableDateTime(moment))
        throw ERangeError("The moment " + std::to_string(moment) +
                          " is outside the dates from 0001-01-01 to 9999-12-31.");
    // Before 1899-12-30 the fraction still counts forwards from midnight of its day.
    const double days = std::floor(moment);
    long long ms = std::llround((moment - days) * double(msPerDay));
    long long whole = (long long)days;
    if (ms >= msPerDay) {
        ms -= msPerDay;
        ++whole;
    }
    DateTimeParts p;
    civilFromDays(whole + epochShift, p.year, p.month, p.day);
    p.millisecond = int(ms % 1000);
    p.second = int(ms / 1000 % 60);
    p.minute = int(ms / 60000 % 60);
    p.hour = int(ms / 3600000);
    return p;
}

TDateTime nowDateTime()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t t = system_clock::to_time_t(now);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &t);
#else
    localtime_r(&t, &local);
#endif
    const int ms = int(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
    return encodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
           encodeTime(local.tm_hour, local.tm_min, local.tm_sec, ms);
}

std::string dateText(const DateTimeParts &parts)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", parts.year, parts.month, parts.day);
    return buffer;
}

std::string timeText(const DateTimeParts &parts)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", parts.hour, parts.minute, parts.second);
    return buffer;
}
