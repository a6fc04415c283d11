#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "data/tabledef.h"
#include "data/value.h"

namespace dravin {

class ParadoxMemoFile;

// A Paradox table file's records, its fields matched by name (letter case aside) to the
// fields of one of our tables.
struct ParadoxTableRead {
    std::vector<std::vector<Value>> rows;  // in the stored field order of the definition
    std::vector<std::string> leftOut;      // fields of the file the definition lacks
    std::vector<std::string> missing;      // fields of the definition the file lacks (blank)
};

// True when the bytes start as a Paradox data file (.DB) does: a file of this program's
// own engine, or any other file, does not.
bool looksLikeParadoxTable(std::string_view firstBytes) noexcept;

// Reads every record of the data file (.DB) with pxlib; memo fields come from the memo
// file, which may be null when the table has none. Text stays in code page 1253. Throws
// ParseError naming the file, and the field where there is one, for a damaged or cut
// file, a missing or mismatched memo file, a field of another type, or a value that our
// field cannot hold.
ParadoxTableRead readParadoxTable(std::string_view dbBytes, const ParadoxMemoFile* memo,
                                  const std::string& fileName, const TableDef& def);

// The Paradox field type (pxlib's code) that holds one of our field types.
int paradoxFieldType(FieldType type) noexcept;

// Whether the table has memo fields, so that it needs its memo file.
bool paradoxTableHasMemos(std::string_view dbBytes, const std::string& fileName);

}  // namespace dravin
