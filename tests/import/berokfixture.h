#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace dravin::test {

// One record of a fixture space table of the sibling product; the fields the import
// does not read get plausible values.
struct BerokRow {
    BerokRow(std::string floorText, std::optional<int> useCode, std::optional<double> areaValue,
             bool isDeleted = false)
        : floor(std::move(floorText)), use(useCode), area(areaValue), deleted(isDeleted) {}
    // A record whose AREA holds the text given, as it stands.
    static BerokRow withAreaText(std::string floorText, std::string text) {
        BerokRow row(std::move(floorText), 0, std::nullopt);
        row.areaText = std::move(text);
        return row;
    }

    std::string floor;  // UTF-8, written in code page 1253
    std::optional<int> use;
    std::optional<double> area;
    bool deleted = false;
    std::string areaText;
};

// A field as a fixture declares it: name, dBase type letter, width, decimals.
struct DbfField {
    std::string name;
    char type = 'C';
    int width = 0;
    int decimals = 0;
};

// The sibling's 23 fields as it declares them.
std::vector<DbfField> berokFields();

// Writes dir/B97Areas.DBF with shapelib and returns its path. Fields the rows fill
// but the list lacks are left out.
std::filesystem::path writeBerokTable(const std::filesystem::path& dir,
                                      const std::vector<BerokRow>& rows,
                                      const std::vector<DbfField>& fields = berokFields());

}  // namespace dravin::test
