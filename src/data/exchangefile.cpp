#include "exchangefile.h"

#include <array>
#include <cstdint>
#include <istream>
#include <nlohmann/json.hpp>
#include <ostream>
#include <set>

#include "cp1253.h"
#include "displayformat.h"
#include "errors.h"
#include "tdravindatat.h"

namespace dravin {
namespace {

using Json = nlohmann::ordered_json;

constexpr const char* kFormat = "dravin-study";
constexpr int kVersion = 1;

struct Section {
    const char* key;
    Table* table;
};

std::array<Section, 5> sections(TDravinDataT& d) {
    return {{{"floors", &d.FloorT},
             {"kinds", &d.XorosT},
             {"owners", &d.OwnersT},
             {"spaces", &d.DravinT},
             {"general", &d.GenDataT}}};
}

Json toJson(const Value& v) {
    if (v.isBlank()) {
        return nullptr;
    }
    if (v.isInteger()) {
        return v.toInteger();
    }
    if (v.isReal()) {
        return v.toReal();
    }
    return cp1253::decode(v.textBytes());
}

Value fromJson(const Json& j, const FieldDef& f, const std::string& where) {
    if (j.is_null()) {
        return Value();
    }
    switch (f.type) {
        case FieldType::Integer:
            if (j.is_number_integer()) {
                // Beyond 2^63 the signed reading wraps round.
                const bool huge = j.is_number_unsigned() &&
                                  j.get<std::uint64_t>() > static_cast<std::uint64_t>(INT32_MAX);
                const auto n = j.get<std::int64_t>();
                if (huge || n < INT32_MIN || n > INT32_MAX) {
                    throw ParseError("Στην " + where + " το πεδίο " + f.name +
                                     " είναι εκτός ορίων.");
                }
                return Value::integer(static_cast<std::int32_t>(n));
            }
            throw ParseError("Στην " + where + " το πεδίο " + f.name +
                             " πρέπει να είναι ακέραιος αριθμός ή null.");
        case FieldType::Float:
            if (j.is_number()) {
                return Value::real(j.get<double>());
            }
            throw ParseError("Στην " + where + " το πεδίο " + f.name +
                             " πρέπει να είναι αριθμός ή null.");
        default:
            if (!j.is_string()) {
                throw ParseError("Στην " + where + " το πεδίο " + f.name +
                                 " πρέπει να είναι κείμενο ή null.");
            }
            try {
                return Value::bytes(cp1253::encode(j.get<std::string>()));
            } catch (const RangeError& e) {
                throw ParseError("Στην " + where + " το πεδίο " + f.name + ": " + e.what());
            }
    }
}

std::vector<std::vector<Value>> readRecords(const Json& array, const Table& table,
                                            const std::string& key) {
    if (!array.is_array()) {
        throw ParseError("Το τμήμα «" + key + "» του αρχείου ανταλλαγής δεν είναι λίστα εγγραφών.");
    }
    const TableDef& def = table.def();
    std::vector<std::vector<Value>> rows;
    rows.reserve(array.size());
    for (size_t n = 0; n < array.size(); ++n) {
        const Json& record = array[n];
        const std::string where =
            "εγγραφή " + std::to_string(n + 1) + " του τμήματος «" + key + "»";
        if (!record.is_object()) {
            throw ParseError("Η " + where + " δεν είναι αντικείμενο JSON.");
        }
        std::vector<Value> values(def.fields.size());
        for (const auto& [name, j] : record.items()) {
            const auto idx = def.fieldIndex(name);
            if (!idx) {
                throw ParseError("Η " + where + " έχει το άγνωστο πεδίο «" + name + "».");
            }
            values[*idx] = fromJson(j, def.fields[*idx], where);
        }
        rows.push_back(std::move(values));
    }
    try {
        return table.checkedRows(std::move(rows));
    } catch (const Error& e) {
        throw ParseError("Στο τμήμα «" + key + "» του αρχείου ανταλλαγής: " + e.what());
    }
}

// The parser keeps the last of two equal member names silently; a document naming a
// field or a part twice is ambiguous, so it is refused.
Json parseDocument(std::istream& in) {
    std::vector<std::set<std::string>> members;
    const auto check = [&members](int, Json::parse_event_t event, Json& parsed) {
        if (event == Json::parse_event_t::object_start) {
            members.emplace_back();
        } else if (event == Json::parse_event_t::object_end) {
            members.pop_back();
        } else if (event == Json::parse_event_t::key &&
                   !members.back().insert(parsed.get<std::string>()).second) {
            throw ParseError("Το αρχείο ανταλλαγής αναφέρει το «" + parsed.get<std::string>() +
                             "» δύο φορές στο ίδιο αντικείμενο.");
        }
        return true;
    };
    try {
        return Json::parse(in, check);
    } catch (const Json::exception& e) {
        throw ParseError(std::string("Το αρχείο ανταλλαγής δεν είναι έγκυρο JSON: ") + e.what());
    }
}

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (char c : text) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

}  // namespace

void exportStudyJson(TDravinDataT& data, std::ostream& out) {
    Json doc;
    doc["format"] = kFormat;
    doc["version"] = kVersion;
    for (const Section& s : sections(data)) {
        Table& t = *s.table;
        if (!t.isOpen()) {
            throw EngineError("Ο πίνακας " + t.tableName() + " δεν είναι ανοιχτός.");
        }
        t.checkBrowseMode();
        Json records = Json::array();
        for (int row = 0; row < t.recordCount(); ++row) {
            Json record = Json::object();
            for (size_t i = 0; i < t.def().fields.size(); ++i) {
                record[t.def().fields[i].name] = toJson(t.rowValue(row, static_cast<int>(i)));
            }
            records.push_back(std::move(record));
        }
        doc[s.key] = std::move(records);
    }
    out << doc.dump(2, ' ', false, Json::error_handler_t::strict) << '\n';
    if (!out) {
        throw IoError("Το αρχείο ανταλλαγής δεν μπόρεσε να γραφτεί.");
    }
}

void loadStudyJson(TDravinDataT& data, std::istream& in) {
    Json doc = parseDocument(in);
    if (!doc.is_object()) {
        throw ParseError("Το αρχείο ανταλλαγής δεν περιέχει μελέτη.");
    }
    if (doc.contains("format") && doc["format"] != kFormat) {
        throw ParseError("Το αρχείο δεν είναι αρχείο ανταλλαγής μελέτης.");
    }
    if (doc.contains("version") && doc["version"] != kVersion) {
        throw ParseError("Το αρχείο ανταλλαγής έχει έκδοση που αυτό το πρόγραμμα δεν διαβάζει.");
    }
    for (const auto& [key, value] : doc.items()) {
        bool known = key == "format" || key == "version";
        for (const Section& s : sections(data)) {
            known = known || key == s.key;
        }
        if (!known) {
            throw ParseError("Το αρχείο ανταλλαγής έχει το άγνωστο τμήμα «" + key + "».");
        }
    }
    // Check everything first, then replace: a faulty file changes nothing.
    std::array<std::vector<std::vector<Value>>, 5> rows;
    const auto parts = sections(data);
    for (size_t i = 0; i < parts.size(); ++i) {
        if (!doc.contains(parts[i].key)) {
            throw ParseError(std::string("Από το αρχείο ανταλλαγής λείπει το τμήμα «") +
                             parts[i].key + "».");
        }
        rows[i] = readRecords(doc[parts[i].key], *parts[i].table, parts[i].key);
    }
    if (rows[4].size() != 1) {
        throw ParseError(
            "Το τμήμα «general» του αρχείου ανταλλαγής πρέπει να έχει ακριβώς μία εγγραφή.");
    }
    // A read-only table found half-way would leave the tables before it replaced.
    for (const Section& s : parts) {
        if (s.table->readOnly()) {
            throw EngineError("Ο πίνακας " + s.table->tableName() + " είναι μόνο για ανάγνωση.");
        }
    }
    for (size_t i = 0; i < parts.size(); ++i) {
        parts[i].table->replaceAllRecords(std::move(rows[i]));
    }
    data.DataChanged = true;
}

namespace {

// The space table as the grids show it, one cell at a time: every declared field in
// order, lookups resolved, numbers in their display formats.
void writeSpaces(TDravinDataT& data, std::ostream& out, const char* separator, const char* lineEnd,
                 std::string (*cell)(const std::string&)) {
    Table& t = data.DravinT;
    if (!t.isOpen()) {
        throw EngineError("Ο πίνακας " + t.tableName() + " δεν είναι ανοιχτός.");
    }
    t.checkBrowseMode();
    const TableDef& def = t.def();
    const auto columns = def.declaredColumns();
    for (size_t c = 0; c < columns.size(); ++c) {
        out << (c ? separator : "") << columns[c].name(def);
    }
    out << lineEnd;
    for (int row = 0; row < t.recordCount(); ++row) {
        for (size_t c = 0; c < columns.size(); ++c) {
            const auto& col = columns[c];
            const std::string text = col.lookup
                                         ? formatValue(t.lookupValue(*col.lookup, row), "")
                                         : formatValue(t.rowValue(row, col.storedIndex),
                                                       def.fields[col.storedIndex].displayFormat);
            out << (c ? separator : "") << cell(text);
        }
        out << lineEnd;
    }
    if (!out) {
        throw IoError("Ο πίνακας των χώρων δεν μπόρεσε να γραφτεί.");
    }
}

std::string tabCell(const std::string& text) {
    std::string cell = text;
    for (char& c : cell) {
        if (c == '\t' || c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return cell;
}

}  // namespace

void exportSpacesCsv(TDravinDataT& data, std::ostream& out) {
    writeSpaces(data, out, ",", "\r\n", csvField);
}

void printSpaces(TDravinDataT& data, std::ostream& out) {
    writeSpaces(data, out, "\t", "\n", tabCell);
}

}  // namespace dravin
