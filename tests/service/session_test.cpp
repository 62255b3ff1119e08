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

// The caller is told in words why the answer cannot be read, and no half-parsed tree is left.
TEST_P(LoadXmlMalformedTest, RaisesTheParserErrorAndLeavesNoDocument)
{
    Troot session("http://127.0.0.1:1", "http://127.0.0.1:1/init.xml");
    session.loadXml("<StrikoraData><UserID>1</UserID></StrikoraData>");
    try {
        session.loadXml(GetParam().text);
        ADD_FAILURE() << "no error raised";
    } catch (const EXmlError &error) {
        EXPECT_NE(error.message().find(GetParam().inMessage), std::string::npos) << error.message();
    }
    EXPECT_TRUE(session.xml.document_element().empty());
}

INSTANTIATE_TEST_SUITE_P(Texts, LoadXmlMalformedTest,
                         ::testing::Values(MalformedCase{"", "sent an empty answer"},
                                           MalformedCase{" \r\n", "sent an empty answer"},
                                           MalformedCase{"<a><b></a>", "could not be read"},
                                           MalformedCase{"<a>unclosed", "not well-formed XML"},
                                           MalformedCase{"plain text", "could not be read"}));

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
