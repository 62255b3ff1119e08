// Header lines (one per input line) declare a grid's columns; then rows are filled through
// every column, columns hidden and shown again, and the rows sorted and filtered by each.
#include "fuzz_support.h"
#include "grid/core/grid_core.h"

#include <set>
#include <string>

namespace {

std::vector<std::string> lines(std::string_view input)
{
    std::vector<std::string> out;
    for (std::size_t start = 0; start <= input.size();) {
        const std::size_t end = std::min(input.find('\n', start), input.size());
        out.emplace_back(input.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

// Either every line made its column, or a column says why a line is broken (followed by the
// columns of the lines after it).
void checkColumns(const ZIVGridCore &grid, const std::vector<std::string> &headers)
{
    const ZIVGridColumn *error = grid.getColumn("error", false);
    const bool broken = error && error->caption().rfind("Error ", 0) == 0;
    if (!broken) {
        fuzz::check(grid.columns().size() == headers.size(), "a header line made no column");
        for (const std::string &line : headers) {
            const std::string name = line.substr(0, line.find(';'));
            fuzz::check(grid.getColumn(name, false) != nullptr, "a declared column is missing");
        }
    }
    int index = 0;
    for (const ZIVGridColumn *column : grid.visibleColumns()) {
        fuzz::check(column->visibility() == ZIVGridColumn::visible, "a hidden column in view");
        fuzz::check(column->visibleIndex() == index++, "a visible index out of step");
    }
    std::size_t shown = 0;
    for (const auto &[name, column] : grid.columns()) {
        fuzz::check(name == column->name(), "a column filed under another name");
        fuzz::check(!column->caption().empty() || name.empty(), "an empty caption");
        shown += column->visibility() == ZIVGridColumn::visible;
    }
    fuzz::check(shown == grid.visibleColumns().size(), "visible columns miscounted");
}

void exercise(ZIVGridCore &grid)
{
    for (int i = 0; i < 3; ++i) {
        ZIVGridRow &row = grid.addRow();
        for (const auto &[name, column] : grid.columns())
            row.cell(*column).setString(name + std::to_string(i));
    }
    for (const auto &[name, column] : grid.columns())
        // kstring keeps a text up to its first NUL.
        fuzz::check(grid.getRow(1)->getString(name) == kstring(name + "1"), "a cell lost its text");
    for (const auto &[name, column] : grid.columns()) {
        const ZIVGridColumn::TVisibility was = column->visibility();
        column->setVisibility(ZIVGridColumn::hidden);
        column->setVisibility(was);
        grid.SortByColumn(*column);
        grid.sortNow();
        ZIVGridColumn &filtered = *column;
        const std::string pattern = name.substr(0, 2);
        fuzz::readerAccepts([&] { filtered.setFilter(pattern); });
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::vector<std::string> headers = lines(fuzz::text(data, size));
    ZIVGridCore grid;
    grid.setExtent(2);
    grid.SetHeaders(headers);
    checkColumns(grid, headers);
    exercise(grid);
    // Declaring again over rows and filters starts from scratch.
    grid.SetHeaders(headers);
    checkColumns(grid, headers);
    fuzz::check(grid.rowNum() == 0 && grid.hiddenRows().empty(), "rows survived new headers");
    return 0;
}
