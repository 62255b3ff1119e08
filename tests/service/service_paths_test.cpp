#include "service/service_paths.h"

#include <gtest/gtest.h>

namespace {

TEST(ServicePaths, SpellEveryRequest)
{
    const struct
    {
        kstring path;
        const char *expected;
    } cases[] = {
        {servicePaths::menu(), "/Common/menu.asp?outputType=XML"},
        {servicePaths::login("demo", "demo"),
         "default.asp?outputType=XML&actionType=login&loginType=VNTQ&loginname=demo"
         "&readonlypassword=demo"},
        {servicePaths::liveAddMatch(123),
         "live.asp?outputType=XML&actionType=addMatch&matchID=123"},
        {servicePaths::liveDeleteMatch(-4),
         "live.asp?outputType=XML&actionType=deleteMatch&matchID=-4"},
        {servicePaths::liveViewNew(), "live.asp?outputType=XML&actionType=viewNew"},
        {servicePaths::teamMatches(77), "matches.asp?outputType=XML&actionType=view&teamID=77"},
        {servicePaths::search(), "search.asp"},
        {servicePaths::club(), "club.asp?outputType=XML&actionType=view"},
        {servicePaths::players(), "players.asp?outputType=XML&actionType=view"},
        {servicePaths::teamDetails(), "teamDetails.asp?outputType=XML&actionType=view"},
        {servicePaths::leagueDetails(), "leagueDetails.asp?outputType=XML&actionType=view"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.path, c.expected);
}

TEST(ServicePaths, TeamDocumentsComeInDownloadOrder)
{
    const auto docs = servicePaths::teamDocuments();
    EXPECT_EQ(docs[0], servicePaths::club());
    EXPECT_EQ(docs[1], servicePaths::players());
    EXPECT_EQ(docs[2], servicePaths::teamDetails());
    EXPECT_EQ(docs[3], servicePaths::leagueDetails());
}

TEST(ServicePaths, LoginValuesCannotChangeTheQuery)
{
    EXPECT_EQ(servicePaths::login("a&b=c", "x #+%y"),
              "default.asp?outputType=XML&actionType=login&loginType=VNTQ&loginname=a%26b%3Dc"
              "&readonlypassword=x%20%23%2B%25y");
    // UTF-8 bytes are encoded one by one.
    EXPECT_EQ(servicePaths::percentEncode("Malm\xc3\xb6"), "Malm%C3%B6");
    EXPECT_EQ(servicePaths::percentEncode("A-z_0.9~"), "A-z_0.9~");
}

TEST(ServicePaths, SearchFormFields)
{
    EXPECT_EQ(servicePaths::searchTeamById(42),
              (std::vector<kstring>{"outputType=XML", "actionType=view", "searchWhat=team",
                                    "teamID=42"}));
    EXPECT_EQ(servicePaths::searchTeamByName("FC A&B").back(), "teamName=FC%20A%26B");
}

} // namespace
