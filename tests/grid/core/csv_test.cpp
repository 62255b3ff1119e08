#include "grid/core/csv.h"
#include "grid_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

// The rows in view, read back by Python's csv module and printed as a Python list.
TEST(Csv, ReadBackByARealReader)
{
    CountingGrid grid;
    grid.SetHeaders({"id;id;s", "name;name, full;v", "goals", "rating", "note;note;h"});
    const std::tuple<const char *, int, double> rows[] = {{"comma, \"quoted\"", -3, 1e20},
                                                          {"line\nand\r\nCR LF", 1, -0.25},
                                                          {"=SUM(A1)", 2, 8.93},
                                                          {"+1", 4, 0},
                                                          {"-2", 5, 1},
                                                          {"@cmd", 6, 2.5},
                                                          {"Åsa Zoë", 7, 1},
                                                          {"hidden", 99, 1}};
    for (const auto &[name, goals, rating] : rows) {
        ZIVGridRow &row = grid.addRow();
        row.setLong("id", grid.rowNum());
        row.setString("name", name);
        row.setInt("goals", goals);
        row.setDouble("rating", rating);
        row.setString("note", "never written");
    }
    grid.addRow().setLong("id", 0); // empty cells, sorted first
    grid.getColumn("goals", true)->setFilter("!99");
    grid.sorter().sortBy(*grid.getColumn("id", true), true);
    grid.sortNow();
    const auto file = std::filesystem::temp_directory_path() / "grid_csv_test.csv";
    std::ofstream(file, std::ios::binary) << csvText(grid);
    const std::string command = "PYTHONIOENCODING=utf-8 " + std::string(PYTHON3) +
                                " -c \"import csv,sys; print(list(csv.reader(open(sys.argv[1], "
                                "newline='', encoding='utf-8'))))\" " +
                                file.string();
    FILE *pipe = popen(command.c_str(), "r");
    std::string out;
    for (int c; pipe && (c = std::fgetc(pipe)) != EOF;)
        out += char(c);
    EXPECT_EQ(pclose(pipe), 0);
    EXPECT_EQ(out, "[['name, full', 'goals', 'rating'], ['', '', ''], "
                   "['comma, \"quoted\"', '-3', '1E20'], ['line\\nand\\r\\nCR LF', '1', '-0.25'], "
                   "[\"'=SUM(A1)\", '2', '8.93'], [\"'+1\", '4', '0'], [\"'-2\", '5', '1'], "
                   "[\"'@cmd\", '6', '2.5'], ['Åsa Zoë', '7', '1']]\n");
    std::filesystem::remove(file);
}

} // namespace
