#include "tabledef.h"

#include <algorithm>
#include <cctype>

namespace dravin {

bool equalsIgnoreCase(std::string_view a, std::string_view b) noexcept {
    // Field names are ASCII; no locale is involved.
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

std::optional<int> TableDef::fieldIndex(std::string_view name) const noexcept {
    for (size_t i = 0; i < fields.size(); ++i) {
        if (equalsIgnoreCase(fields[i].name, name)) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

std::vector<TableDef::Column> TableDef::declaredColumns() const {
    std::vector<Column> columns;
    size_t stored = 0;
    const size_t total = fields.size() + lookups.size();
    for (size_t pos = 0; pos < total; ++pos) {
        const auto l = std::find_if(lookups.begin(), lookups.end(), [pos](const LookupDef& d) {
            return static_cast<size_t>(d.position) == pos;
        });
        if (l != lookups.end()) {
            columns.push_back({-1, &*l});
        } else if (stored < fields.size()) {
            columns.push_back({static_cast<int>(stored++), nullptr});
        }
    }
    return columns;
}

const LookupDef* TableDef::lookup(std::string_view name) const noexcept {
    for (const auto& l : lookups) {
        if (equalsIgnoreCase(l.name, name)) {
            return &l;
        }
    }
    return nullptr;
}

}  // namespace dravin
