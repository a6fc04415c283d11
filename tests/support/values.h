#pragma once

#include <cstdint>

#include "data/cp1253.h"
#include "data/value.h"

namespace dravin::test {

// Short spellings of field values for tables of cases.
inline Value I(std::int32_t v) {
    return Value::integer(v);
}
inline Value R(double v) {
    return Value::real(v);
}
inline Value T(const char* utf8) {
    return Value::bytes(cp1253::encode(utf8));
}

}  // namespace dravin::test
