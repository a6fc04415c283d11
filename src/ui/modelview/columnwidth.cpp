#include "ui/modelview/columnwidth.h"

#include <cmath>
#include <cstdlib>

namespace dravin {

int shareOfWidth(int width, int percent) noexcept {
    const long long scaled = static_cast<long long>(width) * percent;
    long long q = scaled / 100;
    const long long r = std::llabs(scaled % 100);
    if (r > 50 || (r == 50 && q % 2 != 0)) {
        q += scaled < 0 ? -1 : 1;
    }
    return static_cast<int>(q);
}

int shareOfWidth(int width, double share) noexcept {
    return shareOfWidth(width, static_cast<int>(std::lround(share * 100)));
}

}  // namespace dravin
