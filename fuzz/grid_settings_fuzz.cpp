// Grid settings from a document: imported into a grid with rows, exported, imported into a
// fresh grid of the same columns and exported again. The second export equals the first.
#include "fuzz_support.h"
#include "grid/core/grid_core.h"

#include <sstream>
#include <string>

namespace {

// The columns of the live summary (names with blanks), one hidden and one system-hidden.
const std::vector<std::string> headers = {
    "id;id;s", "home team", "away team", "home goals;H;v", "notes;Notes;h",
};

void makeGrid(ZIVGridCore &grid)
{
    grid.setComponentName("lstSummary");
    grid.setExtent(4);
    grid.SetHeaders(headers);
    const char *const names[] = {"Arsenal", "Barcelona", "Åland Seagulls", "Malmö Vikings", ""};
    int id = 0;
    for (const char *name : names) {
        ZIVGridRow &row = grid.addRow();
        row.setLong("id", ++id);
        row.setString("home team", name);
        row.setString("away team", names[4 - id % 5]);
        row.setInt("home goals", id % 3);
    }
}

std::string exported(const ZIVGridCore &grid, pugi::xml_document &into)
{
    into.reset();
    grid.exportSettingsToXML(into);
    std::ostringstream text;
    into.save(text, "  ", pugi::format_default | pugi::format_no_declaration);
    return text.str();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    pugi::xml_document settings;
    if (!fuzz::parse(settings, fuzz::text(data, size)))
        return 0;
    ZIVGridCore grid;
    makeGrid(grid);
    // The settings element may sit at the top or below the document element.
    fuzz::readerAccepts([&] { grid.importSettingsFromXML(settings); });
    fuzz::readerAccepts([&] { grid.importSettingsFromXML(settings.document_element()); });
    fuzz::check(grid.updatesEnabled(), "an import left the update open");
    fuzz::check(grid.rowNum() + grid.hiddenRows().size() == 5, "an import lost rows");

    pugi::xml_document first;
    const std::string firstText = exported(grid, first);
    ZIVGridCore fresh;
    makeGrid(fresh);
    fuzz::check(fuzz::readerAccepts([&] { fresh.importSettingsFromXML(first); }),
                "the grid's own export does not import");
    fuzz::check(fresh.hasXML(), "the grid's own export was not recognised");
    pugi::xml_document second;
    fuzz::check(exported(fresh, second) == firstText, "import and export do not round-trip");
    return 0;
}
