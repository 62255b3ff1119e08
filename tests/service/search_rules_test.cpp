#include "Engine/errors.h"
#include "service/match_search.h"
#include "service/team_search.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

// A match list in the service's shape from letters, one child each in order: F, U and O are
// matches FINISHED, UPCOMING and ONGOING with ids 1, 2, ... by position; N is a child that is
// no match.
std::string matchList(const std::string &letters)
{
    std::ostringstream xml;
    xml << "<StrikoraData><Team><TeamID>5</TeamID><MatchList>";
    int position = 0;
    for (char letter : letters) {
        ++position;
        if (letter == 'N') {
            xml << "<Note>not a match</Note>";
            continue;
        }
        const char *status = letter == 'F' ? "FINISHED" : letter == 'U' ? "UPCOMING" : "ONGOING";
        xml << "<Match><MatchID>" << position << "</MatchID><Status>" << status
            << "</Status><MatchDate>2024-01-0" << position << " 15:00</MatchDate>"
            << "<HomeTeam><HomeTeamName>Home " << position << "</HomeTeamName></HomeTeam>"
            << "<AwayTeam><AwayTeamName>Away " << position << "</AwayTeamName></AwayTeam></Match>";
    }
    xml << "</MatchList></Team></StrikoraData>";
    return xml.str();
}

std::vector<int> picked(const std::string &document, MatchPick pick)
{
    pugi::xml_document doc;
    EXPECT_TRUE(doc.load_string(document.c_str()));
    TSearchMatches found;
    pickMatches(doc, pick, found);
    std::vector<int> ids;
    for (const auto &entry : found) {
        EXPECT_EQ(entry.first, entry.second.id);
        ids.push_back(entry.first);
    }
    return ids;
}

struct PickCase
{
    const char *name;
    const char *letters;
    std::vector<int> recent, last, next;
};

class MatchPickRules : public ::testing::TestWithParam<PickCase>
{
};

TEST_P(MatchPickRules, KeepTheMatchesTheButtonAsksFor)
{
    const PickCase &c = GetParam();
    const std::string document = matchList(c.letters);
    EXPECT_EQ(picked(document, MatchPick::Recent), c.recent);
    EXPECT_EQ(picked(document, MatchPick::Last), c.last);
    EXPECT_EQ(picked(document, MatchPick::Next), c.next);
}

// The index counts every child, so a match after a non-match child is not the first one, and
// a non-match child does not become the previous match.
INSTANTIATE_TEST_SUITE_P(
    Lists, MatchPickRules,
    ::testing::Values(
        PickCase{"finished_finished_upcoming_upcoming", "FFUU", {1, 2, 3, 4}, {2}, {3}},
        PickCase{"first_upcoming", "UUU", {1, 2, 3}, {}, {1}},
        PickCase{"only_finished", "FFF", {1, 2, 3}, {}, {}},
        PickCase{"finished_then_ongoing_twice", "FOOU", {1, 2, 3, 4}, {1}, {2, 3}},
        PickCase{"non_match_between", "FNU", {1, 3}, {1}, {3}},
        PickCase{"non_match_first", "NU", {2}, {}, {}}, PickCase{"empty_list", "", {}, {}, {}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(MatchPick, ReadsEveryFieldAndOverwritesAnEntryOfTheSameId)
{
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(matchList("FU").c_str()));
    TSearchMatches found{{2, TSearchMatch{2, "old", "old", "old", "old"}},
                         {9, {9, "", "", "", ""}}};
    pickMatches(doc, MatchPick::Recent, found);
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found.at(2), (TSearchMatch{2, "Home 2", "Away 2", "2024-01-02 15:00", "UPCOMING"}));
    EXPECT_EQ(found.at(9).id, 9); // a match of an earlier press stays
}

TEST(MatchPick, DocumentsWithoutTheListFindNothingAndABadIdKeepsWhatCameBefore)
{
    for (const char *text : {"<StrikoraData/>", "<StrikoraData><Team/></StrikoraData>"}) {
        pugi::xml_document doc;
        ASSERT_TRUE(doc.load_string(text));
        TSearchMatches found;
        pickMatches(doc, MatchPick::Recent, found);
        EXPECT_TRUE(found.empty()) << text;
    }
    for (const char *badId : {"<MatchID>x7</MatchID>", ""}) {
        pugi::xml_document doc;
        const std::string text = "<R><Team><MatchList><Match><MatchID>4</MatchID></Match><Match>" +
                                 std::string(badId) + "</Match></MatchList></Team></R>";
        ASSERT_TRUE(doc.load_string(text.c_str()));
        TSearchMatches found;
        EXPECT_THROW(pickMatches(doc, MatchPick::Recent, found), EConvertError) << badId;
        EXPECT_EQ(found.size(), 1u);
        EXPECT_EQ(found.count(4), 1u);
    }
}

TEST(MatchPick, TheButtonNameChoosesTheRule)
{
    EXPECT_EQ(matchPickOf("btnRecent"), MatchPick::Recent);
    EXPECT_EQ(matchPickOf("btnLast"), MatchPick::Last);
    EXPECT_EQ(matchPickOf("btnNext"), MatchPick::Next);
    EXPECT_THROW(matchPickOf("btnSearchById"), ERangeError);
}

TEST(MatchById, ListsTheIdOnceAndLeavesAnEntryThatIsThere)
{
    TSearchMatches found{{7, TSearchMatch{7, "Home", "Away", "date", "FINISHED"}}};
    addMatchById(123456, found);
    addMatchById(123456, found);
    addMatchById(7, found);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found.at(123456), (TSearchMatch{123456, "", "", "", ""}));
    EXPECT_EQ(found.at(7).home, "Home");
}

TEST(MatchToFollow, ARunningMatchElseTheEarliestComingOne)
{
    const auto m = [](std::int32_t id, const char *date, const char *status) {
        return std::pair{id, TSearchMatch{id, "Lions", "Tigers", date, status}};
    };
    const struct
    {
        TSearchMatches next;
        std::int32_t chosen; // 0: none
    } rows[] = {
        {{}, 0},
        {{m(1, "2026-12-01 15:00:00", "FINISHED")}, 0},
        {{m(3, "2026-12-20 15:00:00", "UPCOMING"), m(4, "2026-12-13 15:00:00", "UPCOMING")}, 4},
        {{m(3, "2026-12-13 15:00:00", "UPCOMING"), m(9, "2026-12-11 15:00:00", "ONGOING")}, 9},
        {{m(5, "2026-12-13 15:00:00", "UPCOMING"), m(6, "2026-12-13 15:00:00", "UPCOMING")}, 5},
    };
    for (const auto &row : rows) {
        const TSearchMatch *chosen = matchToFollow(row.next);
        EXPECT_EQ(chosen ? chosen->id : 0, row.chosen);
    }
    EXPECT_EQ(matchTitle(m(1, "", "").second), "Lions - Tigers");
}

TEST(TeamSearch, TheFieldsInTheServicesOrder)
{
    using Fields = std::vector<kstring>;
    EXPECT_EQ(teamSearchFields({true, 42, "ignored"}),
              (Fields{"outputType=XML", "actionType=view", "searchWhat=team", "teamID=42"}));
    EXPECT_EQ(teamSearchFields({true, 0, ""}).back(), "teamID=0");
    // UTF-8 as typed, blanks included; encoded as a form value must be.
    EXPECT_EQ(teamSearchFields({false, 0, "Fc Mal\xC3\xB8 b"}).back(),
              "teamName=Fc%20Mal%C3%B8%20b");
}

TEST(TeamSearch, ReadsEveryResultOfEverySearchResultsBlock)
{
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string("<StrikoraData><SearchResults><Result><ResultID>3</ResultID>"
                                "<ResultName>Three</ResultName></Result><Other/>"
                                "<Result><ResultID>1</ResultID><ResultName>One</ResultName>"
                                "</Result></SearchResults><SearchResults><Result><ResultID>3"
                                "</ResultID><ResultName>Three again</ResultName></Result>"
                                "<Result><ResultID>8</ResultID></Result></SearchResults>"
                                "</StrikoraData>"));
    TFoundTeams found{{5, "earlier"}};
    readSearchResults(doc, found);
    EXPECT_EQ(found, (TFoundTeams{{1, "One"}, {3, "Three again"}, {5, "earlier"}, {8, ""}}));

    ASSERT_TRUE(doc.load_string("<R><SearchResults><Result><ResultID>2</ResultID></Result>"
                                "<Result><ResultID>two</ResultID></Result></SearchResults></R>"));
    TFoundTeams partial;
    EXPECT_THROW(readSearchResults(doc, partial), EConvertError);
    EXPECT_EQ(partial.count(2), 1u);
}

} // namespace
