#pragma once

#include "tabledef.h"

namespace dravin {

// The stored layout of every table of a study and of the master tables. The
// field names, order, types, sizes and keys are what table files on disk hold.
TableDef floorTableDef();  // DrvFloor and a study's floor table
TableDef xorosTableDef();  // DrvXoros and a study's space-kind table
TableDef ownersTableDef();
TableDef dravinTableDef();  // the spaces, with the lookups Name1Floor, NameXoros, NameOwner
TableDef genDataTableDef();

// Special rows of the space table.
inline constexpr int kFloorTotalXoros = 990;
inline constexpr int kGrandTotalFloor = 110;
inline constexpr int kGrandTotalXoros = 991;
inline constexpr int kFutureFloor = 40;
inline constexpr int kFutureXoros = 0;

}  // namespace dravin
