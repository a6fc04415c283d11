#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "data/table.h"
#include "data/tdravindatat.h"
#include "support/tempdir.h"

namespace dravin::test {

// Writes a table file through the engine (with the language driver) holding rows
// in stored field order; replaces a table already there.
void writeTable(const std::filesystem::path& dir, const std::string& name, const TableDef& def,
                std::vector<std::vector<Value>> rows);

// The small master tables the study tests start from: floors -1, 0, 1, 40 and
// kinds 10, 20, 213, with Greek names.
std::vector<std::vector<Value>> masterFloorRows();
std::vector<std::vector<Value>> masterXorosRows();
void writeMasterTables(const std::filesystem::path& dataDir);

// One record of an open table as "name=value" joined by '|': blank as "null", text
// quoted. Readable in a failed comparison.
std::string dumpRow(const Table& table, int row);
// Every record, one line each.
std::string dumpTable(const Table& table);

// The demo study's exchange file in the source tree.
std::filesystem::path demoStudyFile();

// A temporary program layout: data directory DB2 with the master tables (opened),
// studies directory MELETES, and a data module on no study yet.
class StudyFixture : public ::testing::Test {
protected:
    StudyFixture();

    std::filesystem::path studyFile(const std::string& name, const char* partWord) const;
    void addOwner(const std::string& name, int id);
    void addSpace(int floor, int kind, int number, double areaClear, int owner);
    // The working set's five tables, dumped under their part words.
    std::string dumpStudy();

    TempDir mTemp;
    std::filesystem::path mDataDir;
    std::filesystem::path mStudiesDir;
    TDravinDataT mData;
};

}  // namespace dravin::test
