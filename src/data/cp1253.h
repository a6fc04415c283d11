#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace dravin::cp1253 {

// The Windows Greek code page, the byte form of all text on disk and at the C boundary.

// UTF-8 → code page 1253. Throws RangeError naming the first character that has no
// code page 1253 form, or on malformed UTF-8.
std::string encode(std::string_view utf8);

// True when every character of the UTF-8 text has a code page 1253 form.
bool canEncode(std::string_view utf8) noexcept;

// The first character of the UTF-8 text (as UTF-8) that has no code page 1253 form; U+FFFD
// for malformed UTF-8. None when the whole text can be encoded.
std::optional<std::string> firstUnencodable(std::string_view utf8);

// Code page 1253 → UTF-8. The bytes the code page leaves undefined become U+FFFD.
std::string decode(std::string_view bytes);

// The Unicode character of one byte, or 0 where the code page defines none.
char32_t toUnicode(unsigned char byte) noexcept;

}  // namespace dravin::cp1253
