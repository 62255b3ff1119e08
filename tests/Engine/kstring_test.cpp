#include "Engine/kstring.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

struct TokenCase
{
    const char *text;
    const char *separator;
    int index;
    const char *expected;
};

class TokenTest : public ::testing::TestWithParam<TokenCase>
{
};

TEST_P(TokenTest, PicksTheNumberedToken)
{
    const TokenCase &c = GetParam();
    EXPECT_EQ(kstring(c.text).token(c.separator, c.index), c.expected)
        << "text '" << c.text << "' separator '" << c.separator << "' index " << c.index;
}

INSTANTIATE_TEST_SUITE_P(
    Tokens, TokenTest,
    ::testing::Values(TokenCase{"0.1.7", ".", 1, "0"}, TokenCase{"0.1.7", ".", 2, "1"},
                      TokenCase{"0.1.7", ".", 3, "7"}, TokenCase{"0.1.7", ".", 4, ""},
                      TokenCase{"0.5", ".", 3, ""}, TokenCase{"a..b", ".", 1, "a"},
                      TokenCase{"a..b", ".", 2, ""}, TokenCase{"a..b", ".", 3, "b"},
                      TokenCase{"a,b,c", ",", 0, ""}, TokenCase{"a,b,c", ",", -3, ""},
                      TokenCase{"a,b,c", ",", 3, "c"}, TokenCase{"a,b,c", ",", 4, ""},
                      TokenCase{"a,b,c", ",", 9, ""}, TokenCase{"", ".", 1, ""},
                      TokenCase{"x - y - z", " - ", 2, "y"}, TokenCase{"x - y - z", " - ", 3, "z"},
                      TokenCase{"x - y - z", " - ", 4, ""}, TokenCase{"abc", "", 1, ""},
                      TokenCase{"abc", "", 2, ""},
                      TokenCase{"no separator", ";", 1, "no separator"},
                      TokenCase{"trailing.", ".", 2, ""}));

TEST(KstringSplit, TakesTheFirstTwoTokensOnly)
{
    kstring first, second;
    kstring("k=v=w").split("=", first, second);
    EXPECT_EQ(first, "k");
    EXPECT_EQ(second, "v");
    kstring("whole").split("=", first, second);
    EXPECT_EQ(first, "whole");
    EXPECT_EQ(second, "");
}

struct PartCase
{
    int first, last;
    const char *expected;
};

class PartTest : public ::testing::TestWithParam<PartCase>
{
};

TEST_P(PartTest, TakesTheInclusiveRange)
{
    const PartCase &c = GetParam();
    EXPECT_EQ(kstring("abcdef").part(c.first, c.last), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Parts, PartTest,
                         ::testing::Values(PartCase{2, 4, "cde"}, PartCase{3, 2, ""},
                                           PartCase{6, 8, ""}, PartCase{4, 100, "ef"},
                                           PartCase{0, 5, "abcdef"},
                                           // a negative length runs to the end
                                           PartCase{2, -5, "cdef"}));

TEST(KstringPart, BeyondTheEndRaisesOutOfRange)
{
    EXPECT_THROW(kstring("abcdef").part(7, 8), std::out_of_range);
    EXPECT_THROW(kstring("abcdef").part(-1, 2), std::out_of_range);
}

struct EditCase
{
    const char *text;
    const char *what;
    const char *with; // null: cut
    int count;
    const char *result;
};

class EditTest : public ::testing::TestWithParam<EditCase>
{
};

TEST_P(EditTest, CountsAndEdits)
{
    const EditCase &c = GetParam();
    kstring text(c.text);
    const int count = c.with ? text.replaceSubstr(c.what, c.with) : text.cut(c.what);
    EXPECT_EQ(count, c.count);
    EXPECT_EQ(text, c.result);
}

INSTANTIATE_TEST_SUITE_P(
    Edits, EditTest,
    ::testing::Values(EditCase{"a&nbsp;b&nbsp;c&nbsp;", "&nbsp;", nullptr, 3, "abc"},
                      // an occurrence formed by joining the text around a removed one goes too
                      EditCase{"aabb", "ab", nullptr, 2, ""},
                      EditCase{"abc", "x", nullptr, 0, "abc"},
                      EditCase{"abc", "", nullptr, 0, "abc"},
                      EditCase{"2005-03-01 12:34:56", ":", "-", 2, "2005-03-01 12-34-56"},
                      EditCase{"aa", "a", "aa", 2, "aaaa"}, EditCase{"aaa", "aa", "b", 1, "ba"},
                      EditCase{"abc", "", "x", 0, "abc"}, EditCase{"abc", "z", "y", 0, "abc"},
                      EditCase{"<b>x</b>", "<b>", "", 1, "x</b>"}));

TEST(KstringConstruction, CopiesUpToTheFirstNul)
{
    const std::string withNul("ab\0cd", 5);
    EXPECT_EQ(kstring(withNul), "ab");
    EXPECT_EQ(kstring(static_cast<const char *>(nullptr)), "");
    EXPECT_EQ(kstring(std::wstring(L"Malm\u00f6")), "Malm\xc3\xb6");
    EXPECT_EQ(kstring(std::wstring(L"x\0y", 3)), "x");
}

TEST(KstringConstruction, CopiesAreIndependent)
{
    kstring original("team");
    kstring copy(original);
    original.replaceSubstr("t", "st");
    original += "s";
    EXPECT_EQ(copy, "team");
    EXPECT_EQ(original, "steams");
}

TEST(KstringOperators, ConcatenationLeavesTheLeftSideUnchanged)
{
    const kstring left("Strikora");
    const kstring joined = left + "Key";
    EXPECT_EQ(joined, "StrikoraKey");
    EXPECT_EQ(left, "Strikora");
    kstring assigned;
    assigned = "text";
    EXPECT_EQ(assigned, "text");
}

} // namespace
