// The team search's results, read into the found teams as the selection dialog keeps them.
#include "fuzz_support.h"
#include "service/team_search.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    pugi::xml_document results;
    if (!fuzz::parse(results, fuzz::text(data, size)))
        return 0;
    TFoundTeams found;
    fuzz::readerAccepts([&] { readSearchResults(results, found); });
    // A second search adds to the first; reading the same results again changes nothing.
    const TFoundTeams once = found;
    if (fuzz::readerAccepts([&] { readSearchResults(results, found); }))
        fuzz::check(found == once, "the same results read twice differ");
    return 0;
}
