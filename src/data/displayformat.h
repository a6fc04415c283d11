#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "value.h"

namespace dravin {

// Number display in the picture notation of the field formats, as the grids, the CSV
// export and the printed tables show numbers:
//   '0'  forced digit; '#' optional digit (no leading zero, no trailing decimal zero);
//   '.'  decimal point, dropped when no decimal follows it;
//   ','  anywhere: group the integer digits by three with a space, the comma itself is not shown;
//   any other character is copied where it stands ("###0.00  " keeps its two blanks).
// The integer part shows every digit of the value, however few placeholders the picture has.
// A minus goes right before the first digit or the decimal point; a value that shows as zero
// gets none. An all-'#' picture shows zero as nothing ("##" of 0 is "").
//
// A double is rounded on its shortest round-trip decimal form, half away from zero, so a
// stored 2.675 shows as "2.68" and 1.005 as "1.01" even though the binary values lie just below.
// An empty picture gives that shortest form itself: fixed notation from 1E-4 up to below 1E15,
// otherwise "1.5E20" / "1E-5". NaN and infinities show as "NAN", "INF" and "-INF".
std::string formatNumber(double value, std::string_view picture);
std::string formatNumber(std::int32_t value, std::string_view picture);

// A field's display text: blank shows nothing, numbers use the picture, text is decoded
// from code page 1253 to UTF-8 (the picture does not apply).
std::string formatValue(const Value& v, std::string_view picture);

}  // namespace dravin
