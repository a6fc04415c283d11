#include "support/studyfixture.h"
#include "support/values.h"

#include <cstdio>

#include "data/cp1253.h"
#include "data/studyfiles.h"
#include "data/tabledefinitions.h"

namespace dravin::test {
namespace {

std::vector<Value> floorRow(int id, const char* name1, const char* name2, double coef1,
                            double coef3, double height) {
    return {I(id),  T(name1), T(name2), R(coef1), R(1.0),   R(coef3),
            R(1.0), R(1.0),   Value(),  Value(),  R(height)};
}

std::vector<Value> xorosRow(int id, const char* name, double coef1, double coef3) {
    std::vector<Value> row(xorosTableDef().fields.size());
    row[0] = I(id);
    row[1] = T(name);
    for (int c = 2; c <= 9; ++c) {
        row[c] = R(1.0);
    }
    row[2] = R(coef1);
    row[4] = R(coef3);
    return row;
}

}  // namespace

void writeTable(const std::filesystem::path& dir, const std::string& name, const TableDef& def,
                std::vector<std::vector<Value>> rows) {
    Table table(name, def);
    table.setDirectory(dir);
    table.setTableName(name);
    if (table.exists()) {
        table.deleteTable();
    }
    CreateTableWithDriver(table);
    table.replaceAllRecords(std::move(rows));
    table.close();
}

std::vector<std::vector<Value>> masterFloorRows() {
    return {floorRow(-1, "Υπόγειο", "ΥΠ", 0.8, 0.0, 2.5),
            floorRow(0, "Ισόγειο", "ΙΣ", 1.0, 1.0, 3.0),
            floorRow(1, "Α' Όροφος", "Α", 1.1, 1.1, 2.9),
            floorRow(40, "Μελλοντικά", "ΜΕΛ", 1.0, 0.0, 3.0)};
}

std::vector<std::vector<Value>> masterXorosRows() {
    return {xorosRow(10, "Διαμέρισμα", 1.0, 1.0), xorosRow(20, "Αποθήκη", 0.3, 0.5),
            xorosRow(213, "Κλιμακοστάσιο", 0.0, 0.0)};
}

void writeMasterTables(const std::filesystem::path& dataDir) {
    writeTable(dataDir, "DrvFloor", floorTableDef(), masterFloorRows());
    writeTable(dataDir, "DrvXoros", xorosTableDef(), masterXorosRows());
}

std::string dumpRow(const Table& table, int row) {
    if (row < 0 || row >= table.recordCount()) {
        return "(no record)";
    }
    std::string text;
    const auto& fields = table.def().fields;
    for (size_t f = 0; f < fields.size(); ++f) {
        const Value v = table.rowValue(row, static_cast<int>(f));
        text += (f ? "|" : "") + fields[f].name + "=";
        if (v.isBlank()) {
            text += "null";
        } else if (v.isInteger()) {
            text += std::to_string(v.toInteger());
        } else if (v.isReal()) {
            char buf[32];
            std::snprintf(buf, sizeof buf, "%.17g", v.toReal());
            text += buf;
        } else {
            text += "\"" + cp1253::decode(v.textBytes()) + "\"";
        }
    }
    return text;
}

std::string dumpTable(const Table& table) {
    std::string text;
    for (int row = 0; row < table.recordCount(); ++row) {
        text += dumpRow(table, row) + "\n";
    }
    return text;
}

std::filesystem::path demoStudyFile() {
    return DRAVIN_DEMO_STUDY_FILE;
}

StudyFixture::StudyFixture() : mDataDir(mTemp / "DB2"), mStudiesDir(mTemp / "MELETES") {
    std::filesystem::create_directories(mDataDir);
    std::filesystem::create_directories(mStudiesDir);
    writeMasterTables(mDataDir);
    mData.OpenParameterTables(mDataDir);
}

std::filesystem::path StudyFixture::studyFile(const std::string& name, const char* partWord) const {
    return mStudiesDir / (studyTableName(name, partWord) + ".DB");
}

void StudyFixture::addOwner(const std::string& name, int id) {
    Table& o = mData.OwnersT;
    o.append();
    o.field("Name").setString(name);
    o.field("ID").setInteger(id);
    o.post();
}

void StudyFixture::addSpace(int floor, int kind, int number, double areaClear, int owner) {
    Table& d = mData.DravinT;
    d.append();
    d.field("IDfloor").setInteger(floor);
    d.field("IDXoros").setInteger(kind);
    d.field("NumberXoros").setInteger(number);
    d.field("AreaClear").setFloat(areaClear);
    d.field("IDowner").setInteger(owner);
    d.post();
}

std::string StudyFixture::dumpStudy() {
    std::string text;
    const auto tables = mData.workingSet();
    for (size_t n = 0; n < tables.size(); ++n) {
        text += std::string("[") + kStudyPartWords[n] + "]\n" + dumpTable(*tables[n]);
    }
    return text;
}

}  // namespace dravin::test
