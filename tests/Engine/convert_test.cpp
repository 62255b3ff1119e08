#include "Engine/convert.h"
#include "Engine/errors.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace {

TEST(ToInt, TakesOnlyAWholeDecimalNumber)
{
    const struct
    {
        const char *text;
        int value;
    } good[] = {{"0", 0},
                {"42", 42},
                {"-7", -7},
                {"+5", 5},
                {"007", 7},
                {"-0", 0},
                {"2147483647", INT_MAX},
                {"-2147483648", INT_MIN}};
    for (const auto &c : good)
        EXPECT_EQ(toInt(c.text), c.value) << c.text;

    for (const char *bad : {"", " 1", "1 ", "1-2", "12a", "0x10", "--1", "+-1", "+", "-",
                            "2147483648", "-2147483649", "1.0", "1e3"})
        EXPECT_THROW(toInt(bad), EConvertError) << "'" << bad << "'";
}

TEST(ToInt, TheMessageNamesTheText)
{
    try {
        toInt("12a");
        FAIL() << "no error";
    } catch (const EConvertError &e) {
        EXPECT_NE(std::string(e.what()).find("'12a'"), std::string::npos) << e.what();
    }
}

TEST(ToInt64, CoversTheLongRange)
{
    EXPECT_EQ(toInt64("9223372036854775807"), LLONG_MAX);
    EXPECT_EQ(toInt64("-5000000000"), -5000000000LL);
    EXPECT_THROW(toInt64("9223372036854775808"), EConvertError);
    EXPECT_THROW(toInt64(""), EConvertError);
}

TEST(ToDouble, AcceptsDecimalNumbersOnly)
{
    EXPECT_DOUBLE_EQ(toDouble("2.5"), 2.5);
    EXPECT_DOUBLE_EQ(toDouble("-0.1"), -0.1);
    EXPECT_DOUBLE_EQ(toDouble("+3"), 3.0);
    EXPECT_DOUBLE_EQ(toDouble("1e3"), 1000.0);
    for (const char *bad : {"", "1,5", " 1", "abc", "1.2.3", "inf", "nan", "+-1", "1e999"})
        EXPECT_THROW(toDouble(bad), EConvertError) << "'" << bad << "'";
}

TEST(FloatToStr, UsesFixedNotationWithinFifteenDigits)
{
    const struct
    {
        double value;
        const char *text;
    } cases[] = {
        {3.0, "3"},
        {2.5, "2.5"},
        {0.1, "0.1"},
        {-0.25, "-0.25"},
        {0.0, "0"},
        {100.0, "100"},
        {123456789012345.0, "123456789012345"},
        {0.00001, "0.00001"},
        {1.0 / 3.0, "0.333333333333333"},
        {2.0 / 3.0, "0.666666666666667"},
        {1e15, "1E15"},
        {1e20, "1E20"},
        {-1.5e20, "-1.5E20"},
        {0.000001, "1E-6"},
        {1.25e-7, "1.25E-7"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(floatToStr(c.value), c.text) << c.value;
}

} // namespace
