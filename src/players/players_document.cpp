#include "players/players_document.h"

#include "Engine/convert.h"
#include "Engine/errors.h"

#include <pugixml.hpp>

#include <iterator>
#include <limits>
#include <set>
#include <string>

namespace {

struct IntField
{
    const char *element;
    std::int32_t Player::*field;
};

struct SmallField
{
    const char *element;
    std::int8_t Player::*field;
};

const IntField intFields[] = {
    {"Age", &Player::age},
    {"PlayerForm", &Player::form},
    {"InjuryLevel", &Player::injury},
    {"TSI", &Player::value},
    {"Salary", &Player::wage},
    {"Experience", &Player::experience},
    {"Leadership", &Player::leadership},
};

const SmallField smallFields[] = {
    {"Specialty", &Player::speciality},        {"Agreeability", &Player::gentleness},
    {"Aggressiveness", &Player::aggressivity}, {"Honesty", &Player::honesty},
    {"StaminaSkill", &Player::stamina},        {"PlaymakerSkill", &Player::playmaking},
    {"WingerSkill", &Player::winger},          {"ScorerSkill", &Player::scoring},
    {"KeeperSkill", &Player::goaltending},     {"PassingSkill", &Player::passing},
    {"DefenderSkill", &Player::defending},     {"SetPiecesSkill", &Player::setpieces},
};

[[noreturn]] void fail(const std::string &why)
{
    throw EXmlError("Not a readable players document: " + why);
}

std::string_view textOf(const pugi::xml_node &node)
{
    return node.text().get();
}

// A number the document must hold as one; `where` names it in the message.
int numberIn(const pugi::xml_node &node, const std::string &where)
{
    try {
        return toInt(textOf(node));
    } catch (const EConvertError &error) {
        fail(where + ": " + error.message());
    }
}

// Every record field starts as unknown, unlike a fresh record, whose counts start at 0.
std::unique_ptr<Player> unknownPlayer(std::int32_t id)
{
    auto player = std::make_unique<Player>(id);
    for (const IntField &f : intFields)
        (*player).*f.field = -1;
    player->bid = -1;
    return player;
}

// A field's value: unknown (-1) when the field is missing or empty, and also when it holds
// no number within [low, high], which `unreadable` counts. One bad field must not cost the
// whole squad.
int fieldValue(const pugi::xml_node &player, const char *element, int low, int high,
               int &unreadable)
{
    const std::string_view text = textOf(player.child(element));
    if (text.empty())
        return -1;
    try {
        const int value = toInt(text);
        if (value >= low && value <= high)
            return value;
    } catch (const EConvertError &) {
    }
    ++unreadable;
    return -1;
}

std::unique_ptr<Player> readPlayer(const pugi::xml_node &node, int &unreadable)
{
    const pugi::xml_node idNode = node.child("PlayerID");
    if (!idNode)
        fail("a player without PlayerID");
    const std::int32_t id = numberIn(idNode, "PlayerID");
    auto player = unknownPlayer(id);
    player->name = kstring(std::string(textOf(node.child("PlayerName"))));
    for (const IntField &f : intFields)
        (*player).*f.field = fieldValue(node, f.element, std::numeric_limits<int>::min(),
                                        std::numeric_limits<int>::max(), unreadable);
    for (const SmallField &f : smallFields)
        (*player).*f.field =
            std::int8_t(fieldValue(node, f.element, std::numeric_limits<std::int8_t>::min(),
                                   std::numeric_limits<std::int8_t>::max(), unreadable));
    return player;
}

int twoDigits(std::string_view text, std::size_t at)
{
    return toInt(text.substr(at, 2));
}

} // namespace

TDateTime parseServiceDate(std::string_view text)
{
    const bool shaped = text.size() == 19 && text[4] == '-' && text[7] == '-' && text[10] == ' ' &&
                        text[13] == ':' && text[16] == ':';
    const auto digits = [&](std::size_t at, std::size_t count) {
        for (std::size_t i = at; i < at + count; ++i)
            if (text[i] < '0' || text[i] > '9')
                return false;
        return true;
    };
    if (!shaped || !digits(0, 4) || !digits(5, 2) || !digits(8, 2) || !digits(11, 2) ||
        !digits(14, 2) || !digits(17, 2))
        throw EConvertError("'" + std::string(text) +
                            "' is not a date of the form yyyy-mm-dd hh:mm:ss");
    DateTimeParts parts;
    parts.year = toInt(text.substr(0, 4));
    parts.month = twoDigits(text, 5);
    parts.day = twoDigits(text, 8);
    parts.hour = twoDigits(text, 11);
    parts.minute = twoDigits(text, 14);
    parts.second = twoDigits(text, 17);
    if (parts.month < 1 || parts.month > 12 || parts.day < 1 || parts.day > 31 || parts.hour > 23 ||
        parts.minute > 59 || parts.second > 59)
        throw EConvertError("'" + std::string(text) + "' is not a valid date");
    return encodeDateTime(parts);
}

void checkPlayersDocumentSize(std::size_t bytes)
{
    if (bytes > largestPlayersDocument)
        fail("it is " + std::to_string(bytes) +
             " bytes, more than any squad's document (at most 4 MiB)");
}

PlayersDocument readPlayersDocument(std::string_view text)
{
    checkPlayersDocumentSize(text.size());
    pugi::xml_document xml;
    const pugi::xml_parse_result parsed = xml.load_buffer(text.data(), text.size());
    if (!parsed)
        fail(std::string("not well-formed XML (") + parsed.description() + ")");
    const pugi::xml_node top = xml.document_element();
    const std::string_view fileName = textOf(top.child("FileName"));
    if (!fileName.empty() && fileName != "players.xml")
        fail("it is the document " + std::string(fileName));
    const pugi::xml_node team = top.child("Team");
    if (!team.child("TeamID") || !team.child("PlayerList"))
        fail("no Team with TeamID and PlayerList");

    PlayersDocument document;
    document.teamId = numberIn(team.child("TeamID"), "TeamID");
    document.teamName = kstring(std::string(textOf(team.child("TeamName"))));
    try {
        document.fetchedDate = parseServiceDate(textOf(top.child("FetchedDate")));
    } catch (const EConvertError &error) {
        fail("FetchedDate: " + error.message());
    }
    const auto listed = team.child("PlayerList").children("Player");
    if (const auto count = std::size_t(std::distance(listed.begin(), listed.end()));
        count > mostPlayersInSquad)
        fail("it lists " + std::to_string(count) + " players, more than any squad (at most " +
             std::to_string(mostPlayersInSquad) + ")");
    std::set<std::int32_t> seen;
    for (const pugi::xml_node node : listed) {
        std::unique_ptr<Player> player = readPlayer(node, document.unreadableValues);
        if (!seen.insert(player->id).second)
            fail("player " + std::to_string(player->id) + " is listed twice");
        document.players.push_back(std::move(player));
    }
    return document;
}
