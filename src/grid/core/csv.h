#pragma once

#include <string>
#include <string_view>

class ZIVGridCore;

// The grid as comma-separated values (RFC 4180): a line of the visible columns' captions, then
// one line per row in view, in display order, each cell's text in the visible columns' order.
// Lines end in CR LF; a field with a comma, a quote, CR or LF is quoted, its quotes doubled.
// Texts are UTF-8 as the cells hold them; numbers are written with a point and no grouping.
// A text (not a number) that begins with =, +, -, @, tab or CR would be read by a spreadsheet
// as a formula: it gets a leading apostrophe, which spreadsheets show as text.
std::string csvText(const ZIVGridCore &grid);

// One field: guarded against formulas when it is a text, then quoted when it must be.
std::string csvField(std::string_view text, bool isText);
