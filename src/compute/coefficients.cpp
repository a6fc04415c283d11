#include "coefficients.h"

#include <string>

#include "data/table.h"

namespace dravin {
namespace {

// Copies source fields Coef1 … Coef<count> into <prefix>Coef1 …, by field position:
// both tables keep their coefficients consecutive.
void copyCoefficients(Table& spaces, const Table& source, int sourceRow, const char* prefix,
                      int count) {
    spaces.edit();
    const int from = *source.def().fieldIndex("Coef1");
    const int to = *spaces.def().fieldIndex(std::string(prefix) + "Coef1");
    for (int i = 0; i < count; ++i) {
        Field target(spaces, to + i, nullptr);
        target.setValue(sourceRow >= 0 ? source.rowValue(sourceRow, from + i) : Value());
    }
}

}  // namespace

void ApplyFloorCoefficients(Table& spaces, const Table& floors, int floorRow) {
    copyCoefficients(spaces, floors, floorRow, "F", 5);
}

void ApplyXorosCoefficients(Table& spaces, const Table& kinds, int kindRow) {
    copyCoefficients(spaces, kinds, kindRow, "X", 6);
}

int rowWithKey(const Table& table, const char* keyField, const Value& key) {
    const auto idx = table.def().fieldIndex(keyField);
    if (!table.isOpen() || !idx || key.isBlank()) {
        return -1;
    }
    return table.locate(*idx, key);
}

}  // namespace dravin
