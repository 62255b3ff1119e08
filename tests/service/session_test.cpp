#include "Engine/errors.h"
#include "service/session.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct MalformedCase
{
    const char *text;
    const char *inMessage;
};

class LoadXmlMalformedTest : public ::testing::TestWithParam<MalformedCase>
{
};

// The parser's description and offset reach the caller, and no half-parsed tree is left. The
// empty answer of a session that could not be opened is told in words instead.
TEST_P(LoadXmlMalformedTest, RaisesTheParserErrorAndLeavesNoDocument)
{
    Troot session("http://127.0.0.1:1", "http://127.0.0.1:1/init.xml");
    session.loadXml("<HattrickData><UserID>1</UserID></HattrickData>");
    try {
        session.loadXml(GetParam().text);
        ADD_FAILURE() << "no error raised";
    } catch (const EXmlError &error) {
        EXPECT_NE(error.message().find(GetParam().inMessage), std::string::npos) << error.message();
    }
    EXPECT_TRUE(session.xml.document_element().empty());
}

INSTANTIATE_TEST_SUITE_P(Texts, LoadXmlMalformedTest,
                         ::testing::Values(MalformedCase{"", "login was not accepted"},
                                           MalformedCase{" \r\n", "login was not accepted"},
                                           MalformedCase{"<a><b></a>", "offset 8"},
                                           MalformedCase{"<a>unclosed", "offset"},
                                           MalformedCase{"plain text", "offset"}));

TEST(LoadXml, ReplacesTheWholeDocument)
{
    Troot session;
    session.loadXml("<first><RecommendedURL>http://a</RecommendedURL></first>");
    session.loadXml("<second/>");
    EXPECT_STREQ(session.xml.document_element().name(), "second");
    EXPECT_STREQ(session.xml.document_element().child("RecommendedURL").text().get(), "");
}

TEST(CurrentTeam, IsNullWithoutTeamsAndOtherwiseTheSmallestIdKeptFromThen)
{
    Troot session;
    EXPECT_EQ(session.currentTeam(), nullptr);
    EXPECT_EQ(session.currentTeam(), nullptr);

    Team seven, three, one;
    session.teams = {{7, &seven}, {3, &three}};
    EXPECT_EQ(session.currentTeam(), &three);
    session.teams[1] = &one;
    EXPECT_EQ(session.currentTeam(), &three);
}

} // namespace
