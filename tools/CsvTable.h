#pragma once
// A CSV file as a table of text cells: the header's column names and the
// rows, quotes undone ("a,b" and doubled quotes), for the charts to read.

#include <string>
#include <vector>

struct CsvTable {
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows; ///< each as long as `columns`
};

/// Reads `text`; false with the line and the problem in `error` when a row
/// has another number of cells than the header or a quote is left open.
bool parseCsv(const std::string& text, CsvTable& table, std::string& error);
/// The index of the column named `name`, or -1.
int csvColumn(const CsvTable& table, const std::string& name);
/// The cell as a number; NaN when empty or not a number.
double csvNumber(const std::string& cell);
