#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dravin {

enum class FieldType { Integer, Float, Alpha, Memo, FormattedMemo };

enum class Alignment { Left, Right, Center };

// A stored field: one column of the table file, in the table's field order.
struct FieldDef {
    std::string name;
    FieldType type = FieldType::Integer;
    int size = 0;               // capacity in code page 1253 bytes, Alpha only
    std::string displayFormat;  // picture of the grids and edits, e.g. "###0.00"
    Alignment alignment = Alignment::Right;

    bool isText() const noexcept {
        return type == FieldType::Alpha || type == FieldType::Memo ||
               type == FieldType::FormattedMemo;
    }
};

// A field shown between the stored ones whose text comes from another table:
// the `resultField` of the record there whose `lookupKeyField` equals our `keyField`.
struct LookupDef {
    std::string name;
    std::string keyField;
    std::string lookupTable;  // component name of the other table
    std::string lookupKeyField;
    std::string resultField;
    int size = 0;
    int position = 0;  // index among the declared fields, stored and lookup alike
};

// What a table component knows of its table: stored fields in order, the primary
// index (empty: natural order), and lookup fields.
struct TableDef {
    std::vector<FieldDef> fields;
    std::vector<std::string> primaryKey;
    std::string primaryIndexName;
    std::vector<LookupDef> lookups;

    // Stored and lookup fields in their declared order (lookups at their positions).
    struct Column {
        int storedIndex = -1;  // -1 for a lookup
        const LookupDef* lookup = nullptr;
        const std::string& name(const TableDef& d) const {
            return lookup ? lookup->name : d.fields[storedIndex].name;
        }
    };
    std::vector<Column> declaredColumns() const;

    // Index of a stored field by name, ignoring letter case.
    std::optional<int> fieldIndex(std::string_view name) const noexcept;
    const LookupDef* lookup(std::string_view name) const noexcept;
};

bool equalsIgnoreCase(std::string_view a, std::string_view b) noexcept;

}  // namespace dravin
