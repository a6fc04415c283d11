#pragma once

namespace dravin {

// The nearest whole number to width × percent / 100, exact halves to the even one.
// Worked on whole numbers, so that 7 % of 150 is exactly 10.5 and goes to 10.
int shareOfWidth(int width, int percent) noexcept;

// The same for a share written as a fraction of two decimals (0.07).
int shareOfWidth(int width, double share) noexcept;

}  // namespace dravin
