#include "CsvTable.h"

#include <cmath>
#include <cstdlib>

namespace {

// The cells of one record starting at `at`; moves `at` past its line end.
bool readRecord(const std::string& text, std::size_t& at, std::vector<std::string>& cells)
{
    cells.assign(1, std::string());
    bool quoted = false;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (quoted) {
            if (c == '"' && at + 1 < text.size() && text[at + 1] == '"') {
                cells.back() += '"';
                ++at;
            } else if (c == '"')
                quoted = false;
            else
                cells.back() += c;
        } else if (c == '"')
            quoted = true;
        else if (c == ',')
            cells.emplace_back();
        else if (c == '\n') {
            ++at;
            return true;
        } else if (c != '\r')
            cells.back() += c;
    }
    return !quoted;
}

} // namespace

bool parseCsv(const std::string& text, CsvTable& table, std::string& error)
{
    table = CsvTable();
    std::size_t at = 0;
    if (text.empty() || !readRecord(text, at, table.columns)) {
        error = "no header line";
        return false;
    }
    std::vector<std::string> cells;
    for (int line = 2; at < text.size(); ++line) {
        if (!readRecord(text, at, cells)) {
            error = "line " + std::to_string(line) + ": a quote is left open";
            return false;
        }
        if (cells.size() != table.columns.size()) {
            error = "line " + std::to_string(line) + ": " + std::to_string(cells.size()) + " cells under " +
                    std::to_string(table.columns.size()) + " columns";
            return false;
        }
        table.rows.push_back(cells);
    }
    return true;
}

int csvColumn(const CsvTable& table, const std::string& name)
{
    for (std::size_t i = 0; i < table.columns.size(); ++i)
        if (table.columns[i] == name)
            return static_cast<int>(i);
    return -1;
}

double csvNumber(const std::string& cell)
{
    if (cell.empty())
        return NAN;
    char* end = nullptr;
    const double value = std::strtod(cell.c_str(), &end);
    return *end == '\0' && std::isfinite(value) ? value : NAN;
}
