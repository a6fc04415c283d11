#pragma once

#include <stdlib.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

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

}  // namespace dravin::bench
