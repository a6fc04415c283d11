#pragma once

#include <filesystem>

#include "beroktable.h"

namespace dravin {

class TDravinDataT;

// The import of the building's spaces from the sibling product's space table, beside
// the data module of the run.
class BerokImport {
public:
    explicit BerokImport(TDravinDataT& data) noexcept : mData(data) {}

    // Opens the sibling's table "B97Areas.DBF" in dir (see BerokTable::open).
    void OpenBerokTable(const std::filesystem::path& dir);

    // Replaces every record of the current study's space table by the spaces of the
    // sibling's table: floor from the FLOOR prefix, kind from the use code, numbered per
    // floor in file order, with the floor's height, abbreviation and coefficients and
    // the kind's coefficients. The clear volume comes from the entry rules, which must
    // be installed. All or nothing: the table is read and checked in full first, and
    // the records are replaced in one transaction; on any failure the spaces stay as
    // they were. Throws RangeError for a floor outside -10 … 50.
    void ImportBerokSpaces();

    BerokTable BerokT;

private:
    TDravinDataT& mData;
};

// The floors the import numbers spaces on.
inline constexpr int kLowestImportFloor = -10;
inline constexpr int kHighestImportFloor = 50;

}  // namespace dravin
