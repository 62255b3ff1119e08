// A team's match list, read by each of the three searches into one result, as the match
// search dialog gathers them.
#include "fuzz_support.h"
#include "service/match_search.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    pugi::xml_document list;
    if (!fuzz::parse(list, fuzz::text(data, size)))
        return 0;
    TSearchMatches all, some;
    const bool readable = fuzz::readerAccepts([&] { pickMatches(list, MatchPick::Recent, all); });
    for (const MatchPick pick : {MatchPick::Last, MatchPick::Next}) {
        TSearchMatches picked;
        const bool ok = fuzz::readerAccepts([&] { pickMatches(list, pick, picked); });
        // Every search reads every match, so a list fails all three or none.
        fuzz::check(ok == readable, "one search read a list another could not");
        if (ok) {
            // Last and Next keep some of the matches that Recent lists.
            for (const auto &[id, match] : picked)
                fuzz::check(all.count(id) == 1 && match.id == id, "a picked match not in the list");
        }
        some.insert(picked.begin(), picked.end());
    }
    addMatchById(1, some);
    return 0;
}
