#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "data/tabledef.h"
#include "data/value.h"

namespace dravin::test {

// A field of a Paradox table as pxlib writes it: pxlib's type code and the field's
// length in the record (for a memo, the leading bytes kept in the record plus ten).
struct ParadoxField {
    std::string name;
    int type = 0;
    int length = 0;
};

// The fields of one of our tables as the older program laid them out; memos keep
// `memoLeader` bytes in the record.
std::vector<ParadoxField> paradoxFields(const TableDef& def, int memoLeader = 20);

// Writes <path> (a .DB file) with pxlib, and the memo file beside it (same name, .MB)
// when a field is a memo. Rows hold values in field order; text is code page 1253.
void writeParadoxTable(const std::filesystem::path& path, const std::vector<ParadoxField>& fields,
                       const std::vector<std::vector<Value>>& rows);

// The five tables of a study, in the order floor, kind, owner, space, general data,
// each in the stored field order of our definitions.
using StudyRows = std::vector<std::vector<std::vector<Value>>>;
void writeParadoxStudy(const std::filesystem::path& dir, const std::string& name,
                       const StudyRows& tables);

}  // namespace dravin::test
