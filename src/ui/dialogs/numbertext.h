#pragma once

#include <string>

namespace dravin {

class Prompter;

// The message shown for typed text that cannot be read as a number.
std::string numberTextMessage(const std::string& cleaned);

// Removes every occurrence of the character from the text.
void DeleteChars(std::string& text, char c) noexcept;

// Strips blanks, units, letters other than E and e and every sign but a leading
// minus; the first comma becomes the decimal point and later decimal points are
// dropped, so that "1.234,5" reads as 1.2345.
void CleanNumberText(std::string& text);

// The number in typed text after cleaning; an empty text is zero. Text that still
// cannot be read is reported to the prompter and the fall-back is returned.
double ParseNumberText(const std::string& text, double fallBack, Prompter& prompter);

}  // namespace dravin
