#include "players/history_loader.h"
#include "players/squad_history.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Listed = std::array<int, 3>; // id, playmaking, form

std::string december(int day)
{
    return "2026-12-" + std::string(day < 10 ? "0" : "") + std::to_string(day);
}

// The name a download of that day stores its players document under.
std::string named(int day, const char *suffix = "")
{
    return "players_1_" + december(day) + " 18-00-00" + suffix + ".xml";
}

// A stored players document of team 7 at a day of December 2026, 18:00.
std::string squadAt(int day, std::initializer_list<Listed> players, const char *team = "Nord")
{
    std::string text = "<StrikoraData><FileName>players.xml</FileName><FetchedDate>" +
                       december(day) + " 18:00:00</FetchedDate><Team><TeamID>7</TeamID><TeamName>" +
                       team + "</TeamName><PlayerList>";
    for (const auto &[id, playmaking, form] : players)
        text += "<Player><PlayerID>" + std::to_string(id) + "</PlayerID><PlayerName>P" +
                std::to_string(id) + "</PlayerName><Age>20</Age><PlaymakerSkill>" +
                std::to_string(playmaking) + "</PlaymakerSkill><PlayerForm>" +
                std::to_string(form) + "</PlayerForm><InjuryLevel>-1</InjuryLevel></Player>";
    return text + "</PlayerList></Team></StrikoraData>";
}

TDateTime day(int d)
{
    return encodeDateTime({2026, 12, d, 18, 0, 0, 0});
}

class HistoryFolder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() /
                 ("squad_history_" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    void write(const std::string &name, const std::string &content)
    {
        std::ofstream(folder / name, std::ios::binary) << content;
    }
    std::string read(const std::string &name)
    {
        std::ifstream in(folder / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path folder;
};

// Each player's playmaking at every download of the history, "-" where he was not listed.
std::string playmakingAcross(const SquadHistory &history, int id)
{
    std::string across;
    for (TDateTime moment : history.downloads) {
        const PlayerValues *values = history.players.at(id).at(moment);
        across += values ? std::to_string((*values)[HistoryField::playmaking]) : "-";
    }
    return across;
}

TEST_F(HistoryFolder, MergesEveryReadableDownloadInTheOrderOfItsMoment)
{
    const struct
    {
        const char *what;
        std::vector<std::pair<std::string, std::string>> files;
        std::string one, two; // players 1 and 2 across the downloads
        std::size_t unreadable;
    } cases[] = {
        // clang-format off
        {"out of order, a name that lies about its moment",
         {{named(11), squadAt(4, {{1, 5, 6}, {2, 3, 3}})},
          {named(4), squadAt(11, {{1, 7, 6}, {2, 3, 3}})},
          {named(8), squadAt(8, {{1, 6, 6}, {2, 4, 3}})}}, "567", "343", 0},
        {"the same moment twice",
         {{named(4), squadAt(4, {{1, 5, 6}})}, {named(4, " copy"), squadAt(4, {{1, 5, 6}})},
          {named(11), squadAt(11, {{1, 6, 6}, {2, 2, 2}})}}, "56", "-2", 0},
        {"one who leaves and comes back",
         {{named(4), squadAt(4, {{1, 5, 6}, {2, 4, 4}})}, {named(11), squadAt(11, {{1, 5, 6}})},
          {named(18), squadAt(18, {{1, 5, 6}, {2, 4, 4}})}}, "555", "4-4", 0},
        {"broken and foreign files among good ones",
         {{named(4), squadAt(4, {{1, 5, 6}})}, {named(9), "<StrikoraData><Team>"},
          {named(10), "<StrikoraData><FileName>club.xml</FileName></StrikoraData>"},
          {"club_1_2026-12-10 18-00-00.xml", squadAt(10, {{1, 9, 9}})},
          {named(11), squadAt(11, {{1, 6, 6}, {2, 1, 1}})}}, "56", "-1", 2},
        // clang-format on
    };
    std::atomic<int> told{0};
    for (const auto &c : cases) {
        SetUp();
        for (const auto &[name, content] : c.files)
            write(name, content);
        const StoredHistory stored = HistoryLoader(folder).finish();
        const SquadHistory &history = stored.teams.at(7);
        EXPECT_EQ(playmakingAcross(history, 1), c.one) << c.what;
        EXPECT_EQ(playmakingAcross(history, 2), c.two) << c.what;
        EXPECT_EQ(stored.unreadable.size(), c.unreadable) << c.what;
        for (const auto &[name, content] : c.files) // nothing renamed, removed or written
            EXPECT_EQ(read(name), content) << c.what << ": " << name;
        // A worker thread reads the same, says once that it is done and hands over once.
        BackgroundHistoryLoad load(folder, [&] { ++told; });
        while (!load.ready())
            std::this_thread::yield();
        const std::optional<StoredHistory> background = load.take();
        ASSERT_TRUE(background && !load.take() && load.progress().done == load.progress().total);
        EXPECT_EQ(playmakingAcross(background->teams.at(7), 2), c.two) << c.what;
    }
    EXPECT_EQ(told, 4);
    // Gone at once: the destructor stops the worker and waits for it (the sanitizers watch).
    BackgroundHistoryLoad(folder).progress();
}

TEST_F(HistoryFolder, ComparesTwoDownloadsValueByValue)
{
    write(named(4), squadAt(4, {{1, 5, 7}, {2, 6, 6}, {4, 3, 3}}, "Nord"));
    write(named(11), squadAt(11, {{1, 6, 6}, {2, 6, 6}, {3, 2, 5}}, "Nord United"));
    const StoredHistory stored = HistoryLoader(folder).finish();
    const SquadHistory &history = *stored.team(7);
    EXPECT_EQ(history.downloadsNewestFirst(), (std::vector<TDateTime>{day(11), day(4)}));
    EXPECT_EQ(history.records.at(day(4)).name, "Nord");
    EXPECT_EQ(history.records.at(day(11)).name, "Nord United");

    const SquadComparison comparison = compareWithNewest(history, day(4));
    const PlayerChanges &one = *comparison.of(1);
    // The first two are player 1's changes; the rest say other values in their own terms.
    const struct
    {
        ValueChange change;
        ChangeSense sense;
        const char *tooltip;
    } expected[] = {
        {{HistoryField::form, 7, 6}, ChangeSense::worse, "was 7 (solid) on 2026-12-04"},
        {{HistoryField::playmaking, 5, 6}, ChangeSense::better, "was 5 (inadequate) on 2026-12-04"},
        {{HistoryField::injury, -1, 2}, ChangeSense::worse, "was not injured on 2026-12-04"},
        {{HistoryField::value, 1200, 1350}, ChangeSense::better, "was 1200 on 2026-12-04"},
        {{HistoryField::scoring, -1, 7}, ChangeSense::neutral, "was unknown on 2026-12-04"},
    };
    ASSERT_EQ(one.changes.size(), 2u);
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const ValueChange &c = i < 2 ? one.changes[i] : expected[i].change;
        EXPECT_TRUE(c == expected[i].change) << expected[i].tooltip;
        EXPECT_EQ(senseOf(c), expected[i].sense) << expected[i].tooltip;
        EXPECT_EQ(wasText(c, comparison.earlier), expected[i].tooltip);
    }
    EXPECT_FALSE(comparison.of(2)->changed());
    EXPECT_TRUE(comparison.of(3)->joined);
    ASSERT_EQ(comparison.left.size(), 1u);
    EXPECT_EQ(comparison.left[0].id, 4);
    EXPECT_EQ(comparison.left[0].name, "P4");

    const PlayerSeries series = seriesOf(history, 1);
    EXPECT_EQ(series.dates, (std::vector<TDateTime>{day(4), day(11)}));
    EXPECT_EQ(series.values[1][HistoryField::playmaking], 6);
    EXPECT_EQ(seriesOf(history, 4).dates, (std::vector<TDateTime>{day(4)}));
    EXPECT_EQ(unreadableDocumentsNotice(2), "2 stored players documents could not be read");
}

} // namespace
