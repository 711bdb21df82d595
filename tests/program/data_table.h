// The hand-made tables under tests/data. A file holds sections: "[name]" starts one, its first
// row names the columns, and each later row is one record. Cells are separated by "|" and
// trimmed; a cell in double quotes is a text (Text removes the quotes, so "" is the empty
// text); a bare "-" stands for a value that is not fixed. Lines starting with "#" are comments.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace data_table {

using Row = std::map<std::string, std::string>;
using Tables = std::map<std::string, std::vector<Row>>;

inline std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? ""
                                      : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

inline std::vector<std::string> Cells(const std::string& line) {
    std::vector<std::string> cells;
    std::istringstream in(line);
    for (std::string cell; std::getline(in, cell, '|');) {
        cells.push_back(Trim(cell));
    }
    return cells;
}

// The sections of tests/data/`file`, each a list of rows by column name.
inline Tables Read(const std::string& file) {
    const auto path = std::filesystem::path(__FILE__).parent_path() / ".." / "data" / file;
    std::ifstream in(path);
    EXPECT_TRUE(in) << path;
    Tables tables;
    std::string section, line;
    std::vector<std::string> columns;
    while (std::getline(in, line)) {
        if (Trim(line).empty() || line[0] == '#') continue;
        if (line[0] == '[') {
            section = line.substr(1, line.find(']') - 1);
            tables[section];
            columns.clear();
        } else if (columns.empty()) {
            columns = Cells(line);
        } else {
            std::vector<std::string> cells = Cells(line);
            EXPECT_EQ(cells.size(), columns.size()) << file << ": " << line;
            Row& row = tables[section].emplace_back();
            for (size_t i = 0; i < columns.size() && i < cells.size(); ++i)
                row[columns[i]] = cells[i];
        }
    }
    return tables;
}

// The rows of one section; a missing section fails the test.
inline const std::vector<Row>& Section(const Tables& tables, const std::string& name) {
    static const std::vector<Row> none;
    auto found = tables.find(name);
    EXPECT_NE(found, tables.end()) << "no section [" << name << "]";
    return found == tables.end() ? none : found->second;
}

inline bool Given(const std::string& cell) {
    return cell != "-";
}

// A cell as text: without its double quotes.
inline std::string Text(const std::string& cell) {
    const bool quoted = cell.size() >= 2 && cell.front() == '"' && cell.back() == '"';
    return quoted ? cell.substr(1, cell.size() - 2) : cell;
}

}  // namespace data_table
