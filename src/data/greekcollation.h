#pragma once

#include <string_view>

namespace dravin {

// Orders code page 1253 text the way a Greek reader expects: letters by their base
// letter regardless of case and accent (digits first, then Latin, then Greek in
// alphabetical order, final sigma as sigma), ties broken by accent, then case, then bytes.
// Returns <0, 0 or >0; 0 only for identical bytes.
int compareGreek(std::string_view a, std::string_view b) noexcept;

}  // namespace dravin
