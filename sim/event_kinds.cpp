#include "sim/event_kinds.h"

#include "sim/world.h"

#include <stdexcept>

namespace sim {

namespace {

using C = Category;
using O = ObjectRole;

// clang-format off
std::vector<EventKind> infoKinds()
{
    return {
        {11, C::Info, O::None, 1, Needs::Nothing, 0, Weather::Any,
         {"The referee blows the whistle and {home} against {away} is under way. {crowd} "
          "spectators have come to the ground.<br />{weather}"}},
        {12, C::Info, O::None, 1, Needs::Nothing, 0, Weather::Any,
         {"Half-time.&nbsp;The score is {score}."}},
        {13, C::Info, O::None, 1, Needs::Nothing, 0, Weather::Any,
         {"Full time! {home} {score} {away}."}},
    };
}

std::vector<EventKind> goalKinds()
{
    return {
        {101, C::Goal, O::OpponentKeeper, 10, Needs::Nothing, 0, Weather::Any,
         {"{s} burst through the middle and slid the ball past {o}.<br />GOAL for {t}! {score}",
          "A neat move through the centre ended with {s} beating {o} from close range. {score}",
          "{s} was left unmarked in front of goal and {o} had no chance.<br />{t} score: {score}"}},
        {102, C::Goal, O::Opponent, 8, Needs::Nothing, 0, Weather::Any,
         {"{s} cut in from the left, left {o} behind and curled it into the far corner. {score}",
          "Down the left came {s}, past {o}, and the shot flew in at the near post! {score}"}},
        {103, C::Goal, O::Opponent, 8, Needs::Nothing, 0, Weather::Any,
         {"{s} got away from {o} on the right and drilled the ball home. {score}",
          "An attack down the right flank: {s} skipped past {o} and scored.<br />{score}"}},
        {107, C::Goal, O::OpponentKeeper, 4, Needs::Nothing, 0, Weather::Any,
         {"From fully thirty metres {s} tried his luck, and the ball flew past {o} into the top "
          "corner! {score}"}},
        {108, C::Goal, O::Teammate, 5, Needs::Nothing, 0, Weather::Any,
         {"{o} swung in a corner and {s} rose highest to head it home.<br />{score}",
          "Corner for {t}: {o} found {s} at the far post, and it was in! {score}"}},
        {109, C::Goal, O::Opponent, 3, Needs::Nothing, 0, Weather::Any,
         {"A careless back-pass by {o} was picked up by {s}, who made no mistake. {score}"}},
        {110, C::Goal, O::OpponentKeeper, 3, Needs::Nothing, 0, Weather::Any,
         {"{s} curled a free kick over the wall and past the stretching {o}. {score}"}},
        {141, C::Goal, O::OpponentKeeper, 3, Needs::Nothing, 0, Weather::Any,
         {"{u} lost the ball in midfield, {t} broke at speed and {s} finished past {o}. {score}"}},
        {142, C::Goal, O::Opponent, 2, Needs::Nothing, 0, Weather::Any,
         {"A lightning counter down the left: {s} outpaced {o} and scored. {score}"}},
        {143, C::Goal, O::Opponent, 2, Needs::Nothing, 0, Weather::Any,
         {"{t} hit back on the counter down the right, {s} left {o} standing and "
          "scored.&nbsp;{score}"}},
        {147, C::Goal, O::OpponentKeeper, 1, Needs::Nothing, 0, Weather::Any,
         {"On the break, {s} spotted {o} off his line and lobbed him from distance! {score}"}},
        {56, C::Goal, O::OpponentKeeper, 6, Needs::Nothing, 0, Weather::Any,
         {"Penalty for {t}! {s} stepped up and sent {o} the wrong way. {score}"}},
        {105, C::Goal, O::Teammate, 3, Needs::ObjectSpeciality, Unpredictable, Weather::Any,
         {"The {r} {o} tried something nobody expected, a no-look pass that put {s} clean "
          "through, and he scored! {score}",
          "Out of nothing, {o} flicked the ball over the defence and {s} volleyed it in. {score}",
          "{o} surprised everyone with a quick free kick to {s}, who scored.<br />{score}"}},
        {106, C::Goal, O::OpponentKeeper, 3, Needs::SubjectSpeciality, Unpredictable,
         Weather::Any,
         {"The {r} {s} hit an outrageous volley from an impossible angle that left {o} rooted "
          "to the spot. {score}"}},
        {115, C::Goal, O::Opponent, 3, Needs::SubjectSpeciality, Quick, Weather::Any,
         {"The {r} {s} simply outran {o} and slotted the ball home. {score}"}},
        {116, C::Goal, O::Teammate, 3, Needs::ObjectSpeciality, Quick, Weather::Any,
         {"The {r} {o} sprinted down the wing and crossed for {s} to tap in. {score}"}},
        {119, C::Goal, O::Opponent, 3, Needs::SubjectSpeciality, Head, Weather::Any,
         {"From the corner, {s} out-jumped {o} and powered a header into the net. {score}"}},
        {136, C::Goal, O::Opponent, 2, Needs::Nothing, 0, Weather::Any,
         {"The inexperienced {o} misjudged a long ball, and {s} was there to punish him. "
          "{score}"}},
        {138, C::Goal, O::Teammate, 4, Needs::Nothing, 0, Weather::Any,
         {"A superb cross from {o} found {s}, who volleyed home. {score}",
          "{o} beat his man on the wing and pulled it back for {s}: goal! {score}"}},
    };
}

std::vector<EventKind> missKinds()
{
    return {
        {201, C::Miss, O::OpponentKeeper, 20, Needs::Nothing, 0, Weather::Any,
         {"{s} went through the middle, but {o} came out quickly and smothered the shot.",
          "A great chance for {t}! {s} shot from close range, but {o} saved with his legs."}},
        {202, C::Miss, O::Opponent, 14, Needs::Nothing, 0, Weather::Any,
         {"{s} got past {o} on the left, but his shot went into the side netting."}},
        {203, C::Miss, O::Opponent, 14, Needs::Nothing, 0, Weather::Any,
         {"{s} broke down the right, but {o} got back in time to block the cross.",
          "Down the right, {s} beat {o}, but the final shot sailed high over the bar."}},
        {207, C::Miss, O::OpponentKeeper, 10, Needs::Nothing, 0, Weather::Any,
         {"{s} tried a long-range effort, tipped over the bar by {o}."}},
        {208, C::Miss, O::Teammate, 10, Needs::Nothing, 0, Weather::Any,
         {"{o}'s corner found {s}, whose header went just over the bar."}},
        {209, C::Miss, O::Opponent, 6, Needs::Nothing, 0, Weather::Any,
         {"{o} slipped on the edge of the box, but {s} could not take advantage and shot "
          "wide."}},
        {210, C::Miss, O::OpponentKeeper, 8, Needs::Nothing, 0, Weather::Any,
         {"Free kick for {t}. {s} hit it well, but {o} pushed it round the post."}},
        {241, C::Miss, O::OpponentKeeper, 6, Needs::Nothing, 0, Weather::Any,
         {"{t} on the counter-attack! {s} was through, but {o} stood his ground and saved."}},
        {242, C::Miss, O::Opponent, 4, Needs::Nothing, 0, Weather::Any,
         {"A quick break down the left, but {o} slid in to stop {s} at the last moment."}},
        {243, C::Miss, O::Opponent, 4, Needs::Nothing, 0, Weather::Any,
         {"{t} countered down the right; {s} left {o} behind, but shot into the side netting."}},
        {205, C::Miss, O::Teammate, 4, Needs::ObjectSpeciality, Unpredictable, Weather::Any,
         {"The {r} {o} tried a surprising back-heel to {s}, but the shot was blocked."}},
        {217, C::Miss, O::Opponent, 4, Needs::Nothing, 0, Weather::Any,
         {"A tired {o} could not keep up with {s} any more, but the shot went just wide."}},
        {237, C::Miss, O::Teammate, 6, Needs::Nothing, 0, Weather::Any,
         {"{o} delivered a fine cross from the wing, but {s} headed straight at the keeper."}},
        {58, C::Miss, O::Teammate, 1, Needs::Nothing, 0, Weather::Any,
         {"{o} was brought down in the box: penalty for {t}! {s} went for the corner, but the "
          "keeper guessed right and saved."}},
        {59, C::Miss, O::OpponentKeeper, 1, Needs::Nothing, 0, Weather::Any,
         {"Penalty for {t}! {s} sent {o} the wrong way, but the ball hit the post."}},
    };
}

std::vector<EventKind> otherKinds()
{
    return {
        {510, C::Card, O::Opponent, 12, Needs::Nothing, 0, Weather::Any,
         {"{s} was booked for a late tackle on {o}.",
          "Yellow card: {s} pulled back {o}, who was running clear."}},
        {511, C::Card, O::Opponent, 6, Needs::Nothing, 0, Weather::Any,
         {"{s} protested too loudly after a challenge with {o} and saw the yellow card."}},
        {512, C::Card, O::Opponent, 0, Needs::Nothing, 0, Weather::Any,
         {"Second yellow for {s} after tripping {o}.<br />He has to leave the pitch!"}},
        {513, C::Card, O::Opponent, 1, Needs::Nothing, 0, Weather::Any,
         {"Straight red! {s} brought down {o}, who was clean through on goal."}},
        {514, C::Card, O::Opponent, 1, Needs::Nothing, 0, Weather::Any,
         {"{s} lost his temper and elbowed {o}. The referee showed him the red card."}},
        {90, C::Injury, O::Opponent, 4, Needs::Nothing, 0, Weather::Any,
         {"{s} went down after a hard challenge by {o}, but he was able to continue."}},
        {91, C::Injury, O::Substitute, 2, Needs::Nothing, 0, Weather::Any,
         {"{s} took a knock and was replaced by {o} as a precaution."}},
        {92, C::Injury, O::Substitute, 2, Needs::Nothing, 0, Weather::Any,
         {"{s} pulled a muscle. {o} came on in his place."}},
        {93, C::Injury, O::Substitute, 2, Needs::Nothing, 0, Weather::Any,
         {"{s} was injured in a collision and had to be replaced by {o}."}},
        {94, C::Injury, O::Substitute, 1, Needs::Nothing, 0, Weather::Any,
         {"Bad news for {t}: {s} was carried off on a stretcher; {o} came on."}},
        {95, C::Injury, O::Substitute, 1, Needs::Nothing, 0, Weather::Any,
         {"{s} twisted his knee badly and will be out for weeks.&nbsp;{o} replaced him."}},
        {301, C::Special, O::None, 1, Needs::SubjectSpeciality, Technical, Weather::Rain,
         {"The {r} {s} struggled with the wet ball in the rain."}},
        {302, C::Special, O::None, 1, Needs::SubjectSpeciality, Powerful, Weather::Rain,
         {"The {r} {s} revelled in the muddy conditions and won every duel."}},
        {303, C::Special, O::None, 1, Needs::SubjectSpeciality, Technical, Weather::Sun,
         {"The sunshine suited the {r} {s}, who dazzled with his skills."}},
        {304, C::Special, O::None, 1, Needs::SubjectSpeciality, Powerful, Weather::Sun,
         {"The {r} {s} was clearly suffering in the heat."}},
        {305, C::Special, O::None, 1, Needs::SubjectSpeciality, Quick, Weather::Rain,
         {"The rain slowed down the {r} {s}."}},
        {41, C::Rating, O::None, 1, Needs::Nothing, 0, Weather::Any,
         {"Player of the match: {s} of {t}."}},
        {42, C::Rating, O::None, 1, Needs::Nothing, 0, Weather::Any,
         {"{s} of {t} had a day to forget."}},
    };
}

// clang-format on

std::vector<EventKind> allKinds()
{
    std::vector<EventKind> kinds = infoKinds();
    for (auto part : {goalKinds(), missKinds(), otherKinds()})
        kinds.insert(kinds.end(), part.begin(), part.end());
    return kinds;
}

} // namespace

const std::vector<EventKind> &eventKinds()
{
    static const std::vector<EventKind> kinds = allKinds();
    return kinds;
}

const EventKind &eventKind(int key)
{
    for (const EventKind &kind : eventKinds()) {
        if (kind.key == key)
            return kind;
    }
    throw std::out_of_range("unknown event key " + std::to_string(key));
}

std::vector<const EventKind *> kindsOf(Category category)
{
    std::vector<const EventKind *> kinds;
    for (const EventKind &kind : eventKinds()) {
        if (kind.category == category)
            kinds.push_back(&kind);
    }
    return kinds;
}

const char *specialityName(int speciality)
{
    static const char *const names[] = {"",         "technical",     "quick",
                                        "powerful", "unpredictable", "head"};
    return speciality >= Technical && speciality <= Head ? names[speciality] : "";
}

} // namespace sim
