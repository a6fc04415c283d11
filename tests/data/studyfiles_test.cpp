#include "data/studyfiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "data/cp1253.h"
#include "data/errors.h"
#include "data/sqlitefile.h"
#include "data/table.h"
#include "data/tabledefinitions.h"
#include "data/tdravindatat.h"
#include "support/studyfixture.h"
#include "support/tempdir.h"

namespace dravin {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::StudyFixture;
using test::TempDir;
using test::writeFile;

// "Αρχείο Κατανομής Χιλιοστών" in code page 1253, then CR LF.
const std::string kMarker =
    "\xC1\xF1\xF7\xE5\xDF\xEF \xCA\xE1\xF4\xE1\xED\xEF\xEC\xDE\xF2 "
    "\xD7\xE9\xEB\xE9\xEF\xF3\xF4\xFE\xED\r\n";

// ---------------------------------------------------------------- marker file

TEST(StudyMarkerTest, IsOneLineOf28Bytes) {
    EXPECT_EQ(kMarker.size(), 28u);
    EXPECT_EQ(studyMarkerBytes(), kMarker);
}

TEST(StudyMarkerTest, WriteCreatesOrTruncatesTheMarker) {
    TempDir dir;
    writeFile(dir / "ABC.DVT", std::string(500, 'x'));
    writeStudyMarker(dir.path(), "ABC");
    writeStudyMarker(dir.path(), "Μελέτη");
    EXPECT_EQ(readFile(dir / "ABC.DVT"), kMarker);
    EXPECT_EQ(readFile(dir / "Μελέτη.DVT"), kMarker);
}

TEST(StudyMarkerTest, MissingDirectoryIsAnInputOutputError) {
    TempDir dir;
    EXPECT_THROW(writeStudyMarker(dir / "missing", "ABC"), IoError);
    EXPECT_FALSE(fs::exists(dir / "missing"));
}

struct ChosenFileCase {
    const char* chosen;
    const char* directory;
    const char* name;
};

std::ostream& operator<<(std::ostream& os, const ChosenFileCase& c) {
    return os << c.chosen;
}

class StudyFromMarkerFileTest : public ::testing::TestWithParam<ChosenFileCase> {};

TEST_P(StudyFromMarkerFileTest, SplitsDirectoryAndName) {
    const StudyLocation loc = studyFromMarkerFile(GetParam().chosen);
    EXPECT_EQ(loc.directory, fs::path(GetParam().directory));
    EXPECT_EQ(loc.name, GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    ChosenFiles, StudyFromMarkerFileTest,
    ::testing::Values(ChosenFileCase{"dir/ABC.DVT", "dir", "ABC"},
                      ChosenFileCase{"/data/MELETES/ABC.DVT", "/data/MELETES", "ABC"},
                      ChosenFileCase{"dir//ABC.DVT", "dir", "ABC"},
                      ChosenFileCase{"dir/Πολυκατοικία 2.DVT", "dir", "Πολυκατοικία 2"},
                      ChosenFileCase{"dir/abc.dvt", "dir", "abc"},
                      ChosenFileCase{"dir/ABC.DVT.DVT", "dir", "ABC.DVT"},
                      // Typed without the extension: the name is taken whole.
                      ChosenFileCase{"dir/ABC", "dir", "ABC"},
                      ChosenFileCase{"dir/A.B", "dir", "A.B"},
                      ChosenFileCase{"ABC.DVT", ".", "ABC"}));

TEST(StudyFromMarkerFileTest, NameOfNothingIsRefused) {
    for (const char* chosen : {"dir/", "dir/.DVT", "dir/.."}) {
        EXPECT_THROW(studyFromMarkerFile(chosen), IoError) << chosen;
    }
}

// ---------------------------------------------------------------- opening

// Records the busy cursor and the wait window.
class RecordingProgress final : public ProgressReporter {
public:
    void setBusy(bool busy) override { events += busy ? "busy;" : "idle;"; }
    void showMessage(const std::string& text) override { events += "show " + text + ";"; }
    void setText(const std::string& text) override { events += "text " + text + ";"; }
    void close() override { events += "close;"; }
    std::string events;
};

class StudyFilesTest : public StudyFixture {
protected:
    // A study with something of its own in every table.
    void makeStudyWithContent(const std::string& name) {
        mData.OpenStudy(mStudiesDir, name);
        addOwner("Αλεξίου Δημήτριος", 1);
        addSpace(0, 10, 1, 85.5, 1);
        addSpace(1, 10, 1, 92.0, 2);
        Table& g = mData.GenDataT;
        g.edit();
        g.field("Name1").setString("Πολυκατοικία " + name);
        g.field("DravinTotal").setFloat(800.0);
        g.post();
        ASSERT_TRUE(mData.FloorT.findKey({Value::integer(1)}));
        mData.FloorT.edit();
        mData.FloorT.field("Coef1").setFloat(1.25);
        mData.FloorT.post();
        ASSERT_TRUE(mData.XorosT.findKey({Value::integer(213)}));
        mData.XorosT.remove();
    }

    std::array<std::string, 5> dumpParts() {
        std::array<std::string, 5> parts;
        const auto tables = mData.workingSet();
        for (size_t n = 0; n < tables.size(); ++n) {
            parts[n] = test::dumpTable(*tables[n]);
        }
        return parts;
    }

    void expectOpenOn(const std::string& name) {
        EXPECT_EQ(mData.studyName(), name);
        const auto tables = mData.workingSet();
        for (size_t n = 0; n < tables.size(); ++n) {
            EXPECT_TRUE(tables[n]->isOpen()) << kStudyPartWords[n];
            EXPECT_EQ(tables[n]->filePath(), studyFile(name, kStudyPartWords[n]));
        }
    }
};

TEST_F(StudyFilesTest, NewStudyStartsFromTheMastersAndTheDefaultGeneralData) {
    mData.DataChanged = false;
    mData.OpenStudy(mStudiesDir, "NEA");

    expectOpenOn("NEA");
    EXPECT_EQ(mData.studyDirectory(), mStudiesDir);
    EXPECT_EQ(test::dumpTable(mData.FloorT), test::dumpTable(mData.FloorTo));
    EXPECT_EQ(test::dumpTable(mData.XorosT), test::dumpTable(mData.XorosTo));
    EXPECT_TRUE(mData.OwnersT.isEmpty());
    EXPECT_TRUE(mData.DravinT.isEmpty());
    EXPECT_TRUE(mData.DataChanged);

    Table& g = mData.GenDataT;
    ASSERT_EQ(g.recordCount(), 1);
    EXPECT_EQ(g.field("DravinTotal").value(), Value::real(1000.0));
    EXPECT_EQ(g.field("Notes1").asString(),
              "1. Τα ποσοστά συνιδιοκτησίας υπολογίστηκαν με βάση τις αντικειμενικές αξίες.\r\n"
              "2. Τα ποσοστά δαπανών κοινοχρήστων υπολογίστηκαν με βάση τις μικτές "
              "επιφάνειες.\r\n"
              "3. Τα ποσοστά δαπανών για τον ανελκυστήρα υπολογίστηκαν με βάση τις καθαρές "
              "επιφάνειες και με συντελεστές 1.00, 1.10, 1.20 για τους Α, Β, Γ, ορόφους "
              "αντιστοίχως.\r\n");
    for (const auto& f : g.def().fields) {
        if (f.name != "DravinTotal" && f.name != "Notes1") {
            EXPECT_TRUE(g.field(f.name).isNull()) << f.name;
        }
    }
    for (Table* t : mData.workingSet()) {
        EXPECT_EQ(t->languageDriver(), kLanguageDriver) << t->tableName();
    }
}

TEST_F(StudyFilesTest, TableLeftHalfMadeByAKilledRunIsMadeAgainInFull) {
    // A new table is filled under a temporary name; a killed run leaves only that.
    const fs::path leftover = mStudiesDir / (studyTableName("NEA", "Floor") + ".new.DB");
    writeFile(leftover, "half made");
    mData.OpenStudy(mStudiesDir, "NEA");

    EXPECT_EQ(test::dumpTable(mData.FloorT), test::dumpTable(mData.FloorTo));
    EXPECT_EQ(mData.GenDataT.recordCount(), 1);
    EXPECT_FALSE(fs::exists(leftover));
    for (const auto& entry : fs::directory_iterator(mStudiesDir)) {
        EXPECT_EQ(entry.path().string().find(".new"), std::string::npos) << entry.path();
    }
}

TEST_F(StudyFilesTest, ExistingStudyOpensUnchanged) {
    makeStudyWithContent("A");
    const std::string before = dumpStudy();
    mData.OpenStudy(mStudiesDir, "B");
    // The masters change meanwhile; an existing study is not refilled from them.
    mData.FloorTo.close();
    mData.FloorTo.setReadOnly(false);
    mData.FloorTo.open();
    ASSERT_TRUE(mData.FloorTo.findKey({Value::integer(0)}));
    mData.FloorTo.edit();
    mData.FloorTo.field("Coef1").setFloat(3.0);
    mData.FloorTo.post();

    mData.OpenStudy(mStudiesDir, "A");
    expectOpenOn("A");
    EXPECT_EQ(dumpStudy(), before);
}

TEST_F(StudyFilesTest, StudyOpensInAnotherDataModuleUnchanged) {
    makeStudyWithContent("A");
    const std::string before = dumpStudy();
    mData.OpenStudy(mStudiesDir, "B");

    TDravinDataT other;  // no master tables: nothing is missing, nothing to fill
    other.OpenStudy(mStudiesDir, "A");
    std::string after;
    const auto tables = other.workingSet();
    for (size_t n = 0; n < tables.size(); ++n) {
        after += std::string("[") + kStudyPartWords[n] + "]\n" + test::dumpTable(*tables[n]);
    }
    EXPECT_EQ(after, before);
}

// Each table removed by hand (-1: all five) comes back in its initial form; the others keep
// their content.
class MissingStudyTableTest : public StudyFilesTest, public ::testing::WithParamInterface<int> {};

TEST_P(MissingStudyTableTest, ComesBackInItsInitialForm) {
    mData.OpenStudy(mStudiesDir, "FRESH");
    const auto initial = dumpParts();
    makeStudyWithContent("A");
    const auto before = dumpParts();
    mData.OpenStudy(mStudiesDir, "FRESH");
    for (int n = 0; n < 5; ++n) {
        if (GetParam() < 0 || GetParam() == n) {
            ASSERT_TRUE(fs::remove(studyFile("A", kStudyPartWords[n])));
        }
    }

    mData.OpenStudy(mStudiesDir, "A");
    expectOpenOn("A");
    const auto after = dumpParts();
    for (int n = 0; n < 5; ++n) {
        const bool removed = GetParam() < 0 || GetParam() == n;
        EXPECT_EQ(after[n], removed ? initial[n] : before[n]) << kStudyPartWords[n];
    }
}

INSTANTIATE_TEST_SUITE_P(Parts, MissingStudyTableTest, ::testing::Values(-1, 0, 1, 2, 3, 4));

TEST_F(StudyFilesTest, TableMadeWithoutTheDriverCarriesItAfterOpening) {
    // Another program's table: our layout, no language driver, one record.
    Table foreign("Owners", ownersTableDef());
    foreign.setDirectory(mStudiesDir);
    foreign.setTableName(studyTableName("EXT", "Owner"));
    foreign.createTable();
    foreign.open();
    foreign.append();
    foreign.field("Name").setString("Ωραιόπουλος");
    foreign.field("ID").setInteger(4);
    foreign.post();
    foreign.close();
    ASSERT_EQ(foreign.languageDriver(), "");

    mData.OpenStudy(mStudiesDir, "EXT");
    for (Table* t : mData.workingSet()) {
        EXPECT_EQ(t->languageDriver(), "grcp437") << t->tableName();
    }
    ASSERT_EQ(mData.OwnersT.recordCount(), 1);
    EXPECT_EQ(mData.OwnersT.field("Name").asString(), "Ωραιόπουλος");
}

// A file under the name of one of the study's tables that is not such a table.
struct ForeignFileCase {
    int part;
    bool sqlite;  // another program's database rather than plain bytes
};

std::ostream& operator<<(std::ostream& os, const ForeignFileCase& c) {
    return os << kStudyPartWords[c.part] << (c.sqlite ? " sqlite" : " text");
}

class OpenStudyFailureTest : public StudyFilesTest,
                             public ::testing::WithParamInterface<ForeignFileCase> {};

TEST_P(OpenStudyFailureTest, LeavesTheWorkingSetOnThePreviousStudy) {
    makeStudyWithContent("A");
    const std::string before = dumpStudy();
    const fs::path foreign = studyFile("B", kStudyPartWords[GetParam().part]);
    if (GetParam().sqlite) {
        SqliteFile file(foreign, SqliteFile::Mode::Create);
        file.exec("CREATE TABLE data(a INTEGER)");
        file.exec("INSERT INTO data VALUES(42)");
    } else {
        writeFile(foreign, "not a table of this program\n");
    }
    const std::string foreignBytes = readFile(foreign);

    EXPECT_THROW(mData.OpenStudy(mStudiesDir, "B"), EngineError);

    expectOpenOn("A");
    EXPECT_EQ(dumpStudy(), before);
    EXPECT_EQ(readFile(foreign), foreignBytes);
    // Still usable.
    addSpace(0, 20, 7, 6.0, 1);
    EXPECT_TRUE(mData.DravinT.findKey({Value::integer(0), Value::integer(20), Value::integer(7)}));
}

INSTANTIATE_TEST_SUITE_P(Parts, OpenStudyFailureTest,
                         ::testing::Values(ForeignFileCase{0, false}, ForeignFileCase{2, false},
                                           ForeignFileCase{2, true}, ForeignFileCase{4, false}));

// ---------------------------------------------------------------- study tables

TEST_F(StudyFilesTest, OwnersAreListedInGreekAlphabeticalOrder) {
    mData.OpenStudy(mStudiesDir, "A");
    addOwner("Ψαρρά Ελένη", 8);
    addOwner("Παππάς Νίκος", 7);
    addOwner("Ζαφειρίου Άννα", 1);
    addOwner("Άγγελου Μαρία", 2);
    addOwner("Smith John", 6);
    addOwner("Σωτηρίου Λένα", 10);
    addOwner("αβραμίδης Κώστας", 5);
    addOwner("Παππάς Νίκος", 3);
    Table& o = mData.OwnersT;
    o.append();
    o.field("Name").setString("Παππάς Νίκος");
    o.field("ID").setInteger(3);
    EXPECT_THROW(o.post(), EngineError);
    o.cancel();

    const std::string expected =
        "Smith John 6\nαβραμίδης Κώστας 5\nΆγγελου Μαρία 2\nΖαφειρίου Άννα 1\n"
        "Παππάς Νίκος 3\nΠαππάς Νίκος 7\nΣωτηρίου Λένα 10\nΨαρρά Ελένη 8\n";
    const auto listed = [&] {
        std::string text;
        for (o.first(); !o.eof(); o.next()) {
            text += o.field("Name").asString() + " " + o.field("ID").asString() + "\n";
        }
        return text;
    };
    EXPECT_EQ(listed(), expected);
    mData.OpenStudy(mStudiesDir, "B");
    mData.OpenStudy(mStudiesDir, "A");
    EXPECT_EQ(listed(), expected);
}

TEST_F(StudyFilesTest, SpaceOfAnUnknownOwnerShowsNoOwnerName) {
    mData.OpenStudy(mStudiesDir, "A");
    addOwner("Αλεξίου Δημήτριος", 1);
    addSpace(0, 10, 1, 85.5, 1);
    addSpace(0, 10, 2, 60.0, 99);
    Table& d = mData.DravinT;

    ASSERT_TRUE(d.findKey({Value::integer(0), Value::integer(10), Value::integer(1)}));
    EXPECT_EQ(d.field("NameOwner").asString(), "Αλεξίου Δημήτριος");
    EXPECT_EQ(d.field("Name1Floor").asString(), "Ισόγειο");
    EXPECT_EQ(d.field("NameXoros").asString(), "Διαμέρισμα");
    ASSERT_TRUE(d.findKey({Value::integer(0), Value::integer(10), Value::integer(2)}));
    EXPECT_TRUE(d.field("NameOwner").isNull());
    EXPECT_EQ(d.field("NameOwner").asString(), "");
}

// ---------------------------------------------------------------- save as

class SaveStudyAsTest : public StudyFilesTest {
protected:
    // The source study SRC: content in every table, floor 1 changed, a floor 77 of its
    // own, kind 10 renamed and kind 213 removed.
    void SetUp() override {
        makeStudyWithContent("SRC");
        addOwner("Βλάχου Ελένη", 2);
        Table& f = mData.FloorT;
        f.append();
        f.field("IDFloor").setInteger(77);
        f.field("Name1").setString("Δώμα");
        f.field("Coef1").setFloat(0.5);
        f.post();
        ASSERT_TRUE(mData.XorosT.findKey({Value::integer(10)}));
        mData.XorosT.edit();
        mData.XorosT.field("Name").setString("Κατοικία");
        mData.XorosT.post();
        mSource = dumpParts();
    }

    // As "Αποθήκευση Ως" does: the open study into the target.
    void saveAs(const std::string& target) {
        mData.SaveStudyAs(mStudiesDir, "SRC", mStudiesDir, target);
    }
    // The files of the studies directory, sorted.
    std::vector<std::string> files() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(mStudiesDir)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string row(Table& t, int id) {
        return t.findKey({Value::integer(id)}) ? test::dumpRow(t, t.currentRow()) : "(none)";
    }

    std::array<std::string, 5> mSource;
};

TEST_F(SaveStudyAsTest, OntoANewStudyCopiesTheSourceOverTheMasterRows) {
    saveAs("NEW");

    expectOpenOn("NEW");
    const auto copy = dumpParts();
    EXPECT_EQ(copy[0], mSource[0]);  // the source has every master floor, and floor 77
    EXPECT_EQ(copy[2], mSource[2]);
    EXPECT_EQ(copy[3], mSource[3]);
    EXPECT_EQ(copy[4], mSource[4]);
    // Kinds: the source's rows, and the master's 213 that the source lacks.
    Table& x = mData.XorosT;
    EXPECT_EQ(x.recordCount(), 3);
    EXPECT_EQ(row(x, 213), row(mData.XorosTo, 213));
    ASSERT_TRUE(x.findKey({Value::integer(10)}));
    EXPECT_EQ(x.field("Name").asString(), "Κατοικία");
    for (Table* t : mData.secondSet()) {
        EXPECT_FALSE(t->isOpen());
    }
}

TEST_F(SaveStudyAsTest, OntoAnExistingStudyMergesByKeyAndKeepsTheTargetsOwnRecords) {
    mData.OpenStudy(mStudiesDir, "OLD");
    addOwner("Αλεξίου Δημήτριος", 1);  // same key as the source's
    mData.OwnersT.edit();
    mData.OwnersT.field("Address").setString("Παλιά διεύθυνση");
    mData.OwnersT.post();
    addOwner("Ζαχαρίου Πέτρος", 50);
    addSpace(0, 10, 1, 10.0, 50);  // same key as the source's
    addSpace(2, 20, 9, 7.5, 50);
    Table& f = mData.FloorT;
    f.append();
    f.field("IDFloor").setInteger(5);
    f.field("Name1").setString("Ε' Όροφος");
    f.post();
    f.append();
    f.field("IDFloor").setInteger(77);
    f.field("Name1").setString("Ταράτσα");
    f.post();
    const std::string ownFloor5 = row(f, 5);
    Table& g = mData.GenDataT;
    g.edit();
    g.field("Name3").setString("Οδός του στόχου");
    g.post();

    mData.SaveStudyAs(mStudiesDir, "SRC", mStudiesDir, "OLD");

    expectOpenOn("OLD");
    const auto merged = dumpParts();
    EXPECT_EQ(merged[4], mSource[4]);  // general data replaced, Name3 included
    EXPECT_EQ(row(f, 5), ownFloor5);
    EXPECT_EQ(f.recordCount(), 6);
    ASSERT_TRUE(f.findKey({Value::integer(77)}));
    EXPECT_EQ(f.field("Name1").asString(), "Δώμα");

    Table& o = mData.OwnersT;
    EXPECT_EQ(o.recordCount(), 3);
    ASSERT_TRUE(o.findKey({Value::bytes(cp1253::encode("Αλεξίου Δημήτριος")), Value::integer(1)}));
    EXPECT_TRUE(o.field("Address").isNull());  // the source's record won
    Table& d = mData.DravinT;
    EXPECT_EQ(d.recordCount(), 3);
    ASSERT_TRUE(d.findKey({Value::integer(0), Value::integer(10), Value::integer(1)}));
    EXPECT_EQ(d.field("AreaClear").asFloat(), 85.5);
    EXPECT_EQ(d.field("NameOwner").asString(), "Αλεξίου Δημήτριος");
    EXPECT_TRUE(d.findKey({Value::integer(2), Value::integer(20), Value::integer(9)}));
}

TEST_F(SaveStudyAsTest, MakesTheWorkingTablesWritable) {
    mData.OpenStudy(mStudiesDir, "NEW");
    for (Table* t : {&mData.FloorT, &mData.XorosT}) {
        t->close();
        t->setReadOnly(true);
        t->open();
    }
    mData.SaveStudyAs(mStudiesDir, "SRC", mStudiesDir, "NEW");
    for (Table* t : mData.workingSet()) {
        EXPECT_FALSE(t->readOnly()) << t->tableName();
    }
    EXPECT_EQ(test::dumpTable(mData.FloorT), mSource[0]);
}

class SaveStudyAsItselfTest : public SaveStudyAsTest,
                              public ::testing::WithParamInterface<const char*> {};

TEST_P(SaveStudyAsItselfTest, LeavesTheStudyIntact) {
    fs::create_directories(mStudiesDir / "sub");
    const std::string before = dumpStudy();
    mData.OpenStudy(mStudiesDir, "SRC");
    mData.SaveStudyAs(mStudiesDir / GetParam(), "SRC", mStudiesDir, "SRC");
    expectOpenOn("SRC");
    EXPECT_EQ(dumpStudy(), before);
}

INSTANTIATE_TEST_SUITE_P(SourcePaths, SaveStudyAsItselfTest, ::testing::Values("", ".", "sub/.."));

TEST_F(SaveStudyAsTest, FailureReopensTheWorkingSetAndReleasesTheWaitWindow) {
    RecordingProgress progress;
    mData.setProgress(&progress);
    mData.OpenStudy(mStudiesDir, "NEW");
    // The source's space table, copied last, is not a table.
    writeFile(studyFile("SRC", "Dravin"), "garbage");

    EXPECT_THROW(mData.SaveStudyAs(mStudiesDir, "SRC", mStudiesDir, "NEW"), EngineError);

    EXPECT_EQ(progress.events, "busy;show Διάσωση-Αντιγραφή αρχείων;close;idle;");
    expectOpenOn("NEW");
    for (Table* t : mData.workingSet()) {
        EXPECT_FALSE(t->controlsDisabled()) << t->tableName();
    }
    for (Table* t : mData.secondSet()) {
        EXPECT_FALSE(t->isOpen()) << t->tableName();
    }
    EXPECT_EQ(readFile(studyFile("SRC", "Dravin")), "garbage");
    addSpace(3, 10, 1, 50.0, 1);
    EXPECT_EQ(mData.DravinT.recordCount(), 1);
    mData.setProgress(nullptr);
}

// A save-as that fails leaves no trace of the target: no marker, no table, no table in
// the making.
TEST_F(SaveStudyAsTest, FailureOntoANewStudyLeavesNothingOfIt) {
    mData.XorosT.close();
    writeFile(studyFile("SRC", "Xoros"), "garbage");  // read after the floors were made
    mData.OpenStudy(mStudiesDir, "OTHER");
    const auto withOther = files();

    EXPECT_THROW(mData.SaveStudyAs(mStudiesDir, "SRC", mStudiesDir, "NEW"), EngineError);

    EXPECT_EQ(files(), withOther);
    EXPECT_FALSE(studyExists(mStudiesDir, "NEW"));
    expectOpenOn("OTHER");
}

// With no study open there is nothing to save: refused before anything is written.
TEST_F(SaveStudyAsTest, WithoutAStudyNothingIsWritten) {
    const auto before = files();
    TDravinDataT fresh;
    try {
        fresh.SaveStudyAs(fresh.studyDirectory(), fresh.studyName(), mStudiesDir, "NEW");
        ADD_FAILURE() << "a save-as without a study ran";
    } catch (const IoError& e) {
        EXPECT_STREQ(e.what(), kNoStudyToSaveMessage);
    }
    EXPECT_THROW(fresh.SaveStudyAs(mStudiesDir, "GONE", mStudiesDir, "NEW"), IoError);
    EXPECT_EQ(files(), before);
    for (Table* t : fresh.workingSet()) {
        EXPECT_FALSE(t->isOpen());
    }
}

// A save-as cut short after its tables were finished, while they were being put in place,
// is ended by the next program that opens the target: it opens whole, as saved.
TEST_F(SaveStudyAsTest, AnInterruptedCommitIsCompletedOnOpening) {
    saveAs("NEW");
    const auto saved = dumpParts();
    mData.OpenStudy(mStudiesDir, "SRC");
    // As a kill after two of the five renames leaves it.
    for (const char* part : {"Owner", "Dravin", "GenData"}) {
        fs::rename(studyFile("NEW", part),
                   mStudiesDir / (studyTableName("NEW", part) + kNewTableSuffix + ".DB"));
    }
    fs::remove(studyMarkerPath(mStudiesDir, "NEW"));
    writeFile(pendingSavePath(mStudiesDir, "NEW"), "");
    EXPECT_TRUE(studyExists(mStudiesDir, "NEW"));

    TDravinDataT other;
    other.OpenStudy(mStudiesDir, "NEW");

    for (size_t n = 0; n < saved.size(); ++n) {
        EXPECT_EQ(test::dumpTable(*other.workingSet()[n]), saved[n]) << kStudyPartWords[n];
    }
    EXPECT_EQ(readFile(studyMarkerPath(mStudiesDir, "NEW")), kMarker);
    EXPECT_FALSE(fs::exists(pendingSavePath(mStudiesDir, "NEW")));
}

// Cut short before its tables were finished, a save-as has made no target, and the next
// one makes it whole.
TEST_F(SaveStudyAsTest, TablesInTheMakingAreNoTarget) {
    writeFile(mStudiesDir / (studyTableName("NEW", "Floor") + kNewTableSuffix + ".DB"), "half");
    EXPECT_FALSE(studyExists(mStudiesDir, "NEW"));

    saveAs("NEW");

    expectOpenOn("NEW");
    EXPECT_EQ(dumpParts()[0], mSource[0]);
    for (const std::string& file : files()) {
        EXPECT_EQ(file.find(kNewTableSuffix), std::string::npos) << file;
    }
}

// ---------------------------------------------------------------- names too long

struct LongNameCase {
    const char* name;
    std::string study;
    std::string subdirectory;  // under the studies directory, made first
    bool usable;
};

std::ostream& operator<<(std::ostream& os, const LongNameCase& c) {
    return os << c.name;
}

std::string repeated(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) {
        out += s;
    }
    return out;
}

class LongStudyNameTest : public StudyFilesTest,
                          public ::testing::WithParamInterface<LongNameCase> {};

// A name is refused, in one sentence and before anything is made, exactly when a file the
// study needs could not be made: the longest file name is the general data table in the
// making beside its journal.
TEST_P(LongStudyNameTest, RefusedWhenAFileItNeedsCouldNotBeMade) {
    const LongNameCase c = GetParam();
    const fs::path dir = mStudiesDir / c.subdirectory;
    fs::create_directories(dir);
    const auto problem = studyNameProblem(dir, c.study);
    EXPECT_EQ(problem.has_value(), !c.usable);
    if (c.usable) {
        mData.OpenStudy(dir, c.study);
        EXPECT_EQ(mData.studyName(), c.study);
        return;
    }
    try {
        mData.OpenStudy(dir, c.study);
        ADD_FAILURE() << "the study was made";
    } catch (const IoError& e) {
        EXPECT_EQ(e.what(), *problem);
        EXPECT_EQ(std::string(e.what()).find("DRAVIN"), std::string::npos) << e.what();
        EXPECT_EQ(std::string(e.what()).find('\n'), std::string::npos) << e.what();
    }
    EXPECT_TRUE(fs::is_empty(dir));
}

INSTANTIATE_TEST_SUITE_P(
    Names, LongStudyNameTest,
    ::testing::Values(LongNameCase{"LongestLatin", std::string(217, 'a'), "", true},
                      LongNameCase{"OneLatinTooMany", std::string(218, 'a'), "", false},
                      LongNameCase{"LongestGreek", repeated("α", 108), "", true},
                      LongNameCase{"HundredTenGreek", repeated("Π", 110), "", false},
                      LongNameCase{"DeepDirectory", "ABC",
                                   std::string(200, 'a') + "/" + std::string(200, 'b') + "/" +
                                       std::string(100, 'c'),
                                   false}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- delete

TEST_F(StudyFilesTest, DeletingTheOpenStudyIsRefusedAndDeletesNothing) {
    makeStudyWithContent("A");
    const std::string before = dumpStudy();
    RecordingProgress progress;
    mData.setProgress(&progress);

    EXPECT_THROW(mData.DeleteStudy(mStudiesDir, "A"), EngineError);

    mData.setProgress(nullptr);
    EXPECT_EQ(progress.events, "busy;idle;");

    for (const char* part : kStudyPartWords) {
        EXPECT_TRUE(fs::exists(studyFile("A", part))) << part;
    }
    expectOpenOn("A");
    EXPECT_EQ(dumpStudy(), before);
}

// The desktop's delete command asks this before deleting anything.
TEST_F(StudyFilesTest, CurrentStudyIsRecognisedUnderAnyFormOfItsPath) {
    makeStudyWithContent("A");
    EXPECT_TRUE(mData.isCurrentStudy(mStudiesDir, "A"));
    EXPECT_TRUE(mData.isCurrentStudy(mStudiesDir / "." / "sub" / "..", "A"));
    EXPECT_FALSE(mData.isCurrentStudy(mStudiesDir, "B"));
    EXPECT_FALSE(mData.isCurrentStudy(mStudiesDir / "other", "A"));
    EXPECT_FALSE(TDravinDataT().isCurrentStudy(mStudiesDir, "A"));
}

TEST_F(StudyFilesTest, DeletingAnotherStudyRemovesItsTablesOnly) {
    makeStudyWithContent("B");
    makeStudyWithContent("A");
    const std::string before = dumpStudy();
    // One of B's tables is already gone by hand; the rest still go.
    fs::remove(studyFile("B", "Owner"));

    mData.DeleteStudy(mStudiesDir, "B");

    for (const auto& entry : fs::directory_iterator(mStudiesDir)) {
        const std::string file = entry.path().filename().string();
        EXPECT_EQ(file.rfind("A", 0), 0u) << file << " is left";
    }
    expectOpenOn("A");
    EXPECT_EQ(dumpStudy(), before);
}

}  // namespace
}  // namespace dravin
