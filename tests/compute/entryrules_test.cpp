#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "compute/entryrules.h"
#include "computefixture.h"
#include "data/errors.h"
#include "data/studyfiles.h"
#include "data/tabledefinitions.h"

namespace dravin {
namespace {

using test::ComputeFixture;
using test::SpaceKey;

class EntryRulesTest : public ComputeFixture {
protected:
    EntryRulesTest() {
        makeStudy({{-1, 0.8, 0.5, 0.0, 2.5, "ΥΠ"},
                   {0, 1.0, 1.0, 1.0, 3.0, "ΙΣ"},
                   {2, 1.2, 1.0, 1.2, 2.9, "Β"}},
                  {{10}, {20, 0.3, 1.0, 0.5, 0.5, 0.0}, {50, 0.7, 0.9, 1.1, 1.2, 1.3}},
                  {{1, 10, 1, 80, 2.9, 1.2}, {1, 10, 2, 60, 2.9}, {1, 10, 3, 40, 2.9}});
        mData.DataChanged = false;
    }

    Table& d() { return mData.DravinT; }
    Field f(const char* name) { return d().field(name); }
    void editSpace(const SpaceKey& key) {
        go(key);
        d().edit();
    }
};

// ---------------------------------------------------------------- volume rule

TEST_F(EntryRulesTest, VolumeFollowsAreaAndHeight) {
    editSpace({1, 10, 1});
    f("Height").setFloat(2.9);
    f("AreaClear").setFloat(85.5);
    EXPECT_DOUBLE_EQ(f("VolumeClear").asFloat(), 247.95);
    f("Height").setFloat(3);
    EXPECT_DOUBLE_EQ(f("VolumeClear").asFloat(), 256.5);
    f("AreaClear").clear();
    EXPECT_TRUE(f("VolumeClear").isNull());
    d().post();
    EXPECT_TRUE(isBlank({1, 10, 1}, "VolumeClear"));
}

TEST_F(EntryRulesTest, EveryAssignmentRecomputesTheVolume) {
    editSpace({1, 10, 2});
    f("VolumeClear").setFloat(999);
    f("AreaClear").setFloat(f("AreaClear").asFloat());  // the same value
    EXPECT_DOUBLE_EQ(f("VolumeClear").asFloat(), 174.0);
}

struct VolumeCase {
    double area;
    std::optional<double> height;
    std::optional<double> volume;  // none: blank
};

void PrintTo(const VolumeCase& c, std::ostream* out) {
    *out << c.area << " × " << (c.height ? std::to_string(*c.height) : "blank");
}

class VolumeRuleTest : public EntryRulesTest, public ::testing::WithParamInterface<VolumeCase> {};

TEST_P(VolumeRuleTest, VolumeIsTheRoundedProductOrBlank) {
    const auto& c = GetParam();
    editSpace({1, 10, 1});
    if (c.height) {
        f("Height").setFloat(*c.height);
    } else {
        f("Height").clear();
    }
    f("AreaClear").setFloat(c.area);
    if (c.volume) {
        EXPECT_DOUBLE_EQ(f("VolumeClear").asFloat(), *c.volume);
    } else {
        EXPECT_TRUE(f("VolumeClear").isNull()) << f("VolumeClear").asFloat();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VolumeRuleTest,
    ::testing::Values(VolumeCase{85.5, 2.9, 247.95}, VolumeCase{85.5, 3.0, 256.5},
                      VolumeCase{0.00003, 3.0, std::nullopt},  // 0.00009 is negligible
                      VolumeCase{10, std::nullopt, std::nullopt}, VolumeCase{0, 3.0, std::nullopt},
                      VolumeCase{-10, 2.5, -25.0},     // no rule checks the sign
                      VolumeCase{0.0001, 1.0, 0.0}));  // significant, rounds to 0.00

// ---------------------------------------------------------------- floor and kind rules

struct DefaultKindCase {
    int floor;
    std::optional<int> kind;  // set before the floor; none: blank
    int expected;
};

void PrintTo(const DefaultKindCase& c, std::ostream* out) {
    *out << "floor " << c.floor << ", kind " << (c.kind ? std::to_string(*c.kind) : "blank");
}

class DefaultKindTest : public EntryRulesTest,
                        public ::testing::WithParamInterface<DefaultKindCase> {};

TEST_P(DefaultKindTest, NewFloorGivesAKindOnlyWhenThereIsNone) {
    const auto& c = GetParam();
    d().append();
    if (c.kind) {
        f("IDXoros").setInteger(*c.kind);
    }
    f("IDfloor").setInteger(c.floor);
    EXPECT_EQ(f("IDXoros").asInteger(), c.expected);
    // The kind rule ran for the kind the space ended with.
    const double coef1[] = {1.0, 0.3, 0.7};
    const int kinds[] = {10, 20, 50};
    for (size_t i = 0; i < 3; ++i) {
        if (kinds[i] == c.expected) {
            EXPECT_DOUBLE_EQ(f("XCoef1").asFloat(), coef1[i]);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, DefaultKindTest,
                         ::testing::Values(DefaultKindCase{-1, std::nullopt, 20},
                                           DefaultKindCase{2, std::nullopt, 10},
                                           DefaultKindCase{0, std::nullopt, 10},
                                           DefaultKindCase{-1, 0, 20}, DefaultKindCase{2, 50, 50},
                                           DefaultKindCase{-1, 50, 50}));

TEST_F(EntryRulesTest, FloorBringsHeightAbbreviationAndCoefficients) {
    // The rule looks the floor up by the number assigned, wherever FloorT stands.
    ASSERT_TRUE(mData.FloorT.findKey({Value::integer(-1)}));
    d().append();
    f("AreaClear").setFloat(10);
    f("IDfloor").setInteger(2);
    EXPECT_DOUBLE_EQ(f("Height").asFloat(), 2.9);
    EXPECT_DOUBLE_EQ(f("VolumeClear").asFloat(), 29.0);
    EXPECT_EQ(f("Name2Floor").asString(), "Β");
    const double expected[] = {1.2, 1.0, 1.2, 1.0, 1.0};
    for (int i = 1; i <= 5; ++i) {
        const std::string name = "FCoef" + std::to_string(i);
        EXPECT_DOUBLE_EQ(f(name.c_str()).asFloat(), expected[i - 1]) << name;
    }
    EXPECT_DOUBLE_EQ(f("XCoef7").asFloat(), 1.0);
    EXPECT_DOUBLE_EQ(f("XCoef8").asFloat(), 1.0);
}

TEST_F(EntryRulesTest, KindBringsItsCoefficientsButNotCoef7AndCoef8) {
    editSpace({1, 10, 2});
    f("IDXoros").setInteger(50);
    const double expected[] = {0.7, 0.9, 1.1, 1.2, 1.3, 1.0};
    for (int i = 1; i <= 6; ++i) {
        const std::string name = "XCoef" + std::to_string(i);
        EXPECT_DOUBLE_EQ(f(name.c_str()).asFloat(), expected[i - 1]) << name;
    }
    EXPECT_DOUBLE_EQ(f("XCoef7").asFloat(), 1.0);
    EXPECT_DOUBLE_EQ(f("XCoef8").asFloat(), 1.0);
}

TEST_F(EntryRulesTest, ChangingFloorOrKindResetsTheSpacesOwnCoefficients) {
    for (const auto& [change, to] : {std::pair{"IDfloor", 2}, std::pair{"IDXoros", 20}}) {
        editSpace({1, 10, 1});
        f("XCoef7").setFloat(1.2);
        f("XCoef8").setFloat(0.8);
        f(change).setInteger(to);
        EXPECT_DOUBLE_EQ(f("XCoef7").asFloat(), 1.0) << change;
        EXPECT_DOUBLE_EQ(f("XCoef8").asFloat(), 1.0) << change;
        d().cancel();
    }
    // Editing anything else keeps them.
    editSpace({1, 10, 1});
    f("AreaClear").setFloat(81);
    d().post();
    EXPECT_DOUBLE_EQ(number({1, 10, 1}, "XCoef7"), 1.2);
}

TEST_F(EntryRulesTest, FloorOrKindMissingFromTheStudyLeavesBlanks) {
    editSpace({1, 10, 1});
    f("IDfloor").setInteger(2);  // fills everything
    f("IDfloor").setInteger(7);
    for (const char* blank : {"Height", "Name2Floor", "VolumeClear", "FCoef1", "FCoef2", "FCoef3",
                              "FCoef4", "FCoef5"}) {
        EXPECT_TRUE(f(blank).isNull()) << blank;
    }
    f("IDXoros").setInteger(77);
    for (const char* blank : {"XCoef1", "XCoef2", "XCoef3", "XCoef4", "XCoef5", "XCoef6"}) {
        EXPECT_TRUE(f(blank).isNull()) << blank;
    }
    EXPECT_DOUBLE_EQ(f("XCoef7").asFloat(), 1.0);
    EXPECT_DOUBLE_EQ(f("AreaClear").asFloat(), 80.0);
}

TEST_F(EntryRulesTest, ImportingSuppressesFloorAndKindRulesButNotTheVolumeRule) {
    mData.Importing = true;
    d().append();
    f("IDfloor").setInteger(-1);
    f("IDXoros").setInteger(50);
    f("NumberXoros").setInteger(1);
    for (const char* blank : {"Height", "Name2Floor", "FCoef1", "XCoef1", "XCoef7", "XCoef8"}) {
        EXPECT_TRUE(f(blank).isNull()) << blank;
    }
    f("AreaClear").setFloat(10);
    f("Height").setFloat(3);
    EXPECT_DOUBLE_EQ(f("VolumeClear").asFloat(), 30.0);
    d().post();
    mData.Importing = false;
    EXPECT_EQ(value({-1, 50, 1}, "IDXoros"), Value::integer(50));
}

TEST_F(EntryRulesTest, SecondSpaceTableFollowsTheSecondSetsFloorTable) {
    // Point the second set at another study whose floor 2 differs.
    const auto dir = mData.DravinT.directory();
    for (Table* t : {&mData.FloorT1, &mData.XorosT1, &mData.DravinT1}) {
        t->close();
        t->setDirectory(dir);
        t->setTableName(studyTableName("U", t == &mData.FloorT1   ? "Floor"
                                            : t == &mData.XorosT1 ? "Xoros"
                                                                  : "Dravin"));
        if (!t->exists()) {
            CreateTableWithDriver(*t);
        }
        t->open();
    }
    mData.FloorT1.replaceAllRecords(
        {test::makeRow(floorTableDef(), {{"IDFloor", Value::integer(2)},
                                         {"Coef1", Value::real(3.0)},
                                         {"Height", Value::real(4.0)}})});
    Table& other = mData.DravinT1;
    other.append();
    other.field("IDfloor").setInteger(2);
    EXPECT_DOUBLE_EQ(other.field("Height").asFloat(), 4.0);
    EXPECT_DOUBLE_EQ(other.field("FCoef1").asFloat(), 3.0);
    EXPECT_EQ(other.field("IDXoros").asInteger(), 10);
    other.cancel();
    for (Table* t : {&mData.FloorT1, &mData.XorosT1, &mData.DravinT1}) {
        t->close();
    }
}

// ---------------------------------------------------------------- posting and deleting

TEST_F(EntryRulesTest, DuplicateNumberIsRefusedWithAMessageAndStaysOpen) {
    d().append();
    f("IDfloor").setInteger(1);
    f("NumberXoros").setInteger(3);
    f("AreaClear").setFloat(55);
    EXPECT_THROW(d().post(), AbortError);
    ASSERT_EQ(mFeedback.messages.size(), 1u);
    EXPECT_EQ(mFeedback.messages[0],
              "προσοχή ο αριθμός χώρου στον όροφο\rπρέπει να είναι μοναδικός");
    EXPECT_EQ(d().state(), TableState::Insert);
    EXPECT_DOUBLE_EQ(f("AreaClear").asFloat(), 55.0);
    EXPECT_DOUBLE_EQ(number({1, 10, 3}, "AreaClear"), 40.0);

    f("NumberXoros").setInteger(4);
    d().post();
    EXPECT_DOUBLE_EQ(number({1, 10, 4}, "AreaClear"), 55.0);
    EXPECT_EQ(mFeedback.messages.size(), 1u);
}

TEST_F(EntryRulesTest, EditThatTakesAnotherSpacesNumberStaysInEditMode) {
    editSpace({1, 10, 2});
    f("NumberXoros").setInteger(3);
    EXPECT_THROW(d().post(), AbortError);
    EXPECT_EQ(d().state(), TableState::Edit);
    EXPECT_EQ(mFeedback.messages, std::vector<std::string>{kDuplicateSpaceMessage});
    d().cancel();
    EXPECT_DOUBLE_EQ(number({1, 10, 2}, "AreaClear"), 60.0);
    EXPECT_FALSE(mData.DataChanged);
}

TEST_F(EntryRulesTest, OtherPostFailuresAreReportedAsTheyAre) {
    ASSERT_TRUE(d().onPostError);
    EXPECT_EQ(d().onPostError(d(), EngineError("The disk is full.")), PostErrorAction::Fail);
    EXPECT_EQ(d().onPostError(d(), KeyViolationError("Key violation.")), PostErrorAction::Abort);
    EXPECT_EQ(mFeedback.messages, std::vector<std::string>{kDuplicateSpaceMessage});
}

TEST_F(EntryRulesTest, DeletionNeedsAYes) {
    mFeedback.script({Prompter::Answer::No, Prompter::Answer::Yes});
    go({1, 10, 2});
    EXPECT_THROW(d().remove(), AbortError);
    EXPECT_GE(rowOf({1, 10, 2}), 0);
    EXPECT_TRUE(mFeedback.messages.empty());

    go({1, 10, 2});
    d().remove();
    EXPECT_EQ(rowOf({1, 10, 2}), -1);
    EXPECT_EQ(mFeedback.questions,
              (std::vector<std::string>{"Να διαγραφεί η εγγραφή", "Να διαγραφεί η εγγραφή"}));
    EXPECT_TRUE(mFeedback.messages.empty());
}

TEST_F(EntryRulesTest, EveryPostOfAStudyTableMarksTheDataChanged) {
    for (Table* t :
         {&mData.DravinT, &mData.OwnersT, &mData.GenDataT, &mData.FloorT, &mData.XorosT}) {
        mData.DataChanged = false;
        t->first();
        t->edit();
        t->post();
        EXPECT_TRUE(mData.DataChanged) << t->componentName();
    }
}

}  // namespace
}  // namespace dravin
