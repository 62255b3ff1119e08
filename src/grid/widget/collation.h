#pragma once

#include "grid/core/grid_core.h"

#include <QLocale>
#include <string>
#include <vector>

// People's order for text columns, such as names: the locale's collation with case ignored and
// accented letters beside their base letter ("Ólafur" before "Tomas"); digits compare as
// characters. It sets the grid's OnCompareByColumn: the named columns compare their texts so,
// every other column, and any cell of them that holds no text, compares as the grid always
// does (byte order for texts). A column's collation keys are made and ordered once for all its
// cells, and again only after the grid's cells changed (a refill): a comparison compares two
// integers, never two texts.
void sortByCollation(ZIVGridCore &grid, const std::vector<std::string> &columnNames,
                     const QLocale &locale = QLocale());
