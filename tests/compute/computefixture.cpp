#include "computefixture.h"
#include "support/values.h"

#include <cmath>
#include <filesystem>
#include <limits>

#include "compute/computation.h"
#include "compute/entryrules.h"
#include "compute/numeric.h"
#include "data/cp1253.h"
#include "data/tabledefinitions.h"
#include "support/studyfixture.h"

namespace dravin::test {
namespace {

std::vector<Value> floorRow(const FloorSpec& f) {
    return makeRow(floorTableDef(), {{"IDFloor", I(f.id)},
                                     {"Name1", T("Όροφος")},
                                     {"Name2", T(f.name2)},
                                     {"Coef1", R(f.coef1)},
                                     {"Coef2", R(f.coef2)},
                                     {"Coef3", R(f.coef3)},
                                     {"Coef4", R(1.0)},
                                     {"Coef5", R(1.0)},
                                     {"Height", R(f.height)}});
}

std::vector<Value> kindRow(const KindSpec& k) {
    return makeRow(xorosTableDef(), {{"IDXoros", I(k.id)},
                                     {"Name", T("Χώρος")},
                                     {"Coef1", R(k.coef1)},
                                     {"Coef2", R(k.coef2)},
                                     {"Coef3", R(k.coef3)},
                                     {"Coef4", R(k.coef4)},
                                     {"Coef5", R(k.coef5)},
                                     {"Coef6", R(1.0)}});
}

std::vector<Value> keyValues(const SpaceKey& key) {
    return {I(key.floor), I(key.kind), key.number ? I(*key.number) : Value()};
}

// The files and the data module every test works on, made once.
struct SharedStudy {
    TempDir temp;
    ScriptedFeedback feedback;
    TDravinDataT data;

    SharedStudy() {
        const auto dataDir = temp / "DB2";
        const auto studiesDir = temp / "MELETES";
        std::filesystem::create_directories(dataDir);
        std::filesystem::create_directories(studiesDir);
        writeTable(
            dataDir, "DrvFloor", floorTableDef(),
            {floorRow({-1, 0.8, 0.5, 0.0, 2.5, "ΥΠ"}), floorRow({0, 1.0, 1.0, 1.0, 3.0, "ΙΣ"}),
             floorRow({1, 1.1, 1.0, 1.1, 2.9, "Α"}), floorRow({2, 1.2, 1.0, 1.2, 2.9, "Β"}),
             floorRow({40, 1.0, 1.0, 0.0, 3.0, "ΜΕΛ"})});
        writeTable(dataDir, "DrvXoros", xorosTableDef(),
                   {kindRow({10}), kindRow({20, 0.3, 1.0, 0.5, 0.5, 0.0}),
                    kindRow({213, 0.0, 0.0, 0.0, 0.0, 0.0})});
        data.OpenParameterTables(dataDir);
        data.OpenStudy(studiesDir, "T");
        installEntryRules(data, feedback);
        data.setProgress(&feedback);
    }
};

SharedStudy& sharedStudy() {
    static SharedStudy study;
    return study;
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const SpaceKey& key) {
    out << "(" << key.floor << ", " << key.kind << ", ";
    if (key.number) {
        out << *key.number;
    } else {
        out << "blank";
    }
    return out << ")";
}

std::vector<Value> makeRow(const TableDef& def,
                           std::initializer_list<std::pair<const char*, Value>> values) {
    std::vector<Value> row(def.fields.size());
    for (const auto& [name, value] : values) {
        row[static_cast<size_t>(*def.fieldIndex(name))] = value;
    }
    return row;
}

std::vector<FloorSpec> plainFloors() {
    return {{-1}, {0}, {1}, {2}, {40}};
}

std::vector<KindSpec> plainKinds() {
    return {{10}, {20}, {200}, {213}, {230}};
}

ComputeFixture::ComputeFixture() : mFeedback(sharedStudy().feedback), mData(sharedStudy().data) {
    mFeedback = ScriptedFeedback();
    for (Table* t :
         {&mData.FloorT, &mData.XorosT, &mData.OwnersT, &mData.DravinT, &mData.GenDataT}) {
        t->cancel();
    }
    mData.DataChanged = true;
    mData.Importing = false;
    mData.ResidualTargetSet = false;
    mData.ResidualTargetKey = {};
    mData.OwnersT.replaceAllRecords({});
    makeStudy({}, {}, {});
}

void ComputeFixture::makeStudy(const std::vector<FloorSpec>& floors,
                               const std::vector<KindSpec>& kinds,
                               const std::vector<SpaceSpec>& spaces, const GeneralSpec& general) {
    std::vector<std::vector<Value>> floorRows, kindRows, spaceRows;
    for (const auto& f : floors) {
        floorRows.push_back(floorRow(f));
    }
    for (const auto& k : kinds) {
        kindRows.push_back(kindRow(k));
    }
    for (const auto& s : spaces) {
        auto row = makeRow(dravinTableDef(), {{"IDfloor", I(s.floor)},
                                              {"IDXoros", I(s.kind)},
                                              {"NumberXoros", I(s.number)},
                                              {"AreaClear", R(s.area)},
                                              {"XCoef7", R(s.xcoef7)},
                                              {"XCoef8", R(1.0)}});
        if (s.height != 0.0) {
            row[*dravinTableDef().fieldIndex("Height")] = R(s.height);
            const double v = s.area * s.height;
            if (IsSignificant(v)) {
                row[*dravinTableDef().fieldIndex("VolumeClear")] = R(R2(v));
            }
        }
        spaceRows.push_back(std::move(row));
    }
    mData.FloorT.replaceAllRecords(std::move(floorRows));
    mData.XorosT.replaceAllRecords(std::move(kindRows));
    mData.DravinT.replaceAllRecords(std::move(spaceRows));
    mData.GenDataT.replaceAllRecords(
        {makeRow(genDataTableDef(), {{"AreaOikopedo", R(general.plot)},
                                     {"DravinTotal", R(general.total)},
                                     {"Dravinmelontika", R(general.future)}})});
}

void ComputeFixture::setGeneral(const char* field, double value) {
    Table& g = mData.GenDataT;
    g.first();
    g.edit();
    g.field(field).setFloat(value);
    g.post();
}

void ComputeFixture::compute() {
    ComputeAll(mData, mFeedback);
}

void ComputeFixture::go(const SpaceKey& key) {
    ASSERT_TRUE(mData.DravinT.findKey(keyValues(key))) << key;
}

SpaceKey ComputeFixture::currentKey() {
    Table& d = mData.DravinT;
    const Value n = d.field("NumberXoros").value();
    return {d.field("IDfloor").asInteger(), d.field("IDXoros").asInteger(),
            n.isBlank() ? std::nullopt : std::optional<int>(n.toInteger())};
}

int ComputeFixture::rowOf(const SpaceKey& key) const {
    const Table& d = mData.DravinT;
    const auto want = keyValues(key);
    for (int row = 0; row < d.recordCount(); ++row) {
        if (d.rowValue(row, 0) == want[0] && d.rowValue(row, 1) == want[1] &&
            d.rowValue(row, 2) == want[2]) {
            return row;
        }
    }
    return -1;
}

Value ComputeFixture::value(const SpaceKey& key, const char* field) const {
    return mData.DravinT.rowValue(rowOf(key), *mData.DravinT.def().fieldIndex(field));
}

double ComputeFixture::number(const SpaceKey& key, const char* field) const {
    const Value v = value(key, field);
    return v.isBlank() ? std::numeric_limits<double>::quiet_NaN() : v.toReal();
}

std::vector<SpaceKey> ComputeFixture::keys() const {
    std::vector<SpaceKey> result;
    const Table& d = mData.DravinT;
    for (int row = 0; row < d.recordCount(); ++row) {
        const Value n = d.rowValue(row, 2);
        result.push_back({d.rowValue(row, 0).toInteger(), d.rowValue(row, 1).toInteger(),
                          n.isBlank() ? std::nullopt : std::optional<int>(n.toInteger())});
    }
    return result;
}

}  // namespace dravin::test
