#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace dravin {

// What the space import reads of one record of the sibling product's space table.
struct BerokRecord {
    int number = 0;                   // position in the file, from 1
    std::string floor;                // FLOOR in code page 1253, without trailing blanks
    std::optional<std::int16_t> use;  // UN; empty when blank
    std::optional<double> area;       // AREA in m²; empty when blank
};

// The sibling product's space table "B97Areas.DBF", a dBase III/IV file. It is only
// ever read: the file is opened read-only for each reading and closed again, so that
// the sibling product can go on writing it between two imports.
class BerokTable {
public:
    static constexpr const char* kTableName = "B97Areas.DBF";

    void setDirectory(const std::filesystem::path& dir);
    const std::filesystem::path& directory() const noexcept { return mDirectory; }
    std::filesystem::path filePath() const;

    // Checks that the file is there, is a whole dBase table and has the fields the
    // sibling writes. Throws IoError for a missing file, ParseError for anything else.
    void open();
    void close() noexcept { mOpen = false; }
    bool isOpen() const noexcept { return mOpen; }

    // Every record in the table's natural order, records marked deleted left out.
    // The file is checked again first, since the sibling may have rewritten it; a
    // value that cannot be read is a ParseError naming its record and field.
    std::vector<BerokRecord> readRecords() const;

private:
    std::filesystem::path mDirectory;
    bool mOpen = false;
};

}  // namespace dravin
