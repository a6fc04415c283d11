#pragma once

#include <stdlib.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include <sqlite3.h>

#include "data/studyfiles.h"
#include "data/table.h"

namespace dravin::bench {

// A record in stored field order from (field, value) pairs; other fields blank.
inline std::vector<Value> row(const TableDef& def,
                              std::initializer_list<std::pair<const char*, Value>> values) {
    std::vector<Value> r(def.fields.size());
    for (const auto& [name, value] : values) {
        r[*def.fieldIndex(name)] = value;
    }
    return r;
}

// A fresh directory for a benchmark's study.
inline std::filesystem::path makeStudyDirectory(const char* prefix) {
    std::string pattern = std::string("/tmp/") + prefix + "-XXXXXX";
    return mkdtemp(pattern.data());
}

// Creates one table of a study in dir and fills it with rows.
inline void fillStudyTable(Table& t, const std::filesystem::path& dir, const std::string& study,
                           const char* partWord, std::vector<std::vector<Value>> rows) {
    t.setDirectory(dir);
    t.setTableName(studyTableName(study, partWord));
    CreateTableWithDriver(t);
    t.close();
    t.replaceAllRecords(std::move(rows));
}

// The bare floor the engine is measured against: the table file opened directly with
// the engine's pragmas. The engine must not hold the file: it holds it exclusively.
inline sqlite3* openBare(const std::filesystem::path& file) {
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    sqlite3_exec(db, "PRAGMA locking_mode=EXCLUSIVE; PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL",
                 nullptr, nullptr, nullptr);
    return db;
}

// UPDATE of every stored field of a record by row id: the same full row a post writes.
inline std::string fullRowUpdate(const TableDef& def) {
    std::string sql = "UPDATE data SET ";
    for (size_t i = 0; i < def.fields.size(); ++i) {
        sql += (i ? ", \"" : "\"") + def.fields[i].name + "\" = ?";
    }
    return sql + " WHERE rowid = ?";
}

}  // namespace dravin::bench
