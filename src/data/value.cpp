#include "value.h"

#include <cmath>

#include "greekcollation.h"

namespace dravin {

std::int32_t Value::toInteger() const noexcept {
    if (const auto* i = std::get_if<std::int32_t>(&mData)) {
        return *i;
    }
    if (const auto* d = std::get_if<double>(&mData)) {
        if (std::isnan(*d)) {
            return 0;
        }
        const double r = std::round(*d);
        if (r >= 2147483647.0) {
            return INT32_MAX;
        }
        if (r <= -2147483648.0) {
            return INT32_MIN;
        }
        return static_cast<std::int32_t>(r);
    }
    return 0;
}

double Value::toReal() const noexcept {
    if (const auto* d = std::get_if<double>(&mData)) {
        return *d;
    }
    if (const auto* i = std::get_if<std::int32_t>(&mData)) {
        return *i;
    }
    return 0.0;
}

const std::string& Value::textBytes() const noexcept {
    static const std::string kEmpty;
    const auto* s = std::get_if<std::string>(&mData);
    return s ? *s : kEmpty;
}

int compareValues(const Value& a, const Value& b) noexcept {
    if (a.isBlank() || b.isBlank()) {
        return int(b.isBlank()) - int(a.isBlank());
    }
    if (a.isText() || b.isText()) {
        return compareGreek(a.textBytes(), b.textBytes());
    }
    if (a.isInteger() && b.isInteger()) {
        const auto x = a.toInteger(), y = b.toInteger();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    const double x = a.toReal(), y = b.toReal();
    return x < y ? -1 : (x > y ? 1 : 0);
}

}  // namespace dravin
