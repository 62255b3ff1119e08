#include "live_test_support.h"

#include <climits>

namespace {

struct KeyCase
{
    const char *key;
    int number;
};

TEST(EventKeyNumber, ReadsLeadingNumberLikeAtol)
{
    const KeyCase cases[] = {
        {"105_3", 105},
        {"208", 208},
        {"  42_x", 42},
        {"\t\n 9", 9},
        {"+7", 7},
        {"-12_3", -12},
        {"12abc_5", 12},
        {"abc", 0},
        {"", 0},
        {"_105", 0},
        {"- 5", 0},
        {"0x1F", 0},
        {"007_1", 7},
        {"510_99_1", 510},
        {"99999999999", INT_MAX},
        {"-99999999999", INT_MIN},
    };
    for (const KeyCase &c : cases)
        EXPECT_EQ(eventWithKey(c.key).keyNumber(), c.number) << "key '" << c.key << "'";
}

struct CaptionCase
{
    int key;
    const char *caption;
};

TEST(EventCaption, EveryTableRow)
{
    const CaptionCase cases[] = {
        {41, "best player"},
        {42, "worst player"},
        {46, "strikora"},
        {56, "goal from penalty"},
        {58, "missed penalty"},
        {59, "missed penalty"},
        {90, "almost injury"},
        {91, "injury"},
        {92, "injury"},
        {93, "injury"},
        {94, "injury"},
        {95, "injury"},
        {105, "goal after unpredictable pass"},
        {108, "goal after unpredictable pass"},
        {106, "goal by unpredictable scorer"},
        {115, "goal by quick player"},
        {116, "goal after quick winger pass"},
        {119, "goal corner -> head"},
        {136, "goal by inexperienced"},
        {138, "goal after winger pass"},
        {205, "missed after unpredictable pass"},
        {217, "missed after tired opponent"},
        {237, "missed after good winger pass"},
        {301, "technical negative"},
        {302, "powerful positive"},
        {303, "technical player"},
        {304, "powerful negative"},
        {305, "quick negative"},
        {510, "yellow card"},
        {511, "yellow card"},
        {512, "red card"},
        {513, "red card"},
        {514, "red card"},
    };
    for (const CaptionCase &c : cases)
        EXPECT_EQ(eventWithKey(std::to_string(c.key) + "_1").caption(), c.caption)
            << "key " << c.key;
}

TEST(EventCaption, ComposedFromDigits)
{
    const CaptionCase cases[] = {
        {101, "goal from middle"},
        {143, "counter goal from right"},
        {228, "missed from corner"},
        {225, "missed from "},
        {350, " from freekick"},
        {100, ""},
        {140, "counter goal from freekick"},
        {245, "counter missed from "},
        {112, "goal from left"},
        {207, "missed from long shot"},
        {209, "missed from unpredictable opponent"},
        {246, "counter missed from inexperienced opponent"},
        {104, "goal from penalty"},
        {515, " from "},
        {1234, " from penalty"},
        {99, ""},
        {43, ""},
        {0, ""},
        {-141, ""},
    };
    for (const CaptionCase &c : cases)
        EXPECT_EQ(eventWithKey(std::to_string(c.key)).caption(), c.caption) << "key " << c.key;
}

struct CategoryCase
{
    int key;
    bool missed, injury, yellow, red, teammate;
};

TEST(EventCategories, Borders)
{
    const CategoryCase cases[] = {
        {0, false, false, false, false, false},   {90, false, false, false, false, false},
        {91, false, true, false, false, true},    {95, false, true, false, false, true},
        {96, false, false, false, false, false},  {199, false, false, false, false, false},
        {200, true, false, false, false, false},  {205, true, false, false, false, true},
        {208, true, false, false, false, true},   {237, true, false, false, false, true},
        {299, true, false, false, false, false},  {300, false, false, false, false, false},
        {509, false, false, false, false, false}, {510, false, false, true, false, false},
        {511, false, false, true, false, false},  {512, false, false, false, true, false},
        {514, false, false, false, true, false},  {515, false, false, false, false, false},
        {105, false, false, false, false, true},  {106, false, false, false, false, false},
        {108, false, false, false, false, true},  {116, false, false, false, false, true},
        {8, false, false, false, false, true},    {-8, false, false, false, false, false},
        {518, false, false, false, false, true},
    };
    for (const CategoryCase &c : cases) {
        const Event event = eventWithKey(std::to_string(c.key) + "_2");
        EXPECT_EQ(event.isMissed(), c.missed) << "key " << c.key;
        EXPECT_EQ(event.isInjury(), c.injury) << "key " << c.key;
        EXPECT_EQ(event.isYellowCard(), c.yellow) << "key " << c.key;
        EXPECT_EQ(event.isRedCard(), c.red) << "key " << c.key;
        EXPECT_EQ(event.objectIsTeammate(), c.teammate) << "key " << c.key;
    }
}

} // namespace
