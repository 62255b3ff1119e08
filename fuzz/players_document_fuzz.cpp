// A stored or downloaded players document, read as start-up and the download read it.
#include "fuzz_support.h"
#include "players/keeper.h"
#include "players/players_document.h"
#include "players/weights.h"

#include <cmath>

#include <set>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    PlayersDocument document;
    if (!fuzz::readerAccepts([&] { document = readPlayersDocument(fuzz::text(data, size)); }))
        return 0;
    std::set<std::int32_t> ids;
    for (const std::unique_ptr<Player> &player : document.players) {
        fuzz::check(player != nullptr, "a null player");
        fuzz::check(ids.insert(player->id).second, "a player id given twice was accepted");
        // What the player list works out for every player it shows.
        for (const RatedPosition &rated : ratedPositions())
            fuzz::check(std::isfinite(player->positionRating(rated.position, -1, -1)),
                        "a rating that is no number");
        (void)sharedKeeper().estimateGoaltending(PlayerAbilityValue(player->form), player->value);
    }
    return 0;
}
