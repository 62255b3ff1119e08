#include "grid/core/csv.h"

#include "grid/core/grid_core.h"

namespace {

bool startsAFormula(std::string_view text)
{
    return !text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string::npos;
}

void appendLine(std::string &out, const std::vector<std::string> &fields)
{
    for (std::size_t i = 0; i < fields.size(); ++i)
        out.append(i ? "," : "").append(fields[i]);
    out += "\r\n";
}

bool isNumber(const ZIVGridCell &cell)
{
    const ZIVGridCell::TKind kind = cell.kind();
    return kind == ZIVGridCell::IntCell || kind == ZIVGridCell::LongCell ||
           kind == ZIVGridCell::DoubleCell;
}

} // namespace

std::string csvField(std::string_view text, bool isText)
{
    std::string field = isText && startsAFormula(text) ? "'" : "";
    field.append(text);
    if (field.find_first_of(",\"\r\n") == std::string::npos)
        return field;
    std::string quoted = "\"";
    for (char c : field)
        quoted.append(c == '"' ? "\"\"" : std::string(1, c));
    return quoted + "\"";
}

std::string csvText(const ZIVGridCore &grid)
{
    const TZIVGridVisibleColumns &shown = grid.visibleColumns();
    std::string out;
    std::vector<std::string> fields;
    for (const ZIVGridColumn *column : shown)
        fields.push_back(csvField(column->caption(), true));
    appendLine(out, fields);
    for (const ZIVGridRow *row : grid.rows()) {
        fields.clear();
        for (const ZIVGridColumn *column : shown) {
            const ZIVGridCell &cell = row->cell(*column);
            fields.push_back(csvField(cell.asString(), !isNumber(cell)));
        }
        appendLine(out, fields);
    }
    return out;
}
