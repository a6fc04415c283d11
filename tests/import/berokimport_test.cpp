// The space import into a study: floors from the FLOOR prefixes, kinds from the use
// codes, numbering per floor, the values each space carries, and the study left as it
// was when the import fails.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "berokfixture.h"
#include "compute/entryrules.h"
#include "data/cp1253.h"
#include "data/errors.h"
#include "data/feedback.h"
#include "import/berokimport.h"
#include "support/studyfixture.h"
#include "support/values.h"

namespace dravin {
namespace {

using test::I;
using test::R;
using test::T;

namespace fs = std::filesystem;
using test::BerokRow;

// Counts the resets the views of a table hear.
class ResetCounter final : public TableObserver {
public:
    void tableReset(const Table&) override { ++resets; }
    int resets = 0;
};

class BerokImportTest : public test::StudyFixture {
protected:
    BerokImportTest() {
        mData.OpenStudy(mStudiesDir, "A");
        installEntryRules(mData, mPrompter);
        // Floor 2 and kind 80 besides the masters' floors -1, 0, 1, 40 and kinds 10, 20, 213.
        Table& floors = mData.FloorT;
        floors.append();
        floors.field("IDFloor").setInteger(2);
        floors.field("Name2").setString("Β");
        floors.field("Height").setFloat(3.1);
        for (int c = 1; c <= 5; ++c) {
            floors.field("Coef" + std::to_string(c)).setFloat(1.0 + c / 10.0);
        }
        floors.post();
        Table& kinds = mData.XorosT;
        kinds.append();
        kinds.field("IDXoros").setInteger(80);
        for (int c = 1; c <= 8; ++c) {
            kinds.field("Coef" + std::to_string(c)).setFloat(c / 10.0);
        }
        kinds.post();
    }

    void import(const std::vector<BerokRow>& rows) {
        test::writeBerokTable(mStudiesDir, rows);
        mImport.OpenBerokTable(mStudiesDir);
        mImport.ImportBerokSpaces();
    }

    // Floor/kind/number of every space, in key order.
    std::vector<std::string> keys() {
        std::vector<std::string> result;
        Table& t = mData.DravinT;
        for (int row = 0; row < t.recordCount(); ++row) {
            std::string key;
            for (int f = 0; f < 3; ++f) {
                key += (f ? "/" : "") + std::to_string(t.rowValue(row, f).toInteger());
            }
            result.push_back(key);
        }
        return result;
    }

    Value valueOf(int floor, int kind, int number, const char* field) {
        Table& t = mData.DravinT;
        if (!t.findKey({I(floor), I(kind), I(number)})) {
            ADD_FAILURE() << "no space " << floor << "/" << kind << "/" << number;
            return Value();
        }
        return t.field(field).value();
    }

    SilentFeedback mPrompter;
    BerokImport mImport{mData};
};

// ---------------------------------------------------------------- floors from FLOOR

struct FloorCase {
    const char* floor;
    std::optional<int> idFloor;  // empty: skipped
};

// One study for every case: a fresh one each would cost far more than the imports.
TEST_F(BerokImportTest, FloorFromThePrefix) {
    const FloorCase cases[] = {
        {"οροφ.-3", 3},
        {"οροφ.-12", 12},
        {"οροφ.- 3", 3},   // a leading blank before the number
        {"οροφ.-3 Α", 3},  // a blank after it
        {"οροφ.-50", 50},
        {"υπόγ.-1", -1},
        {"υπόγ.-10", -10},
        {"ισόγει", 0},
        {"ισόγειοΑΒ", 0},  // characters 7 and 8 do not matter
        {"οροφ.-", std::nullopt},
        {"οροφ.-Α", std::nullopt},
        {"οροφ.-3Α", std::nullopt},
        {"οροφ.--1", std::nullopt},
        {"υπόγ.-", std::nullopt},
        {"Οροφ.-3", std::nullopt},  // compared byte for byte: case
        {"όροφ.-3", std::nullopt},  // and accents count
        {" οροφ.-3", std::nullopt},
        {"οροφ.", std::nullopt},  // shorter than the prefix
        {"Δώμα", std::nullopt},
        {"", std::nullopt},
    };
    for (const FloorCase& c : cases) {
        SCOPED_TRACE(c.floor);
        addSpace(1, 10, 1, 50.0, 0);  // the import replaces it in any case
        import({{ c.floor, 0, 10.0 }});
        if (c.idFloor) {
            EXPECT_EQ(keys(), std::vector<std::string>{std::to_string(*c.idFloor) + "/10/1"});
        } else {
            EXPECT_EQ(keys(), std::vector<std::string>{});
        }
        mData.DravinT.emptyTable();
    }
}

// ---------------------------------------------------------------- kinds and numbers

TEST_F(BerokImportTest, NumbersEachFloorAcrossKindsInFileOrder) {
    import({{"οροφ.-2", 0, 10.0},
            {"οροφ.-1", 0, 11.0},
            {"οροφ.-2", 13, 12.0},
            {"Δώμα", 0, 1.0},
            {"οροφ.-2", 12, 13.0},
            {"ισόγειο", 10, 14.0},
            { "οροφ.-1",
              0,
              15.0 }});
    EXPECT_EQ(keys(), (std::vector<std::string>{"0/220/1", "1/10/1", "1/10/2", "2/10/1", "2/80/2",
                                                "2/213/3"}));
    EXPECT_EQ(valueOf(1, 10, 2, "AreaClear"), R(15.0));
    EXPECT_EQ(valueOf(2, 213, 3, "AreaClear"), R(13.0));
}

TEST_F(BerokImportTest, UseCodesMapToKinds) {
    const std::vector<std::pair<int, int>> codes = {
        {0, 10},  {10, 220}, {11, 20}, {12, 213}, {13, 80}, {14, 83}, {15, 20}, {80, 50},
        {81, 20}, {83, 80},  {85, 20}, {90, 40},  {91, 20}, {93, 80}, {95, 20}};
    std::vector<BerokRow> rows;
    for (const auto& [use, kind] : codes) {
        rows.push_back({"οροφ.-1", use, 1.0});
    }
    import(rows);
    Table& t = mData.DravinT;
    for (size_t n = 0; n < codes.size(); ++n) {
        ASSERT_TRUE(t.findKey({I(1), I(codes[n].second), I(static_cast<int>(n) + 1)}))
            << "code " << codes[n].first;
    }
}

TEST_F(BerokImportTest, AnUnlistedCodeGivesStoreroomBelowGroundAndFlatAbove) {
    import({{"υπόγ.-1", 77, 8.0},
            {"οροφ.-1", 77, 9.0},
            {"ισόγειο", 77, 10.0},
            {"υπόγ.-1", std::nullopt, 11.0},
            { "υπόγ.-1",
              0,
              12.0 }});
    // A blank code counts as 0, which the table lists as a flat even below ground.
    EXPECT_EQ(keys(),
              (std::vector<std::string>{"-1/10/2", "-1/10/3", "-1/20/1", "0/10/1", "1/10/1"}));
}

// ---------------------------------------------------------------- values carried

TEST_F(BerokImportTest, EachSpaceCarriesItsFloorAndKind) {
    import({{"οροφ.-1", 11, 12.34}, { "οροφ.-2", 13, std::nullopt }});
    EXPECT_EQ(test::dumpTable(mData.DravinT),
              "IDfloor=1|IDXoros=20|NumberXoros=1|Name2Floor=\"Α\"|NumberofRooms=null|"
              "AreaClear=12.34|AreaMikto=null|AreaKoin=null|Height=2.8999999999999999|"
              "VolumeClear=35.789999999999999|VolumeMikto=null|VolumeKoin=null|"
              "DravinOikopedo=null|PartofOikopedo=null|PosostoDapanes1=null|"
              "PosostoDapanes2=null|PosostoDapanes3=null|IDowner=null|"
              "FCoef1=1.1000000000000001|FCoef2=1|FCoef3=1.1000000000000001|FCoef4=1|FCoef5=1|"
              "XCoef1=0.29999999999999999|XCoef2=1|XCoef3=0.5|XCoef4=1|XCoef5=1|XCoef6=1|"
              "XCoef7=1|XCoef8=1\n"
              // A blank area is 0, and its volume negligible.
              "IDfloor=2|IDXoros=80|NumberXoros=1|Name2Floor=\"Β\"|NumberofRooms=null|"
              "AreaClear=0|AreaMikto=null|AreaKoin=null|Height=3.1000000000000001|"
              "VolumeClear=null|VolumeMikto=null|VolumeKoin=null|"
              "DravinOikopedo=null|PartofOikopedo=null|PosostoDapanes1=null|"
              "PosostoDapanes2=null|PosostoDapanes3=null|IDowner=null|"
              "FCoef1=1.1000000000000001|FCoef2=1.2|FCoef3=1.3|FCoef4=1.3999999999999999|"
              "FCoef5=1.5|XCoef1=0.10000000000000001|XCoef2=0.20000000000000001|"
              "XCoef3=0.29999999999999999|XCoef4=0.40000000000000002|XCoef5=0.5|"
              "XCoef6=0.59999999999999998|XCoef7=1|XCoef8=1\n");
}

TEST_F(BerokImportTest, AFloorOrKindTheStudyLacksLeavesItsFieldsBlank) {
    // Floor 3 is not in the study's floor table, kind 83 not in its kind table.
    import({{"οροφ.-3", 14, 20.0}, {"οροφ.-1", 14, 21.0}, { "οροφ.-3", 0, 22.0 }});
    for (const char* field : {"Height", "Name2Floor", "VolumeClear", "FCoef1", "FCoef5"}) {
        EXPECT_EQ(valueOf(3, 83, 1, field), Value()) << field;
        EXPECT_EQ(valueOf(3, 10, 2, field), Value()) << field;
    }
    for (const char* field : {"XCoef1", "XCoef6"}) {
        EXPECT_EQ(valueOf(3, 83, 1, field), Value()) << field;
        EXPECT_EQ(valueOf(1, 83, 1, field), Value()) << field;
        EXPECT_EQ(valueOf(3, 10, 2, field), R(1.0)) << field;
    }
    EXPECT_EQ(valueOf(1, 83, 1, "Height"), R(2.9));
    EXPECT_EQ(valueOf(1, 83, 1, "VolumeClear"), R(60.9));
    EXPECT_EQ(valueOf(3, 83, 1, "XCoef7"), R(1.0));
    EXPECT_EQ(valueOf(3, 83, 1, "XCoef8"), R(1.0));
}

// ---------------------------------------------------------------- the study as a whole

TEST_F(BerokImportTest, ReplacesEverySpaceTotalRowAndFutureRow) {
    addSpace(1, 10, 1, 50.0, 0);
    addSpace(1, 990, 1, 50.0, 0);
    addSpace(110, 991, 1, 50.0, 0);
    addSpace(40, 0, 1, 0.0, 0);
    mData.DataChanged = false;
    import({{ "οροφ.-1", 0, 10.0 }});
    EXPECT_EQ(keys(), std::vector<std::string>{"1/10/1"});
    EXPECT_TRUE(mData.DataChanged);
    EXPECT_FALSE(mData.Importing);
    // On disk too.
    const std::string imported = test::dumpTable(mData.DravinT);
    mData.OpenStudy(mStudiesDir, "A");
    EXPECT_EQ(test::dumpTable(mData.DravinT), imported);
}

TEST_F(BerokImportTest, ImportingTwiceGivesTheSameRecords) {
    const std::vector<BerokRow> rows = {
        {"οροφ.-1", 0, 10.0}, {"υπόγ.-1", 77, 5.5}, {"οροφ.-1", 12, 3.0}, {"ισόγειο", 11, 7.0}};
    import(rows);
    const std::string once = test::dumpTable(mData.DravinT);
    mImport.ImportBerokSpaces();
    EXPECT_EQ(test::dumpTable(mData.DravinT), once);
}

TEST_F(BerokImportTest, ATableWithoutAKnownPrefixLeavesNoSpaces) {
    addSpace(1, 10, 1, 50.0, 0);
    import({{"Δώμα", 0, 10.0}, {"ΟΡΟΦ.-1", 0, 11.0}, { "", 0, 12.0 }});
    EXPECT_EQ(mData.DravinT.recordCount(), 0);
    addSpace(1, 10, 1, 50.0, 0);
    import({});
    EXPECT_EQ(mData.DravinT.recordCount(), 0);
}

TEST_F(BerokImportTest, AnUnpostedEditGoesAsClosingTheTableWouldDropIt) {
    addSpace(1, 10, 1, 50.0, 0);
    mData.DravinT.edit();
    mData.DravinT.field("AreaClear").setFloat(99.0);
    import({{ "οροφ.-1", 0, 10.0 }});
    EXPECT_EQ(mData.DravinT.state(), TableState::Browse);
    EXPECT_EQ(valueOf(1, 10, 1, "AreaClear"), R(10.0));
}

TEST_F(BerokImportTest, WithoutAnOpenStudyNothingIsRead) {
    test::writeBerokTable(mStudiesDir, {{"οροφ.-1", 0, 10.0}});
    mImport.OpenBerokTable(mStudiesDir);
    for (Table* t : mData.workingSet()) {
        t->close();
    }
    EXPECT_THROW(mImport.ImportBerokSpaces(), EngineError);
    EXPECT_FALSE(mData.Importing);
}

// ---------------------------------------------------------------- failures

// Adds a trigger to the space table's file that fails the import's writes.
void refuseWrites(const fs::path& file, const char* raise) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    const std::string sql =
        std::string(
            "CREATE TRIGGER refuse BEFORE INSERT ON data WHEN NEW.NumberXoros = 2 "
            "BEGIN SELECT RAISE(") +
        raise + ", 'disk trouble'); END";
    char* err = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err), SQLITE_OK) << err;
    sqlite3_free(err);
    sqlite3_close(db);
}

enum class Expected { Range, Parse, Io, Engine };

struct FailureCase {
    const char* name;
    Expected error;
    // Spoils the study or the sibling's table after it was opened.
    std::function<void(const fs::path& table, const fs::path& spaces)> spoil;
};

std::ostream& operator<<(std::ostream& os, const FailureCase& c) {
    return os << c.name;
}

class BerokFailureTest : public BerokImportTest,
                         public ::testing::WithParamInterface<FailureCase> {};

TEST_P(BerokFailureTest, LeavesTheSpacesAsTheyWere) {
    addSpace(1, 10, 1, 50.0, 0);
    addSpace(1, 20, 1, 5.0, 0);
    addSpace(1, 990, 1, 55.0, 0);
    const std::string before = test::dumpTable(mData.DravinT);
    const fs::path table =
        test::writeBerokTable(mStudiesDir, {{"οροφ.-1", 0, 10.0}, {"οροφ.-1", 0, 11.0}});
    mImport.OpenBerokTable(mStudiesDir);
    // The space table's file can be spoilt only while no program holds it.
    mData.DravinT.close();
    GetParam().spoil(table, studyFile("A", "Dravin"));
    mData.DravinT.open();
    ResetCounter views;
    mData.DravinT.addObserver(&views);

    try {
        mImport.ImportBerokSpaces();
        ADD_FAILURE() << "imported";
    } catch (const RangeError&) {
        EXPECT_EQ(GetParam().error, Expected::Range);
    } catch (const ParseError&) {
        EXPECT_EQ(GetParam().error, Expected::Parse);
    } catch (const IoError&) {
        EXPECT_EQ(GetParam().error, Expected::Io);
    } catch (const EngineError&) {
        EXPECT_EQ(GetParam().error, Expected::Engine);
    }

    mData.DravinT.removeObserver(&views);
    EXPECT_EQ(test::dumpTable(mData.DravinT), before);
    EXPECT_FALSE(mData.Importing);
    for (Table* t : {&mData.FloorT, &mData.XorosT, &mData.DravinT}) {
        EXPECT_FALSE(t->controlsDisabled()) << t->componentName();
    }
    if (GetParam().error == Expected::Engine) {
        EXPECT_GT(views.resets, 0);
    }
    EXPECT_EQ(mData.DravinT.state(), TableState::Browse);
    mData.OpenStudy(mStudiesDir, "A");
    EXPECT_EQ(test::dumpTable(mData.DravinT), before);
}

void rewrite(const fs::path& table, const std::vector<BerokRow>& rows) {
    test::writeBerokTable(table.parent_path(), rows);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, BerokFailureTest,
    ::testing::Values(
        FailureCase{
            "FloorAboveTheRange", Expected::Range,
            [](const fs::path& t, const fs::path&) {
                rewrite(t, {{"οροφ.-1", 0, 1.0}, {"οροφ.-2", 0, 1.0}, {"οροφ.-51", 0, 1.0}});
            }},
        FailureCase{"FloorBelowTheRange", Expected::Range,
                    [](const fs::path& t, const fs::path&) {
                        rewrite(t, {{"υπόγ.-1", 0, 1.0}, {"υπόγ.-11", 0, 1.0}});
                    }},
        FailureCase{"AreaNotANumber", Expected::Parse,
                    [](const fs::path& t, const fs::path&) {
                        rewrite(t, {{"οροφ.-1", 0, 1.0}, BerokRow::withAreaText("οροφ.-2", "x")});
                    }},
        FailureCase{"TableCutShort", Expected::Parse,
                    [](const fs::path& t, const fs::path&) {
                        const std::string bytes = test::readFile(t);
                        test::writeFile(t, bytes.substr(0, bytes.size() - 30));
                    }},
        FailureCase{"TableReplacedByText", Expected::Parse,
                    [](const fs::path& t, const fs::path&) {
                        test::writeFile(t, "not a table at all, just some text");
                    }},
        FailureCase{"TableRemoved", Expected::Io,
                    [](const fs::path& t, const fs::path&) { fs::remove(t); }},
        FailureCase{"WriteRefused", Expected::Engine,
                    [](const fs::path&, const fs::path& s) { refuseWrites(s, "ABORT"); }},
        FailureCase{"TransactionLost", Expected::Engine,
                    [](const fs::path&, const fs::path& s) { refuseWrites(s, "ROLLBACK"); }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace dravin
