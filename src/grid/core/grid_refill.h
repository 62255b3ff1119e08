#pragma once

#include "grid/core/grid_update.h"

#include <array>
#include <cstddef>
#include <iterator>

// The columns of a list looked up once per refill, in the order of `names`; an unknown name
// raises, as a list that writes a column it does not have is a fault.
template <std::size_t N>
std::array<ZIVGridColumn *, N> resolveColumns(const ZIVGridCore &grid,
                                              const char *const (&names)[N])
{
    std::array<ZIVGridColumn *, N> found{};
    for (std::size_t i = 0; i < N; ++i)
        found[i] = grid.getColumn(names[i], true);
    return found;
}

// The one way a list is rebuilt: inside one update bracket the rows go (all of them, unless the
// grid holds exactly the first `kept` items already, which stay), one row is written per item
// after those, and filtering and sorting run once at the end. The caller resolves its columns
// once before and captures them in `writeRow(ZIVGridRow &, const Item &)`.
template <typename Items, typename WriteRow>
void refillGrid(ZIVGridCore &grid, const Items &items, WriteRow &&writeRow, std::size_t kept = 0)
{
    const ZIVGridUpdate update(grid);
    const std::size_t held = grid.rows().size() + grid.hiddenRows().size();
    const bool keeping = kept > 0 && held == kept;
    if (!keeping)
        grid.clear();
    auto at = std::begin(items);
    if (keeping)
        std::advance(at, kept);
    for (; at != std::end(items); ++at)
        writeRow(grid.addRow(), *at);
    grid.filterAndSort();
}
