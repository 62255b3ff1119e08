#include "live_test_support.h"

#include "Engine/errors.h"

namespace {

// Lions (10) at home, Tigers (20) away; the subject is player 7 of the team given.
class RenderTest : public ::testing::Test
{
protected:
    LiveMatch match;

    void SetUp() override
    {
        match.Home.TeamID = 10;
        match.Away.TeamID = 20;
    }

    static Event event(const std::string &text, const std::string &key = "0", int subjectTeam = 10)
    {
        Event e;
        e.Minute = 12;
        e.SubjectPlayerID = 7;
        e.SubjectTeamID = subjectTeam;
        e.ObjectPlayerID = 8;
        e.EventKey = key;
        e.EventText = text;
        return e;
    }

    std::string render(Event &e)
    {
        RecordingSink sink;
        match.renderEvent(e, sink);
        return sink.text;
    }
};

std::string link(int player, const std::string &name)
{
    return "<a href=\"playerDetails.asp?playerID=" + std::to_string(player) + "\">" + name + "</a>";
}

struct TextCase
{
    const char *text;
    const char *line;
};

TEST_F(RenderTest, RemovesLineTokensWithoutReplacement)
{
    const TextCase cases[] = {
        {"A&nbsp;B<br>C", "(12)   ABC\n"},
        {"a<BR>b</BR>c<BR />d<br>e</br>f<br />g", "(12)   abcdefg\n"},
        {"&nb&nbsp;sp;x", "(12)   x\n"},
        // The upper-case breaks are gone before the lower-case ones are cut.
        {"<B<br>R>", "(12)   <BR>\n"},
        {"<br", "(12)   <br\n"},
        {"", "(12)   \n"},
    };
    for (const TextCase &c : cases) {
        Event e = event(c.text);
        EXPECT_EQ(render(e), c.line) << "text '" << c.text << "'";
    }
}

TEST_F(RenderTest, GameRulesLinkIsPlainText)
{
    Event e = event("see <a href=\"gameRules.asp?playerID=7\">the rules</a> now", "0", 20);
    e.SubjectIsHome = true;
    e.ObjectIsHome = true;
    EXPECT_EQ(render(e), "(12)   see the rules now\n");
    EXPECT_FALSE(e.namesPlayer());
    EXPECT_TRUE(e.SubjectIsHome);
    EXPECT_TRUE(e.ObjectIsHome);
}

TEST_F(RenderTest, NameKeepsWordsWithSingleBlanks)
{
    const TextCase cases[] = {
        {"  John \t  Smith  ", "John Smith"},
        {"Smith", "Smith"},
        {"\n Zoë   Müller\r\n", "Zoë Müller"},
        {"   ", ""},
        {"", ""},
    };
    for (const TextCase &c : cases) {
        Event e = event(link(7, c.text));
        const std::string expected =
            *c.line ? "(12)   [" + std::string(c.line) + "@H]\n" : "(12)   \n";
        EXPECT_EQ(render(e), expected) << "name '" << c.text << "'";
        EXPECT_EQ(e.SubjectPlayerName, c.line);
    }
}

struct SideCase
{
    const char *key;
    int subjectTeam;
    const char *line;
    bool subjectIsHome;
    bool objectIsHome;
};

TEST_F(RenderTest, SubjectAndObjectNamesAndSides)
{
    const SideCase cases[] = {
        // A card: the other player is an opponent.
        {"510", 10, "(12)   [Smith@H] fouls [Jones@A]\n", true, false},
        {"510", 20, "(12)   [Smith@A] fouls [Jones@H]\n", false, true},
        // An injury, or an assisted chance: the other player is a teammate.
        {"93_1", 10, "(12)   [Smith@H] fouls [Jones@H]\n", true, true},
        {"237", 20, "(12)   [Smith@A] fouls [Jones@A]\n", false, false},
    };
    for (const SideCase &c : cases) {
        Event e = event(link(7, "Smith") + " fouls " + link(8, " Jones "), c.key, c.subjectTeam);
        EXPECT_EQ(render(e), c.line) << "key " << c.key;
        EXPECT_EQ(e.SubjectPlayerName, "Smith");
        EXPECT_EQ(e.ObjectPlayerName, "Jones");
        EXPECT_EQ(e.SubjectIsHome, c.subjectIsHome);
        EXPECT_EQ(e.ObjectIsHome, c.objectIsHome);
    }
}

TEST_F(RenderTest, LastOtherLinkNamesTheObject)
{
    Event e = event(link(3, "Ames") + ", " + link(4, "Bell") + " and " + link(7, "Cole"));
    EXPECT_EQ(render(e), "(12)   [Ames@A], [Bell@A] and [Cole@H]\n");
    EXPECT_EQ(e.ObjectPlayerName, "Bell");
    EXPECT_EQ(e.SubjectPlayerName, "Cole");
}

TEST_F(RenderTest, MalformedLinksEndTheLine)
{
    const TextCase cases[] = {
        // No closing tag: the link runs to the end of the text.
        {"x <a href=\"p.asp?playerID=7\">Smith", "(12)   x [Smith@H]\n"},
        {"x <a href=\"p.asp?playerID=7\">Smith</a", "(12)   x [Smith@H]\n"},
        // The opening tag never closes: no player can be read.
        {"x <a href=\"p.asp?playerID=7\"", "(12)   x \n"},
        {"x <a href", "(12)   x \n"},
        // No player number: the anchor text stays as plain text.
        {"<a href=\"team.asp?teamID=3\">Lions</a> win", "(12)   Lions win\n"},
        {"<a href=\"team.asp?teamID=3\">Lions", "(12)   Lions\n"},
        // No closing quote after the number.
        {"<a href=\"p.asp?playerID=7>Smith</a>!", "(12)   [Smith@H]!\n"},
        {"<A HREF=\"p.asp?playerID=7\">Smith</A> shoots", "(12)   [Smith@H] shoots\n"},
        // Both spellings in one text: each link is found in order.
        {"<A HREF=\"p.asp?playerID=7\">Smith</A> to <a href=\"p.asp?playerID=8\">Jones</a>",
         "(12)   [Smith@H] to [Jones@A]\n"},
        {"<a href=\"p.asp?playerID=7\">Smith</A> to <A HREF=\"p.asp?playerID=8\">Jones</a>",
         "(12)   [Smith@H] to [Jones@A]\n"},
    };
    for (const TextCase &c : cases) {
        Event e = event(c.text);
        EXPECT_EQ(render(e), c.line) << "text '" << c.text << "'";
    }
}

TEST_F(RenderTest, PlayerNumberThatIsNoIntegerRaises)
{
    for (const char *number : {"", "x7", "7 ", "12&x=1", "99999999999"}) {
        Event e = event("<a href=\"p.asp?playerID=" + std::string(number) + "\">Smith</a>");
        RecordingSink sink;
        EXPECT_THROW(match.renderEvent(e, sink), EConvertError) << "number '" << number << "'";
    }
}

TEST_F(RenderTest, NamesFollowTheCurrentText)
{
    Event e = event(link(7, "Smith") + " and " + link(8, "Jones"), "510");
    render(e);
    e.EventText = "Rain stops play";
    EXPECT_EQ(render(e), "(12)   Rain stops play\n");
    EXPECT_FALSE(e.namesPlayer());
    // Without a link the side flags stay as the last link left them.
    EXPECT_TRUE(e.SubjectIsHome);
    EXPECT_FALSE(e.ObjectIsHome);
}

} // namespace
