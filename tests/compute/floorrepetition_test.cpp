#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compute/computation.h"
#include "compute/entryrules.h"
#include "compute/floorrepetition.h"
#include "computefixture.h"
#include "data/cp1253.h"
#include "data/errors.h"
#include "data/tabledefinitions.h"

namespace dravin {
namespace {

using test::ComputeFixture;
using test::SpaceKey;
using test::SpaceSpec;

// The master floor table holds floors -1, 0, 1, 2 and 40 (floor 2 abbreviated "Β");
// the study's own abbreviations differ, and its floor 3 is not in the master.
class FloorRepetitionTest : public ComputeFixture {
protected:
    void makeFloors(const std::vector<SpaceSpec>& spaces) {
        makeStudy({{-1},
                   {0},
                   {1, 1.1, 1.0, 1.1, 2.9, "S1"},
                   {2, 1.2, 0.9, 1.2, 3.1, "S2"},
                   {3, 1.3, 1.0, 1.3, 3.2, "S3"}},
                  {{10, 1.0, 1.0, 1.0, 1.0, 0.9}, {20, 0.3, 1.0, 0.5, 0.5, 0.0}}, spaces);
    }
    // Floor 1 with three flats, the first with its own XCoef7, rooms and an owner.
    void makeFloorOne() {
        makeFloors({{1, 10, 1, 80, 2.9, 1.2}, {1, 10, 2, 60, 2.9}, {1, 10, 3, 40.5, 2.8}});
        go({1, 10, 1});
        Table& d = mData.DravinT;
        d.edit();
        d.field("NumberofRooms").setInteger(3);
        d.field("IDowner").setInteger(5);
        d.post();
    }
    std::vector<SpaceKey> floorKeys(int floor) const {
        std::vector<SpaceKey> result;
        for (const auto& k : keys()) {
            if (k.floor == floor) {
                result.push_back(k);
            }
        }
        return result;
    }
    void expectSettled() {
        EXPECT_EQ(mData.DravinT.state(), TableState::Browse);
        EXPECT_FALSE(mFeedback.busy);
        for (Table* t : {&mData.FloorT, &mData.XorosT, &mData.DravinT}) {
            EXPECT_FALSE(t->controlsDisabled()) << t->componentName();
        }
    }
};

TEST_F(FloorRepetitionTest, CopiesTheSpacesOfAFloorToAnother) {
    makeFloorOne();
    mData.DataChanged = false;
    RepeatFloor(mData, 1, 2);

    const std::vector<SpaceKey> expected = {{2, 10, 1}, {2, 10, 2}, {2, 10, 3}};
    ASSERT_EQ(floorKeys(2), expected);
    const double areas[] = {80, 60, 40.5};
    const double heights[] = {2.9, 2.9, 2.8};
    const double volumes[] = {232, 174, 113.4};
    for (int n = 1; n <= 3; ++n) {
        const SpaceKey copy{2, 10, n};
        const auto i = static_cast<size_t>(n - 1);
        EXPECT_DOUBLE_EQ(number(copy, "AreaClear"), areas[i]) << copy;
        EXPECT_DOUBLE_EQ(number(copy, "Height"), heights[i]) << copy;
        EXPECT_DOUBLE_EQ(number(copy, "VolumeClear"), volumes[i]) << copy;
        EXPECT_EQ(value(copy, "Name2Floor"), Value::bytes(cp1253::encode("Β"))) << copy;
        EXPECT_DOUBLE_EQ(number(copy, "XCoef7"), 1.0) << copy;
        EXPECT_DOUBLE_EQ(number(copy, "XCoef8"), 1.0) << copy;
        EXPECT_DOUBLE_EQ(number(copy, "FCoef1"), 1.2) << copy;  // the study's floor 2
        EXPECT_DOUBLE_EQ(number(copy, "XCoef5"), 0.9) << copy;
        for (const char* blank : {"IDowner", "AreaKoin", "AreaMikto", "DravinOikopedo",
                                  "PartofOikopedo", "PosostoDapanes1"}) {
            EXPECT_TRUE(isBlank(copy, blank)) << copy << " " << blank;
        }
    }
    EXPECT_EQ(value({2, 10, 1}, "NumberofRooms"), Value::integer(3));
    // The source floor keeps what is its own.
    EXPECT_DOUBLE_EQ(number({1, 10, 1}, "XCoef7"), 1.2);
    EXPECT_EQ(value({1, 10, 1}, "IDowner"), Value::integer(5));
    EXPECT_TRUE(mData.DataChanged);
    EXPECT_TRUE(mFeedback.messages.empty());
    expectSettled();
}

TEST_F(FloorRepetitionTest, SecondRepetitionStopsAtTheFirstCopy) {
    makeFloorOne();
    RepeatFloor(mData, 1, 2);
    const int count = mData.DravinT.recordCount();
    EXPECT_THROW(RepeatFloor(mData, 1, 2), AbortError);
    EXPECT_EQ(mFeedback.messages, std::vector<std::string>{kDuplicateSpaceMessage});
    EXPECT_EQ(mData.DravinT.recordCount(), count);
    expectSettled();

    // The refused copy is not left pending: the next repetition runs.
    RepeatFloor(mData, 1, 0);
    EXPECT_EQ(floorKeys(0).size(), 3u);
    EXPECT_EQ(mFeedback.messages.size(), 1u);
}

TEST_F(FloorRepetitionTest, CopiesPostedBeforeARefusedOneRemain) {
    makeFloors({{1, 10, 1, 80}, {1, 10, 2, 60}, {1, 10, 3, 40}, {2, 10, 2, 99}});
    EXPECT_THROW(RepeatFloor(mData, 1, 2), AbortError);
    const std::vector<SpaceKey> expected = {{2, 10, 1}, {2, 10, 2}};
    EXPECT_EQ(floorKeys(2), expected);
    EXPECT_DOUBLE_EQ(number({2, 10, 2}, "AreaClear"), 99.0);
    expectSettled();
}

struct NothingCase {
    const char* name;
    int source;
    int target;
};

void PrintTo(const NothingCase& c, std::ostream* out) {
    *out << c.name;
}

class NothingCopiedTest : public FloorRepetitionTest,
                          public ::testing::WithParamInterface<NothingCase> {};

TEST_P(NothingCopiedTest, AddsNothingAndSaysNothing) {
    makeFloorOne();
    const auto before = keys();
    RepeatFloor(mData, GetParam().source, GetParam().target);
    EXPECT_EQ(keys(), before);
    EXPECT_TRUE(mFeedback.messages.empty());
    expectSettled();
}

INSTANTIATE_TEST_SUITE_P(Cases, NothingCopiedTest,
                         ::testing::Values(NothingCase{"EmptySourceFloor", -1, 0},
                                           NothingCase{"TargetOnlyInTheStudysFloorTable", 1, 3},
                                           NothingCase{"TargetInNoFloorTable", 1, 7}),
                         [](const auto& info) { return std::string(info.param.name); });

class RepetitionLimitTest : public FloorRepetitionTest,
                            public ::testing::WithParamInterface<int> {};

TEST_P(RepetitionLimitTest, AtMostAHundredSpacesAreRepeated) {
    const int count = GetParam();
    std::vector<SpaceSpec> spaces;
    for (int n = 1; n <= count; ++n) {
        spaces.push_back({1, 10, n, 10});
    }
    makeFloors(spaces);
    if (count <= kMaxRepeatedSpaces) {
        RepeatFloor(mData, 1, 2);
        EXPECT_EQ(floorKeys(2).size(), static_cast<size_t>(count));
    } else {
        EXPECT_THROW(RepeatFloor(mData, 1, 2), RangeError);
        EXPECT_TRUE(floorKeys(2).empty());
    }
    expectSettled();
}

INSTANTIATE_TEST_SUITE_P(Counts, RepetitionLimitTest, ::testing::Values(100, 101));

TEST_F(FloorRepetitionTest, TotalRowsAreNotRepeated) {
    makeFloorOne();
    ComputeAll(mData, mFeedback);
    ASSERT_GE(rowOf({1, kFloorTotalXoros, std::nullopt}), 0);
    RepeatFloor(mData, 1, 2);
    const std::vector<SpaceKey> expected = {{2, 10, 1}, {2, 10, 2}, {2, 10, 3}};
    EXPECT_EQ(floorKeys(2), expected);
    EXPECT_TRUE(isBlank({2, 10, 1}, "AreaKoin"));  // computed values are not carried
}

TEST_F(FloorRepetitionTest, RefusedRequests) {
    makeFloorOne();
    const auto before = keys();
    EXPECT_THROW(RepeatFloor(mData, 1, 1), RangeError);
    mData.FloorTo.close();
    EXPECT_THROW(RepeatFloor(mData, 1, 2), EngineError);
    mData.FloorTo.open();
    EXPECT_EQ(keys(), before);
    expectSettled();
}

}  // namespace
}  // namespace dravin
