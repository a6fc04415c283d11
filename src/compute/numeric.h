#pragma once

namespace dravin {

// The numeric functions of the computation. Formulas are evaluated in long double
// (80-bit extended on x86-64); every value that is stored, tested or rounded is first
// held as a double.

// Rounds x to n decimals (n from 0 to 6), halves to the even neighbour, on the exact
// value of x: RoundDecimals(2, 2.675) is 2.67 because the double 2.675 lies below it.
// Values too large for the rounding (|x| ≥ 2147483647 / 10ⁿ) come back unchanged.
// Throws RangeError for n outside 0 … 6.
long double RoundDecimals(int n, long double x);

// |x| > 0.0001 (the extended value nearest 0.0001); IsNegligible is its opposite.
bool IsSignificant(long double x) noexcept;
bool IsNegligible(long double x) noexcept;

// RoundDecimals(2, x) held as a double, as every stored result is.
double R2(long double x);

// x held as a double, as every value that is stored, tested or rounded.
inline double held(long double x) noexcept {
    return static_cast<double>(x);
}

// acc += term. A term that is neither stored, tested nor rounded stays extended until
// the sum is held: holding it first would round it twice.
inline void accumulate(double& acc, long double term) noexcept {
    acc = held(acc + term);
}

}  // namespace dravin
