// Builds DrvFloor.DB and DrvXoros.DB from tab-separated text: a header line of
// field names, then one record a line; an empty cell is blank.

#include <charconv>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "data/cp1253.h"
#include "data/errors.h"
#include "data/studyfiles.h"
#include "data/table.h"
#include "data/tabledefinitions.h"

namespace {

using namespace dravin;

std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> cells;
    std::string cell;
    std::istringstream in(line);
    while (std::getline(in, cell, '\t')) {
        cells.push_back(cell);
    }
    if (!line.empty() && line.back() == '\t') {
        cells.emplace_back();
    }
    return cells;
}

Value parseCell(const std::string& text, const FieldDef& f, const std::string& where) {
    if (text.empty()) {
        return Value();
    }
    if (f.type == FieldType::Integer) {
        std::int32_t v = 0;
        const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
        if (r.ec != std::errc() || r.ptr != text.data() + text.size()) {
            throw ParseError(where + ": \"" + text + "\" is not a whole number.");
        }
        return Value::integer(v);
    }
    if (f.type == FieldType::Float) {
        double v = 0;
        const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
        if (r.ec != std::errc() || r.ptr != text.data() + text.size()) {
            throw ParseError(where + ": \"" + text + "\" is not a number.");
        }
        return Value::real(v);
    }
    return Value::bytes(cp1253::encode(text));
}

void build(const std::filesystem::path& tsv, const std::filesystem::path& dir, const char* name,
           TableDef def) {
    std::ifstream in(tsv);
    if (!in) {
        throw IoError("Cannot read " + tsv.string() + ".");
    }
    std::string line;
    std::getline(in, line);
    std::vector<int> columns;
    for (const auto& h : splitTabs(line)) {
        const auto idx = def.fieldIndex(h);
        if (!idx) {
            throw ParseError(tsv.string() + ": unknown field \"" + h + "\".");
        }
        columns.push_back(*idx);
    }
    std::vector<std::vector<Value>> rows;
    for (int n = 2; std::getline(in, line); ++n) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty()) {
            continue;
        }
        const auto cells = splitTabs(line);
        if (cells.size() > columns.size()) {
            throw ParseError(tsv.string() + " line " + std::to_string(n) + " has too many cells.");
        }
        std::vector<Value> values(def.fields.size());
        for (size_t c = 0; c < cells.size(); ++c) {
            values[columns[c]] = parseCell(cells[c], def.fields[columns[c]],
                                           tsv.string() + " line " + std::to_string(n));
        }
        rows.push_back(std::move(values));
    }
    Table table(name, std::move(def));
    table.setDirectory(dir);
    table.setTableName(name);
    if (table.exists()) {
        table.deleteTable();
    }
    CreateTableWithDriver(table);
    table.close();
    table.replaceAllRecords(std::move(rows));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: dravin-mkmasters FLOORS.tsv KINDS.tsv OUTPUT-DIR\n";
        return 2;
    }
    try {
        const std::filesystem::path out = argv[3];
        std::filesystem::create_directories(out);
        build(argv[1], out, "DrvFloor", floorTableDef());
        build(argv[2], out, "DrvXoros", xorosTableDef());
    } catch (const std::exception& e) {
        std::cerr << "dravin-mkmasters: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
