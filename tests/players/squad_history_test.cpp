#include "Engine/datetime.h"
#include "players/history_loader.h"
#include "players/squad_history.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Listed
{
    int id, playmaking, form;
};

// A stored players document of team 7 at a day of December 2026, 18:00.
std::string squadAt(int day, std::initializer_list<Listed> players, const char *team = "Nord")
{
    std::string text = "<StrikoraData><FileName>players.xml</FileName><FetchedDate>2026-12-" +
                       std::string(day < 10 ? "0" : "") + std::to_string(day) +
                       " 18:00:00</FetchedDate><Team><TeamID>7</TeamID><TeamName>" + team +
                       "</TeamName><PlayerList>";
    for (const Listed &p : players)
        text += "<Player><PlayerID>" + std::to_string(p.id) + "</PlayerID><PlayerName>P" +
                std::to_string(p.id) + "</PlayerName><Age>20</Age><PlaymakerSkill>" +
                std::to_string(p.playmaking) + "</PlaymakerSkill><PlayerForm>" +
                std::to_string(p.form) + "</PlayerForm><InjuryLevel>-1</InjuryLevel></Player>";
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
        folder =
            fs::temp_directory_path() /
            ("squad_history_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
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
    using Files = std::vector<std::pair<std::string, std::string>>;
    const std::string broken = "<StrikoraData><Team>";
    const struct
    {
        const char *what;
        Files files;
        std::string one, two; // players 1 and 2 across the downloads
        std::size_t unreadable;
    } cases[] = {
        {"out of order, a name that lies about its moment",
         {{"players_1_2026-12-11 18-00-00.xml", squadAt(4, {{1, 5, 6}, {2, 3, 3}})},
          {"players_1_2026-12-04 18-00-00.xml", squadAt(11, {{1, 7, 6}, {2, 3, 3}})},
          {"players_1_2026-12-08 18-00-00.xml", squadAt(8, {{1, 6, 6}, {2, 4, 3}})}},
         "567",
         "343",
         0},
        {"the same moment twice",
         {{"players_1_2026-12-04 18-00-00.xml", squadAt(4, {{1, 5, 6}})},
          {"players_1_2026-12-04 18-00-00 copy.xml", squadAt(4, {{1, 5, 6}})},
          {"players_1_2026-12-11 18-00-00.xml", squadAt(11, {{1, 6, 6}, {2, 2, 2}})}},
         "56",
         "-2",
         0},
        {"one who leaves and comes back",
         {{"players_1_2026-12-04 18-00-00.xml", squadAt(4, {{1, 5, 6}, {2, 4, 4}})},
          {"players_1_2026-12-11 18-00-00.xml", squadAt(11, {{1, 5, 6}})},
          {"players_1_2026-12-18 18-00-00.xml", squadAt(18, {{1, 5, 6}, {2, 4, 4}})}},
         "555",
         "4-4",
         0},
        {"broken and foreign files among good ones",
         {{"players_1_2026-12-04 18-00-00.xml", squadAt(4, {{1, 5, 6}})},
          {"players_1_2026-12-09 18-00-00.xml", broken},
          {"players_1_2026-12-10 18-00-00.xml", "<StrikoraData><FileName>club.xml</FileName>"
                                                "</StrikoraData>"},
          {"club_1_2026-12-10 18-00-00.xml", squadAt(10, {{1, 9, 9}})},
          {"players_1_2026-12-11 18-00-00.xml", squadAt(11, {{1, 6, 6}, {2, 1, 1}})}},
         "56",
         "-1",
         2},
    };
    for (const auto &c : cases) {
        fs::remove_all(folder);
        fs::create_directories(folder);
        for (const auto &[name, content] : c.files)
            write(name, content);
        StoredHistory stored = HistoryLoader(folder).finish();
        ASSERT_EQ(stored.teams.size(), 1u) << c.what;
        const SquadHistory &history = stored.teams.at(7);
        EXPECT_EQ(playmakingAcross(history, 1), c.one) << c.what;
        EXPECT_EQ(playmakingAcross(history, 2), c.two) << c.what;
        EXPECT_EQ(stored.unreadable.size(), c.unreadable) << c.what;
        for (const auto &[name, content] : c.files)
            EXPECT_EQ(read(name), content) << c.what << ": " << name << " was changed";
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()),
                  std::ptrdiff_t(c.files.size()))
            << c.what;
    }
}

TEST_F(HistoryFolder, ComparesTwoDownloadsValueByValue)
{
    write("players_1_2026-12-04 18-00-00.xml",
          squadAt(4, {{1, 5, 7}, {2, 6, 6}, {4, 3, 3}}, "Nord"));
    write("players_1_2026-12-11 18-00-00.xml",
          squadAt(11, {{1, 6, 6}, {2, 6, 6}, {3, 2, 5}}, "Nord United"));
    const StoredHistory stored = HistoryLoader(folder).finish();
    const SquadHistory &history = *stored.team(7);
    EXPECT_EQ(history.downloadsNewestFirst(), (std::vector<TDateTime>{day(11), day(4)}));
    EXPECT_EQ(history.records.at(day(4)).name, "Nord");
    EXPECT_EQ(history.records.at(day(11)).name, "Nord United");

    const SquadComparison comparison = compareWithNewest(history, day(4));
    ASSERT_EQ(comparison.players.size(), 3u);
    const PlayerChanges &one = *comparison.of(1);
    ASSERT_EQ(one.changes.size(), 2u);
    const struct
    {
        HistoryField field;
        int was, now;
        ChangeSense sense;
        const char *tooltip;
    } expected[] = {
        {HistoryField::form, 7, 6, ChangeSense::worse, "was 7 (solid) on 2026-12-04"},
        {HistoryField::playmaking, 5, 6, ChangeSense::better, "was 5 (inadequate) on 2026-12-04"},
    };
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(one.changes[i].field, expected[i].field);
        EXPECT_EQ(one.changes[i].was, expected[i].was);
        EXPECT_EQ(one.changes[i].now, expected[i].now);
        EXPECT_EQ(senseOf(one.changes[i]), expected[i].sense);
        EXPECT_EQ(wasText(one.changes[i], comparison.earlier), expected[i].tooltip);
    }
    EXPECT_FALSE(comparison.of(2)->changed());
    EXPECT_TRUE(comparison.of(3)->joined);
    EXPECT_EQ(comparison.of(4), nullptr);
    ASSERT_EQ(comparison.left.size(), 1u);
    EXPECT_EQ(comparison.left[0].id, 4);
    EXPECT_EQ(comparison.left[0].name, "P4");

    const PlayerSeries series = seriesOf(history, 1);
    EXPECT_EQ(series.dates, (std::vector<TDateTime>{day(4), day(11)}));
    EXPECT_EQ(series.values[1][HistoryField::playmaking], 6);
    EXPECT_EQ(seriesOf(history, 4).dates, (std::vector<TDateTime>{day(4)}));
}

TEST(HistoryTexts, SayWhatAValueWasInItsOwnTerms)
{
    const struct
    {
        ValueChange change;
        ChangeSense sense;
        const char *tooltip;
    } cases[] = {
        {{HistoryField::injury, -1, 2}, ChangeSense::worse, "was not injured on 2026-12-04"},
        {{HistoryField::injury, 3, 1}, ChangeSense::better, "was 3 on 2026-12-04"},
        {{HistoryField::value, 1200, 1350}, ChangeSense::better, "was 1200 on 2026-12-04"},
        {{HistoryField::age, 20, 21}, ChangeSense::neutral, "was 20 on 2026-12-04"},
        {{HistoryField::scoring, -1, 7}, ChangeSense::neutral, "was unknown on 2026-12-04"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(senseOf(c.change), c.sense) << c.tooltip;
        EXPECT_EQ(wasText(c.change, day(4)), c.tooltip);
    }
    EXPECT_EQ(unreadableDocumentsNotice(2), "2 stored players documents could not be read");
}

TEST_F(HistoryFolder, AWorkerThreadReadsTheSameHistoryAndSaysWhenItIsDone)
{
    for (int d = 1; d <= 20; ++d)
        write("players_1_2026-12-" + std::string(d < 10 ? "0" : "") + std::to_string(d) +
                  " 18-00-00.xml",
              squadAt(d, {{1, d % 20 + 1, 5}, {d + 10, 3, 3}}));
    std::atomic<int> told{0};
    std::optional<StoredHistory> taken;
    {
        BackgroundHistoryLoad load(folder, [&] { ++told; });
        while (!load.ready())
            std::this_thread::yield();
        EXPECT_EQ(load.progress().done, 20u);
        taken = load.take();
        EXPECT_FALSE(load.take());
    }
    EXPECT_EQ(told, 1);
    ASSERT_TRUE(taken);
    const StoredHistory direct = HistoryLoader(folder).finish();
    EXPECT_EQ(taken->teams.at(7).downloads, direct.teams.at(7).downloads);
    EXPECT_EQ(seriesOf(taken->teams.at(7), 1).values, seriesOf(direct.teams.at(7), 1).values);
    EXPECT_EQ(taken->teams.at(7).players.size(), 21u);
    // Gone at once: the destructor stops the worker and waits for it (the sanitizers watch).
    {
        BackgroundHistoryLoad cancelled(folder);
    }
}

} // namespace
