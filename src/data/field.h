#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "tabledef.h"
#include "value.h"

namespace dravin {

class Table;

// One field of the current record (or of the edit buffer), addressed by name.
class Field {
public:
    Field(Table& table, int storedIndex, const LookupDef* lookup) noexcept
        : mTable(&table), mIndex(storedIndex), mLookup(lookup) {}

    const std::string& name() const noexcept;
    bool isLookup() const noexcept { return mLookup != nullptr; }
    const FieldDef* def() const noexcept;  // null for a lookup field

    Value value() const;
    bool isNull() const { return value().isBlank(); }
    std::int32_t asInteger() const { return value().toInteger(); }
    double asFloat() const { return value().toReal(); }
    std::string asString() const;  // UTF-8; numbers in plain form

    // Every assignment, also of an equal value, fires the field's change handler.
    void setValue(const Value& v);
    void setInteger(std::int32_t v) { setValue(Value::integer(v)); }
    void setFloat(double v) { setValue(Value::real(v)); }
    void setString(std::string_view utf8);
    void clear() { setValue(Value()); }

private:
    Table* mTable;
    int mIndex;
    const LookupDef* mLookup;
};

}  // namespace dravin
