#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "data/errors.h"
#include "data/studyfiles.h"
#include "data/table.h"
#include "data/tabledefinitions.h"
#include "data/tdravindatat.h"
#include "support/studyfixture.h"
#include "support/tempdir.h"
#include "support/unprivileged.h"

namespace dravin {
namespace {

namespace fs = std::filesystem;
using test::StudyFixture;
using test::TempDir;

std::string recordText(Table& t, int id) {
    return t.findKey({Value::integer(id)}) ? test::dumpRow(t, t.currentRow()) : "(none)";
}

void setCoef1(Table& t, int id, double value) {
    ASSERT_TRUE(t.findKey({Value::integer(id)})) << id;
    t.edit();
    t.field("Coef1").setFloat(value);
    t.post();
}

double coef1(Table& t, int id) {
    return t.findKey({Value::integer(id)}) ? t.field("Coef1").asFloat() : -1.0;
}

// ---------------------------------------------------------------- opening the masters

TEST(ParameterTablesTest, EmptyDataDirectoryGetsTwoEmptyMasterTables) {
    TempDir dir;
    TDravinDataT data;
    data.OpenParameterTables(dir.path());

    EXPECT_TRUE(fs::is_regular_file(dir / "DrvFloor.DB"));
    EXPECT_TRUE(fs::is_regular_file(dir / "DrvXoros.DB"));
    for (Table* t : {&data.FloorTo, &data.XorosTo}) {
        EXPECT_TRUE(t->isOpen()) << t->tableName();
        EXPECT_TRUE(t->isEmpty()) << t->tableName();
        EXPECT_EQ(t->languageDriver(), kLanguageDriver) << t->tableName();
    }
    // A study created in such a run has empty floor and kind tables, the rest as usual.
    data.OpenStudy(dir.path(), "NEA");
    EXPECT_TRUE(data.FloorT.isEmpty());
    EXPECT_TRUE(data.XorosT.isEmpty());
    EXPECT_EQ(data.GenDataT.recordCount(), 1);
}

TEST(ParameterTablesTest, ExistingMasterTablesKeepTheirRows) {
    TempDir dir;
    test::writeMasterTables(dir.path());
    TDravinDataT data;
    data.OpenParameterTables(dir.path());
    Table expected("E", floorTableDef());
    expected.setDirectory(dir.path());
    expected.setTableName("Expected");
    CreateTableWithDriver(expected);
    expected.replaceAllRecords(test::masterFloorRows());
    EXPECT_EQ(test::dumpTable(data.FloorTo), test::dumpTable(expected));
    EXPECT_EQ(data.XorosTo.recordCount(), static_cast<int>(test::masterXorosRows().size()));
}

TEST(ParameterTablesTest, ForeignFileUnderAMasterNameIsRefusedAndLeftAlone) {
    TempDir dir;
    test::writeFile(dir / "DrvXoros.DB", "someone else's file");
    TDravinDataT data;
    EXPECT_THROW(data.OpenParameterTables(dir.path()), EngineError);
    EXPECT_EQ(test::readFile(dir / "DrvXoros.DB"), "someone else's file");
    EXPECT_FALSE(data.XorosTo.isOpen());
}

// The master tables of an installed copy lie in a folder the program cannot write: they are
// read where they stand, with nothing made beside them, and said to take no writes.
TEST(ParameterTablesTest, MasterTablesOpenFromAFolderThatTakesNoWrites) {
    TempDir dir;
    const fs::path data = dir / "DB2";
    fs::create_directories(data);
    test::writeMasterTables(data);
    const auto listing = [&] {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(data)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    };
    const auto before = listing();
    test::ReadOnlyBind readOnly(data);
    if (!readOnly.active()) {
        GTEST_SKIP() << readOnly.reason();
    }
    TDravinDataT run;

    run.OpenParameterTables(data);

    EXPECT_EQ(run.FloorTo.recordCount(), static_cast<int>(test::masterFloorRows().size()));
    EXPECT_EQ(run.XorosTo.recordCount(), static_cast<int>(test::masterXorosRows().size()));
    EXPECT_FALSE(run.FloorTo.fileWritable());
    EXPECT_FALSE(run.XorosTo.fileWritable());
    run.OpenStudy(dir.path(), "NEA");
    EXPECT_EQ(run.FloorT.recordCount(), run.FloorTo.recordCount());
    // Unlocked, they cannot be opened for writing.
    run.FloorTo.close();
    run.FloorTo.setReadOnly(false);
    EXPECT_THROW(run.FloorTo.open(), EngineError);
    EXPECT_EQ(listing(), before);
}

// A log of unfinished changes beside a master table could only be finished by a writer.
TEST(ParameterTablesTest, UnfinishedChangesInAFolderThatTakesNoWritesAreNamed) {
    TempDir dir;
    test::writeMasterTables(dir.path());
    test::writeFile(dir / "DrvFloor.DB-wal", "changes");
    test::ReadOnlyBind readOnly(dir.path());
    if (!readOnly.active()) {
        GTEST_SKIP() << readOnly.reason();
    }
    TDravinDataT run;
    try {
        run.OpenParameterTables(dir.path());
        ADD_FAILURE() << "the master table was read without its changes";
    } catch (const EngineError& e) {
        EXPECT_NE(std::string(e.what()).find("ανολοκλήρωτες αλλαγές"), std::string::npos)
            << e.what();
    }
}

// Without master tables (the data directory did not exist at start) a new study starts
// with empty floor and kind tables, to be filled by the initialisation once the masters
// are there; the initialisation itself then says that they are missing.
TEST(ParameterTablesTest, WithoutMasterTablesANewStudyStartsWithEmptyFloorsAndKinds) {
    TempDir dir;
    {
        TDravinDataT data;

        data.OpenStudy(dir.path(), "NEA");

        EXPECT_EQ(data.studyName(), "NEA");
        for (Table* t : data.workingSet()) {
            EXPECT_TRUE(t->isOpen()) << t->tableName();
        }
        EXPECT_TRUE(data.FloorT.isEmpty());
        EXPECT_TRUE(data.XorosT.isEmpty());
        EXPECT_EQ(data.GenDataT.recordCount(), 1);
        for (void (TDravinDataT::*init)() :
             {&TDravinDataT::InitFloorParameters, &TDravinDataT::InitXorosParameters}) {
            try {
                (data.*init)();
                ADD_FAILURE() << "the initialisation ran without master tables";
            } catch (const EngineError& e) {
                EXPECT_STREQ(e.what(), kMastersMissingMessage);
            }
        }
        EXPECT_TRUE(data.FloorT.isOpen());
        EXPECT_TRUE(data.FloorT.isEmpty());
    }
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        files.push_back(entry.path().filename().string());
    }
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"NEADravin_DRAVIN.DB", "NEAFloor_DRAVIN.DB",
                                               "NEAGenData_DRAVIN.DB", "NEAOwner_DRAVIN.DB",
                                               "NEAXoros_DRAVIN.DB"}));

    // A later run with the masters fills the floors and kinds through the initialisation.
    test::writeMasterTables(dir.path());
    TDravinDataT later;
    later.OpenParameterTables(dir.path());
    later.OpenStudy(dir.path(), "NEA");
    EXPECT_TRUE(later.FloorT.isEmpty());
    later.InitFloorParameters();
    later.InitXorosParameters();
    EXPECT_EQ(later.FloorT.recordCount(), later.FloorTo.recordCount());
    EXPECT_EQ(later.XorosT.recordCount(), later.XorosTo.recordCount());
}

// ---------------------------------------------------------------- initialisation

// The floor and the kind initialisation behave alike; each case names one of them.
struct InitCase {
    const char* name;
    Table TDravinDataT::*study;
    Table TDravinDataT::*master;
    void (TDravinDataT::*init)();
    int shared;      // in master and study
    int masterOnly;  // removed from the study
    int studyOnly;   // added to the study
};

std::ostream& operator<<(std::ostream& os, const InitCase& c) {
    return os << c.name;
}

class InitParametersTest : public StudyFixture, public ::testing::WithParamInterface<InitCase> {
protected:
    Table& study() { return mData.*(GetParam().study); }
    Table& master() { return mData.*(GetParam().master); }
    void init() { (mData.*(GetParam().init))(); }
};

TEST_P(InitParametersTest, MergesTheMasterRowsIntoTheStudyByKey) {
    const InitCase& c = GetParam();
    mData.OpenStudy(mStudiesDir, "A");
    Table& s = study();
    // The shared record differs in a coefficient and in a field the master leaves blank.
    ASSERT_TRUE(s.findKey({Value::integer(c.shared)}));
    s.edit();
    s.field("Coef1").setFloat(9.5);
    s.field("Area").setFloat(12.0);
    s.post();
    ASSERT_TRUE(s.findKey({Value::integer(c.masterOnly)}));
    s.remove();
    s.append();
    s.field(s.def().fields[0].name).setInteger(c.studyOnly);
    s.field("Coef1").setFloat(7.25);
    s.post();
    const std::string own = recordText(s, c.studyOnly);

    init();

    EXPECT_EQ(recordText(s, c.shared), recordText(master(), c.shared));
    EXPECT_EQ(recordText(s, c.masterOnly), recordText(master(), c.masterOnly));
    EXPECT_EQ(recordText(s, c.studyOnly), own);
    EXPECT_EQ(s.recordCount(), master().recordCount() + 1);
    EXPECT_TRUE(s.isOpen());
}

TEST_P(InitParametersTest, LeavesAReadOnlyStudyTableWritable) {
    mData.OpenStudy(mStudiesDir, "A");
    Table& s = study();
    s.close();
    s.setReadOnly(true);
    s.open();
    init();
    EXPECT_FALSE(s.readOnly());
    EXPECT_TRUE(s.isOpen());
}

TEST_P(InitParametersTest, MasterChangeReachesAStudyOnlyThroughInitialisation) {
    const int id = GetParam().shared;
    mData.OpenStudy(mStudiesDir, "OLD");
    const double original = coef1(study(), id);
    // Written as its dialog does once unlocked: the masters open for reading only.
    EXPECT_TRUE(master().readOnly());
    master().close();
    master().setReadOnly(false);
    master().open();
    setCoef1(master(), id, 4.5);

    EXPECT_EQ(coef1(study(), id), original);
    mData.OpenStudy(mStudiesDir, "NEW");
    EXPECT_EQ(coef1(study(), id), 4.5);
    mData.OpenStudy(mStudiesDir, "OLD");
    EXPECT_EQ(coef1(study(), id), original);
    init();
    EXPECT_EQ(coef1(study(), id), 4.5);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, InitParametersTest,
    ::testing::Values(InitCase{"Floor", &TDravinDataT::FloorT, &TDravinDataT::FloorTo,
                               &TDravinDataT::InitFloorParameters, 1, 0, 77},
                      InitCase{"Xoros", &TDravinDataT::XorosT, &TDravinDataT::XorosTo,
                               &TDravinDataT::InitXorosParameters, 10, 20, 300}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace dravin
