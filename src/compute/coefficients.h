#pragma once

namespace dravin {

class Table;
class Value;

// Copy the coefficients of a floor (Coef1 … Coef5 → FCoef1 … FCoef5) or of a kind of
// space (Coef1 … Coef6 → XCoef1 … XCoef6) into the current record of a space table,
// putting it into edit mode. A row of -1 (no such floor or kind) clears them, so that
// a space never carries another floor's or kind's values. Neither posts.
void ApplyFloorCoefficients(Table& spaces, const Table& floors, int floorRow);
void ApplyXorosCoefficients(Table& spaces, const Table& kinds, int kindRow);

// The row whose keyField holds key, or -1 (also for a blank key or a closed table).
int rowWithKey(const Table& table, const char* keyField, const Value& key);

}  // namespace dravin
