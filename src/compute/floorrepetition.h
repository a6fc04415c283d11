#pragma once

namespace dravin {

class TDravinDataT;

// Copies the spaces of the source floor to the target floor: kind, number, rooms,
// clear area and height, with the target floor's abbreviation from the master floor
// table; the entry rules fill volume and coefficients. The copies have no owner and
// no computed values. Floor and grand total rows are not copied.
//
// Nothing is copied when the target floor is not in the master floor table. More than
// kMaxRepeatedSpaces spaces on the source floor is a RangeError before anything is
// added. A copy whose key is taken ends the repetition after the entry rules' message
// (AbortError); the copies made before it remain, the refused one is dropped.
void RepeatFloor(TDravinDataT& data, int source, int target);

inline constexpr int kMaxRepeatedSpaces = 100;

}  // namespace dravin
