#include "players/player.h"

#include "players/weights.h"

#include <array>

Player::Player(std::int32_t id) : id(id) {}

namespace {

int weightOf(const AbilityWeights &weights, Ability ability)
{
    const auto found = weights.find(ability);
    return found == weights.end() ? 0 : found->second;
}

} // namespace

double Player::positionRating(BehaviouredPosition position, std::int8_t staminaOverride,
                              std::int8_t formOverride) const
{
    const AbilityWeights &weights = sharedWeights().weightsFor(position);
    const std::int8_t staminaUsed = staminaOverride >= 0 ? staminaOverride : stamina;
    // The products are whole numbers; they are summed in this order so that every caller
    // gets the same double.
    double sum = 0;
    sum += weightOf(weights, ab_stamina) * staminaUsed;
    sum += weightOf(weights, ab_defending) * defending;
    sum += weightOf(weights, ab_goaltending) * goaltending;
    sum += weightOf(weights, ab_passing) * passing;
    sum += weightOf(weights, ab_playmaking) * playmaking;
    sum += weightOf(weights, ab_scoring) * scoring;
    sum += weightOf(weights, ab_winger) * winger;
    double rating = sum * 0.01;
    if (formOverride >= 0)
        rating += 0.5 * (formOverride - 6);
    else if (form >= 0)
        rating += 0.5 * (form - 6);
    return rating;
}

kstring levelWord(std::int8_t level)
{
    static const std::array<const char *, 21> words = {
        "invalid",     "disastrous",       "wretched",    "poor",       "weak",
        "inadequate",  "passable",         "solid",       "excellent",  "formidable",
        "outstanding", "brilliant",        "magnificent", "worldclass", "supernatural",
        "titanic",     "extraterrestrial", "mythical",    "magical",    "utopian",
        "divine"};
    if (level == -1)
        return "?";
    if (level < 0 || level > 20)
        return "invalid";
    return words[std::size_t(level)];
}

kstring specialityWord(std::int8_t code)
{
    static const std::array<const char *, 6> words = {"",         "technical",     "quick",
                                                      "powerful", "unpredictable", "head"};
    if (code == -1)
        return "?";
    if (code < 0 || code > 5)
        return {};
    return words[std::size_t(code)];
}
