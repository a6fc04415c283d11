#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace dravin {

// One field's content: blank, a whole number, a real number, or text held as
// code page 1253 bytes (the form it has on disk).
class Value {
public:
    Value() noexcept = default;
    static Value integer(std::int32_t v) { return Value(Data(v)); }
    static Value real(double v) { return Value(Data(v)); }
    static Value bytes(std::string cp1253) { return Value(Data(std::move(cp1253))); }

    bool isBlank() const noexcept { return std::holds_alternative<std::monostate>(mData); }
    bool isInteger() const noexcept { return std::holds_alternative<std::int32_t>(mData); }
    bool isReal() const noexcept { return std::holds_alternative<double>(mData); }
    bool isText() const noexcept { return std::holds_alternative<std::string>(mData); }

    // Blank reads as 0 and as empty text.
    std::int32_t toInteger() const noexcept;
    double toReal() const noexcept;
    const std::string& textBytes() const noexcept;

    bool operator==(const Value& other) const noexcept = default;

private:
    using Data = std::variant<std::monostate, std::int32_t, double, std::string>;
    explicit Value(Data d) : mData(std::move(d)) {}
    Data mData;
};

// Orders key values the way the engine sorts records: blank before every other
// value, numbers by value, text by the Greek collation.
int compareValues(const Value& a, const Value& b) noexcept;

}  // namespace dravin
