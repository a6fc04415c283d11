#include "support/paradoxsample.h"

#include <algorithm>
#include <functional>

#include "data/cp1253.h"
#include "data/tabledefinitions.h"
#include "support/tempdir.h"

namespace dravin::test {
namespace {

const char* const kWords[] = {"Ισόγειο",           "Πρώτος όροφος", "Υπόγειο ΑΒΓ",
                              "Κατάστημα άέήίόύώ", "Αποθήκη ϊϋΐΰ",  "Στάθμευση ς"};

// Text of at most `size` bytes, Greek throughout.
Value text(int seed, int size) {
    std::string t = std::string(kWords[seed % 6]) + " " + std::to_string(seed);
    std::string bytes = cp1253::encode(t);
    bytes.resize(std::min<std::size_t>(bytes.size(), static_cast<std::size_t>(size)));
    return Value::bytes(bytes);
}

// A number: blank, zero, negative and fractional values in turn.
Value number(int seed, int field) {
    switch ((seed + field) % 5) {
        case 0:
            return Value();
        case 1:
            return Value::real(0.0);
        case 2:
            return Value::real(-(seed + field) * 1.25);
        default:
            return Value::real((seed * 31 + field) / 7.0);
    }
}

std::vector<Value> row(const TableDef& def, int seed) {
    std::vector<Value> values;
    for (std::size_t i = 0; i < def.fields.size(); ++i) {
        const FieldDef& f = def.fields[i];
        switch (f.type) {
            case FieldType::Integer:
                values.push_back((seed + static_cast<int>(i)) % 4 == 0 ? Value()
                                 : (seed + static_cast<int>(i)) % 4 == 1
                                     ? Value::integer(0)
                                     : Value::integer(seed * 3 - static_cast<int>(i)));
                break;
            case FieldType::Float:
                values.push_back(number(seed, static_cast<int>(i)));
                break;
            case FieldType::Alpha:
                values.push_back(text(seed + static_cast<int>(i), f.size));
                break;
            default:
                values.push_back(text(seed, 200));
                break;
        }
    }
    return values;
}

std::string manyLines(int lines) {
    std::string notes;
    for (int i = 1; i <= lines; ++i) {
        notes += std::to_string(i) +
                 ". Τα ποσοστά συνιδιοκτησίας υπολογίστηκαν με βάση τις "
                 "αντικειμενικές αξίες (γραμμή " +
                 std::to_string(i) + ").\r\n";
    }
    return cp1253::encode(notes);
}

}  // namespace

Value greek(const std::string& utf8) {
    return Value::bytes(cp1253::encode(utf8));
}

std::vector<TableDef> studyDefs() {
    return {floorTableDef(), xorosTableDef(), ownersTableDef(), dravinTableDef(),
            genDataTableDef()};
}

StudyRows sampleStudy(int spaces) {
    const auto defs = studyDefs();
    StudyRows study(5);
    for (int floor : {-1, 0, 1, 2, 40}) {
        auto r = row(defs[0], floor + 10);
        r[0] = Value::integer(floor);
        study[0].push_back(r);
    }
    for (int kind : {10, 20, 200, 213}) {
        auto r = row(defs[1], kind);
        r[0] = Value::integer(kind);
        study[1].push_back(r);
    }
    for (int id = 1; id <= 4; ++id) {
        auto r = row(defs[2], id);
        // Two owners share a name.
        r[0] =
            greek(id <= 2 ? "Παπαδόπουλος Γιώργος" : "Ωραιόπουλος Άγγελος " + std::to_string(id));
        r[1] = Value::integer(id);
        study[2].push_back(r);
    }
    for (int s = 0; s < spaces; ++s) {
        auto r = row(defs[3], s);
        r[0] = Value::integer(s % 4 - 1);
        r[1] = Value::integer(s % 3 == 0 ? 20 : 10);
        r[2] = Value::integer(s / 4 + 1);
        r[5] = Value::real(40.0 + s % 17);
        r[17] = Value::integer(s % 4 + 1);
        study[3].push_back(r);
    }
    auto general = row(defs[4], 3);
    general[11] = Value::real(1000.0);
    general[13] = Value::bytes(manyLines(80));  // longer than one memo block
    general[14] = Value::bytes(manyLines(3));
    general[15] = greek("Σύντομη");  // held in the record itself
    study[4].push_back(general);
    return study;
}

std::vector<std::pair<std::string, std::string>> filesOf(const std::filesystem::path& dir) {
    std::vector<std::pair<std::string, std::string>> files;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        // Size and hash: a failed comparison stays readable.
        const std::string bytes = e.is_regular_file() ? readFile(e.path()) : "";
        files.emplace_back(e.path().filename().string(),
                           e.is_regular_file() ? std::to_string(bytes.size()) + " bytes, hash " +
                                                     std::to_string(std::hash<std::string>{}(bytes))
                                               : std::string("folder"));
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace dravin::test
