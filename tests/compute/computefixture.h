#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "data/table.h"
#include "data/tdravindatat.h"
#include "scriptedfeedback.h"

namespace dravin::test {

struct FloorSpec {
    int id;
    double coef1 = 1.0;
    double coef2 = 1.0;
    double coef3 = 1.0;
    double height = 3.0;
    const char* name2 = "";
};

struct KindSpec {
    int id;
    double coef1 = 1.0;
    double coef2 = 1.0;
    double coef3 = 1.0;
    double coef4 = 1.0;
    double coef5 = 1.0;
};

// A space as the entry rules leave it: VolumeClear = R2(AreaClear × Height), XCoef7 set.
struct SpaceSpec {
    int floor;
    int kind;
    int number;
    double area;
    double height = 0.0;  // 0 leaves Height and VolumeClear blank
    double xcoef7 = 1.0;
};

struct GeneralSpec {
    double plot = 0.0;
    double total = 1000.0;
    double future = 0.0;
};

// The key of a space-table record; total rows and the future row have no number.
struct SpaceKey {
    int floor;
    int kind;
    std::optional<int> number;
    bool operator==(const SpaceKey&) const = default;
};
std::ostream& operator<<(std::ostream& out, const SpaceKey& key);

// A record in stored field order from (name, value) pairs; the other fields blank.
std::vector<Value> makeRow(const TableDef& def,
                           std::initializer_list<std::pair<const char*, Value>> values);

// Floors -1 … 2 and 40 and kinds 10, 20, 200, 213, 230, every coefficient 1.
std::vector<FloorSpec> plainFloors();
std::vector<KindSpec> plainKinds();

// The study "T" opened through the data module with the entry rules installed, beside
// master tables holding floors -1, 0, 1, 2, 40 and kinds 10, 20, 213. Creating table
// files is slow, so every test reuses them: each starts with an empty study, no
// pending edit, the data module's flags as after creation and a fresh script.
class ComputeFixture : public ::testing::Test {
protected:
    ComputeFixture();

    // Replaces the records of the study's floor, kind, space and general tables; no
    // rule fires. The cursor ends on the first space.
    void makeStudy(const std::vector<FloorSpec>& floors, const std::vector<KindSpec>& kinds,
                   const std::vector<SpaceSpec>& spaces, const GeneralSpec& general = {});
    void setGeneral(const char* field, double value);
    void compute();

    void go(const SpaceKey& key);
    SpaceKey currentKey();
    // Reading by key leaves the cursor alone; a missing record reads as blank.
    int rowOf(const SpaceKey& key) const;
    Value value(const SpaceKey& key, const char* field) const;
    bool isBlank(const SpaceKey& key, const char* field) const {
        return value(key, field).isBlank();
    }
    // A blank field reads as NaN, so that it never passes for a number.
    double number(const SpaceKey& key, const char* field) const;
    std::vector<SpaceKey> keys() const;

    ScriptedFeedback& mFeedback;
    TDravinDataT& mData;
};

}  // namespace dravin::test
