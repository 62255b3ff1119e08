#include "live/live_match.h"

#include "live/c_chars.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <iterator>

namespace {

struct CaptionRow
{
    int first;
    int last;
    const char *caption;
};

// The captions the game gives its event kinds; key numbers outside are composed from digits.
constexpr CaptionRow captionTable[] = {
    {41, 41, "best player"},
    {42, 42, "worst player"},
    {46, 46, "strikora"},
    {56, 56, "goal from penalty"},
    {58, 59, "missed penalty"},
    {90, 90, "almost injury"},
    {91, 95, "injury"},
    {105, 105, "goal after unpredictable pass"},
    {106, 106, "goal by unpredictable scorer"},
    {108, 108, "goal after unpredictable pass"},
    {115, 115, "goal by quick player"},
    {116, 116, "goal after quick winger pass"},
    {119, 119, "goal corner -> head"},
    {136, 136, "goal by inexperienced"},
    {138, 138, "goal after winger pass"},
    {205, 205, "missed after unpredictable pass"},
    {217, 217, "missed after tired opponent"},
    {237, 237, "missed after good winger pass"},
    {301, 301, "technical negative"},
    {302, 302, "powerful positive"},
    {303, 303, "technical player"},
    {304, 304, "powerful negative"},
    {305, 305, "quick negative"},
    {510, 511, "yellow card"},
    {512, 514, "red card"},
};

constexpr const char *chanceWords[] = {
    "freekick",
    "middle",
    "left",
    "right",
    "penalty",
    "",
    "inexperienced opponent",
    "long shot",
    "corner",
    "unpredictable opponent",
};

const char *tableCaption(int key)
{
    for (const CaptionRow &row : captionTable)
        if (key >= row.first && key <= row.last)
            return row.caption;
    return nullptr;
}

// "counter goal from right" and the like: tens digit 4 is a counter attack, the hundreds say
// goal or miss, the units how the chance came.
kstring composedCaption(int key)
{
    if (key <= 100)
        return {};
    const int units = key % 10;
    const int tens = key / 10 % 10;
    const int hundreds = key / 100;
    kstring text;
    if (tens == 4)
        text += "counter ";
    if (hundreds == 1)
        text += "goal";
    else if (hundreds == 2)
        text += "missed";
    text += " from ";
    text += chanceWords[units];
    return text;
}

// atol's reading: blanks, a sign, then digits up to the first other character. Out of range
// values stop at the int limits rather than wrapping.
int leadingNumber(std::string_view text)
{
    std::size_t at = 0;
    while (at < text.size() && isCBlank(text[at]))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        negative = text[at++] == '-';
    std::int64_t magnitude = 0;
    for (; at < text.size() && isCDigit(text[at]); ++at)
        if (magnitude <= INT_MAX)
            magnitude = magnitude * 10 + (text[at] - '0');
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return int(value);
}

} // namespace

int Event::keyNumber() const
{
    const std::string_view key(EventKey);
    return leadingNumber(key.substr(0, key.find('_')));
}

kstring Event::caption() const
{
    const int key = keyNumber();
    if (const char *fixed = tableCaption(key))
        return fixed;
    return composedCaption(key);
}

bool Event::isMissedKey(int key)
{
    return key >= 200 && key <= 299;
}

bool Event::isInjuryKey(int key)
{
    return key >= 91 && key <= 95;
}

bool Event::isYellowCardKey(int key)
{
    return key == 510 || key == 511;
}

bool Event::isRedCardKey(int key)
{
    return key >= 512 && key <= 514;
}

bool Event::isTeammateKey(int key)
{
    constexpr int assistedKeys[] = {105, 108, 116, 205, 237};
    return isInjuryKey(key) || key % 10 == 8 ||
           std::find(std::begin(assistedKeys), std::end(assistedKeys), key) !=
               std::end(assistedKeys);
}

bool Event::namesPlayer() const
{
    return !SubjectPlayerName.empty() || !ObjectPlayerName.empty();
}
