#include "Engine/datetime.h"
#include "Engine/errors.h"
#include "Engine/history.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

History<std::string> springHistory()
{
    History<std::string> h;
    h.values[encodeDate(2005, 3, 1)] = "March";
    h.values[encodeDate(2005, 4, 1)] = "April";
    return h;
}

TEST(History, GivesTheLatestEntryAtOrBeforeTheMoment)
{
    auto h = springHistory();
    const struct
    {
        TDateTime moment;
        const char *expected;
    } cases[] = {
        {encodeDate(2005, 3, 1), "March"},
        {encodeDate(2005, 3, 15), "March"},
        {encodeDate(2005, 4, 1) - encodeTime(0, 0, 0, 1), "March"},
        {encodeDate(2005, 4, 1), "April"},
        {encodeDate(2005, 5, 20) + encodeTime(13, 0, 0), "April"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(h.at(c.moment), c.expected) << c.moment;
}

TEST(History, ASingleEntryHoldsFromItsMomentOn)
{
    History<int> h;
    h.values[encodeDate(2020, 1, 1)] = 7;
    EXPECT_EQ(h.at(encodeDate(2020, 1, 1)), 7);
    EXPECT_EQ(h.at(encodeDate(2030, 6, 1)), 7);
}

TEST(History, AMomentBeforeEveryEntryGivesTheEarliestValue)
{
    auto h = springHistory();
    EXPECT_EQ(h.at(encodeDate(2005, 2, 28)), "March");
    EXPECT_EQ(h.at(0), "March");
}

TEST(History, LookupReturnsTheStoredValueByReference)
{
    auto h = springHistory();
    h.at(encodeDate(2005, 3, 2)) = "Changed";
    EXPECT_EQ(h.values.begin()->second, "Changed");
}

TEST(HistoryDeathTest, AnEmptyHistoryStopsWithTheFailedExpression)
{
    History<int> empty;
    EXPECT_DEATH(empty.at(0), "!values.empty\\(\\)");
}

TEST(StartMoment, IsTheSameForTheWholeRunAndNotInTheFuture)
{
    const TDateTime first = startMoment();
    EXPECT_EQ(startMoment(), first);
    EXPECT_LE(first, nowDateTime() + encodeTime(0, 0, 1));
    EXPECT_GT(first, encodeDate(2020, 1, 1));
}

TEST(DateTime, EncodesAndDecodesTheCalendar)
{
    EXPECT_EQ(encodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(encodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(encodeDate(2005, 3, 1), 38412.0);
    const DateTimeParts parts{2024, 2, 29, 23, 59, 58, 999};
    const DateTimeParts back = decodeDateTime(encodeDateTime(parts));
    EXPECT_EQ(back.year, 2024);
    EXPECT_EQ(back.month, 2);
    EXPECT_EQ(back.day, 29);
    EXPECT_EQ(back.hour, 23);
    EXPECT_EQ(back.minute, 59);
    EXPECT_EQ(back.second, 58);
    EXPECT_EQ(back.millisecond, 999);
}

TEST(DateTime, MomentsNoDateTextCanShowRaise)
{
    EXPECT_EQ(decodeDateTime(firstDateTime).year, 1);
    EXPECT_EQ(decodeDateTime(endDateTime - 0.5).year, 9999);
    for (const double moment : {endDateTime, -693594.0, 1e19, -1e19, std::nan(""), HUGE_VAL})
        EXPECT_THROW(decodeDateTime(moment), ERangeError) << moment;
}

} // namespace
