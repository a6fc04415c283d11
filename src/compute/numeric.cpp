#include "numeric.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "data/errors.h"

namespace dravin {

long double RoundDecimals(int n, long double x) {
    static constexpr long double kPowers[] = {1.0L,     10.0L,     100.0L,    1000.0L,
                                              10000.0L, 100000.0L, 1000000.0L};
    if (n < 0 || n > 6) {
        throw RangeError("Δεν γίνεται στρογγυλοποίηση σε " + std::to_string(n) +
                         " δεκαδικά ψηφία.");
    }
    const long double p = kPowers[n];
    const long double sign = x >= 0 ? 1.0L : -1.0L;
    const long double magnitude = std::fabs(x);
    if (!(magnitude < 2147483647.0L / p)) {
        return x;
    }
    // Below 2^31 the scaled value converts exactly; halves go to the even neighbour.
    const long double scaled = magnitude * p;
    auto whole = static_cast<std::int64_t>(scaled + 0.5L);
    if (static_cast<long double>(whole) - scaled == 0.5L && (whole & 1) != 0) {
        --whole;
    }
    return sign * static_cast<long double>(whole) / p;
}

bool IsSignificant(long double x) noexcept {
    return std::fabs(x) > 0.0001L;
}

bool IsNegligible(long double x) noexcept {
    return !IsSignificant(x);
}

double R2(long double x) {
    return static_cast<double>(RoundDecimals(2, x));
}

}  // namespace dravin
