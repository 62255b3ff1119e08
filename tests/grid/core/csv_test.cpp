#include "grid/core/csv.h"
#include "grid_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

using Table = std::vector<std::vector<std::string>>;

// The file as Python's csv module reads it: fields end in 0x1F, rows in 0x1E.
Table readByPython(const std::filesystem::path &file)
{
    const std::string command =
        std::string(PYTHON3) +
        " -c \"import csv,sys\n"
        "for row in csv.reader(open(sys.argv[1], newline='', encoding='utf-8', errors='strict')):\n"
        "    sys.stdout.buffer.write(''.join(f + chr(31) for f in row).encode() + bytes([30]))\" " +
        file.string();
    FILE *pipe = popen(command.c_str(), "r");
    std::string out;
    for (int c; pipe && (c = std::fgetc(pipe)) != EOF;)
        out += char(c);
    EXPECT_TRUE(pipe && pclose(pipe) == 0) << command;
    Table table;
    std::string field;
    std::vector<std::string> row;
    for (char c : out) {
        if (c == 0x1F) {
            row.push_back(field);
            field.clear();
        } else if (c == 0x1E) {
            table.push_back(row);
            row.clear();
        } else {
            field += c;
        }
    }
    return table;
}

TEST(Csv, ReadBackByARealReader)
{
    CountingGrid grid;
    grid.SetHeaders({"id;id;s", "name;name, full;v", "goals", "rating", "note;note;h"});
    const struct
    {
        std::string name;
        int goals;
        double rating;
    } rows[] = {
        {"plain", 3, 2.5},
        {"comma, inside", -3, 1e20},
        {"\"quoted\" twice \"", 0, -0.25},
        {"line\nbreak and\r\nCR LF", 1, 7},
        {"=SUM(A1:A9)", 2, 8.93},
        {"+1", 4, 0},
        {"-2", 5, 1},
        {"@cmd", 6, 1},
        {"Åsa Ödön Zoë", 7, 1},
        {"hidden by the filter", 99, 1},
    };
    int id = 0;
    for (const auto &r : rows) {
        ZIVGridRow &row = grid.addRow();
        row.setLong("id", ++id);
        row.setString("name", r.name);
        row.setInt("goals", r.goals);
        row.setDouble("rating", r.rating);
        row.setString("note", "never written");
    }
    grid.addRow().setLong("id", ++id); // empty cells
    grid.getColumn("goals", true)->setFilter("!99");
    grid.sorter().sortBy(*grid.getColumn("id", true), false);
    grid.sortNow();

    const std::filesystem::path file = std::filesystem::temp_directory_path() / "grid_csv_test.csv";
    std::ofstream(file, std::ios::binary) << csvText(grid);
    const Table expected = {
        {"name, full", "goals", "rating"},
        {"", "", ""},
        {"Åsa Ödön Zoë", "7", "1"},
        {"'@cmd", "6", "1"},
        {"'-2", "5", "1"},
        {"'+1", "4", "0"},
        {"'=SUM(A1:A9)", "2", "8.93"},
        {"line\nbreak and\r\nCR LF", "1", "7"},
        {"\"quoted\" twice \"", "0", "-0.25"},
        {"comma, inside", "-3", "1E20"},
        {"plain", "3", "2.5"},
    };
    EXPECT_EQ(readByPython(file), expected);
    std::filesystem::remove(file);
}

} // namespace
