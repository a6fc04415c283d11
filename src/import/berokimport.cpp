#include "berokimport.h"

#include <array>
#include <charconv>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "compute/coefficients.h"
#include "data/cp1253.h"
#include "data/errors.h"
#include "data/table.h"
#include "data/tdravindatat.h"

namespace dravin {
namespace {

// The sibling's use codes and the kinds of space they stand for.
constexpr std::array<std::pair<int, int>, 15> kUseKinds = {{
    {0, 10},
    {10, 220},
    {11, 20},
    {12, 213},
    {13, 80},
    {14, 83},
    {15, 20},
    {80, 50},
    {81, 20},
    {83, 80},
    {85, 20},
    {90, 40},
    {91, 20},
    {93, 80},
    {95, 20},
}};

std::optional<int> kindOfUse(int use) noexcept {
    for (const auto& [code, kind] : kUseKinds) {
        if (code == use) {
            return kind;
        }
    }
    return std::nullopt;
}

constexpr size_t kPrefixLength = 6;

// Characters 7 and 8 of FLOOR as a whole number; blanks around it are allowed.
std::optional<int> floorNumber(std::string_view floor) {
    std::string_view digits = floor.substr(std::min(floor.size(), kPrefixLength), 2);
    while (!digits.empty() && digits.front() == ' ') {
        digits.remove_prefix(1);
    }
    while (!digits.empty() && digits.back() == ' ') {
        digits.remove_suffix(1);
    }
    int n = 0;
    const auto r = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    if (digits.empty() || r.ec != std::errc() || r.ptr != digits.data() + digits.size() ||
        digits.front() == '-') {
        return std::nullopt;
    }
    return n;
}

// The floor a record lies on, from the first six bytes of FLOOR compared byte for byte;
// none for a record that is not a space of a floor, or whose floor number is not a
// number (the sibling knows no such floor either).
std::optional<int> floorOf(const std::string& floor) {
    static const std::string storey = cp1253::encode("οροφ.-");
    static const std::string ground = cp1253::encode("ισόγει");
    static const std::string basement = cp1253::encode("υπόγ.-");
    if (floor.size() < kPrefixLength) {
        return std::nullopt;
    }
    const std::string_view prefix(floor.data(), kPrefixLength);
    if (prefix == ground) {
        return 0;
    }
    if (prefix != storey && prefix != basement) {
        return std::nullopt;
    }
    const auto n = floorNumber(floor);
    if (!n) {
        return std::nullopt;
    }
    return prefix == storey ? *n : -*n;
}

struct PlannedSpace {
    int floor = 0;
    std::optional<int> kind;  // empty for a use code the table does not list
    int number = 0;
    double area = 0.0;
};

// The spaces the records make, numbered per floor across all kinds in file order.
// Checked in full before anything is changed.
std::vector<PlannedSpace> plannedSpaces(const std::vector<BerokRecord>& records,
                                        const std::filesystem::path& file) {
    std::array<int, kHighestImportFloor - kLowestImportFloor + 1> counters{};
    std::vector<PlannedSpace> spaces;
    for (const BerokRecord& rec : records) {
        const auto floor = floorOf(rec.floor);
        if (!floor) {
            continue;
        }
        if (*floor < kLowestImportFloor || *floor > kHighestImportFloor) {
            throw RangeError("Η εγγραφή " + std::to_string(rec.number) + " του " + file.string() +
                             " βρίσκεται στον όροφο " + std::to_string(*floor) +
                             "· η εισαγωγή δέχεται ορόφους από " +
                             std::to_string(kLowestImportFloor) + " έως " +
                             std::to_string(kHighestImportFloor) + ".");
        }
        PlannedSpace s;
        s.floor = *floor;
        s.kind = kindOfUse(rec.use.value_or(0));
        s.number = ++counters[static_cast<size_t>(*floor - kLowestImportFloor)];
        s.area = rec.area.value_or(0.0);
        spaces.push_back(s);
    }
    return spaces;
}

Value valueAt(const Table& table, int row, const char* field) {
    return row < 0 ? Value() : table.rowValue(row, *table.def().fieldIndex(field));
}

// Composes each space in the edit buffer of the space table, so that the entry rules
// fire as they do for a record typed in, and takes the buffer's values without posting.
std::vector<std::vector<Value>> composedRecords(Table& spaces, const Table& floors,
                                                const Table& kinds,
                                                const std::vector<PlannedSpace>& planned) {
    Field idFloor = spaces.field("IDfloor");
    Field idXoros = spaces.field("IDXoros");
    Field number = spaces.field("NumberXoros");
    Field areaClear = spaces.field("AreaClear");
    Field height = spaces.field("Height");
    Field name2Floor = spaces.field("Name2Floor");
    Field xCoef7 = spaces.field("XCoef7");
    Field xCoef8 = spaces.field("XCoef8");
    const int fieldCount = static_cast<int>(spaces.def().fields.size());

    std::vector<std::vector<Value>> rows;
    rows.reserve(planned.size());
    try {
        for (const PlannedSpace& s : planned) {
            spaces.append();
            idFloor.setInteger(s.floor);
            if (s.kind) {
                idXoros.setInteger(*s.kind);
            }
            areaClear.setFloat(s.area);
            number.setInteger(s.number);
            // A floor or kind the study lacks leaves what it would bring blank.
            const int floorRow = rowWithKey(floors, "IDFloor", Value::integer(s.floor));
            height.setValue(valueAt(floors, floorRow, "Height"));
            name2Floor.setValue(valueAt(floors, floorRow, "Name2"));
            if (idXoros.asInteger() == 0) {
                idXoros.setInteger(s.floor < 0 ? 20 : 10);
            }
            xCoef7.setFloat(1.0);
            xCoef8.setFloat(1.0);
            ApplyFloorCoefficients(spaces, floors, floorRow);
            ApplyXorosCoefficients(spaces, kinds, rowWithKey(kinds, "IDXoros", idXoros.value()));
            std::vector<Value> row;
            row.reserve(static_cast<size_t>(fieldCount));
            for (int i = 0; i < fieldCount; ++i) {
                row.push_back(Field(spaces, i, nullptr).value());
            }
            rows.push_back(std::move(row));
            spaces.cancel();
        }
    } catch (...) {
        spaces.cancel();
        throw;
    }
    return rows;
}

// Importing is set for exactly one import, whatever way it ends.
class ImportingScope {
public:
    explicit ImportingScope(TDravinDataT& data) noexcept : mData(data) { mData.Importing = true; }
    ~ImportingScope() { mData.Importing = false; }
    ImportingScope(const ImportingScope&) = delete;
    ImportingScope& operator=(const ImportingScope&) = delete;

private:
    TDravinDataT& mData;
};

}  // namespace

void BerokImport::OpenBerokTable(const std::filesystem::path& dir) {
    BerokT.setDirectory(dir);
    BerokT.open();
}

void BerokImport::ImportBerokSpaces() {
    Table& spaces = mData.DravinT;
    if (!spaces.isOpen()) {
        throw EngineError("Δεν υπάρχει ανοιχτή μελέτη για να δεχτεί τους εισαγόμενους χώρους.");
    }
    // Everything that can be wrong with the sibling's table shows here, before any change.
    const std::vector<PlannedSpace> planned =
        plannedSpaces(BerokT.readRecords(), BerokT.filePath());

    DisplaySuspension floorView(mData.FloorT);
    DisplaySuspension kindView(mData.XorosT);
    DisplaySuspension spaceView(spaces);
    ImportingScope importing(mData);
    spaces.cancel();  // an unposted edit goes, as closing the table would drop it
    // The spaces, the total rows and the future row all give way to the imported spaces,
    // in one transaction.
    spaces.replaceAllRecords(composedRecords(spaces, mData.FloorT, mData.XorosT, planned));
    mData.DataChanged = true;
}

}  // namespace dravin
