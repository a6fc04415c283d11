#include "field.h"

#include <cstdio>

#include "cp1253.h"
#include "errors.h"
#include "table.h"

namespace dravin {

const std::string& Field::name() const noexcept {
    return mLookup ? mLookup->name : mTable->mDef.fields[mIndex].name;
}

const FieldDef* Field::def() const noexcept {
    return mLookup ? nullptr : &mTable->mDef.fields[mIndex];
}

Value Field::value() const {
    if (mLookup) {
        return mTable->lookupValue(*mLookup, mTable->currentRow());
    }
    return mTable->currentValue(mIndex);
}

std::string Field::asString() const {
    const Value v = value();
    if (v.isText()) {
        return cp1253::decode(v.textBytes());
    }
    if (v.isInteger()) {
        return std::to_string(v.toInteger());
    }
    if (v.isReal()) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.15g", v.toReal());
        return buf;
    }
    return {};
}

void Field::setValue(const Value& v) {
    if (mLookup) {
        throw EngineError("Το πεδίο " + mLookup->name + " του πίνακα " + mTable->mComponentName +
                          " είναι πεδίο αναφοράς και δεν αλλάζει.");
    }
    mTable->setFieldValue(mIndex, v);
}

void Field::setString(std::string_view utf8) {
    if (mLookup) {
        setValue(Value());  // reports the lookup error
    }
    const FieldDef& f = mTable->mDef.fields[mIndex];
    if (!f.isText()) {
        throw EngineError("Το πεδίο " + f.name + " του πίνακα " + mTable->mComponentName +
                          " δέχεται αριθμούς, όχι κείμενο.");
    }
    setValue(utf8.empty() ? Value() : Value::bytes(cp1253::encode(utf8)));
}

}  // namespace dravin
