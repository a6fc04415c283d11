#include "data/table.h"
#include "support/values.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "data/cp1253.h"
#include "data/errors.h"
#include "data/studyfiles.h"
#include "data/tabledefinitions.h"
#include "support/childprocess.h"
#include "support/tempdir.h"

namespace dravin {
namespace {

using test::I;
using test::R;
using test::T;

namespace fs = std::filesystem;
using test::readFile;
using test::TempDir;
using test::writeFile;

// A plain connection to a table file beside the engine: to tamper with a closed table's
// file, or, through diskCopy(), to see what the disk holds.
class RawDb {
public:
    explicit RawDb(const fs::path& path) {
        if (sqlite3_open_v2(path.c_str(), &mDb, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
            sqlite3_close(mDb);
            throw std::runtime_error("cannot open " + path.string());
        }
    }
    RawDb(const fs::path& path, std::unique_ptr<TempDir> copyDir) : RawDb(path) {
        mCopyDir = std::move(copyDir);
    }
    ~RawDb() { sqlite3_close(mDb); }
    RawDb(const RawDb&) = delete;
    RawDb& operator=(const RawDb&) = delete;

    void exec(const std::string& sql) {
        char* err = nullptr;
        if (sqlite3_exec(mDb, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
            const std::string message = err ? err : "?";
            sqlite3_free(err);
            throw std::runtime_error(message);
        }
    }

    // Each row as the text of its columns; NULL as "NULL".
    std::vector<std::vector<std::string>> query(const std::string& sql) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(mDb, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
            throw std::runtime_error(sqlite3_errmsg(mDb));
        }
        std::vector<std::vector<std::string>> rows;
        while (sqlite3_step(st) == SQLITE_ROW) {
            std::vector<std::string> row;
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                const auto* text = sqlite3_column_text(st, c);
                row.push_back(text ? reinterpret_cast<const char*>(text) : "NULL");
            }
            rows.push_back(std::move(row));
        }
        sqlite3_finalize(st);
        return rows;
    }

    std::string single(const std::string& sql) {
        const auto rows = query(sql);
        return rows.empty() || rows[0].empty() ? std::string() : rows[0][0];
    }

private:
    std::unique_ptr<TempDir> mCopyDir;
    sqlite3* mDb = nullptr;
};

// Runs work in a child process and tells whether it succeeded: files an open table
// holds are touched there, since a descriptor of such a file closed by this process
// would drop the engine's locks.
bool inChildProcess(const std::function<bool()>& work) {
    const pid_t child = fork();
    if (child == 0) {
        _exit(work() ? 0 : 1);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

// What the disk holds now: a copy of the file and its log. An open table holds its
// file exclusively, so the copy is made beside SQLite, not through it.
RawDb diskCopy(const fs::path& path) {
    auto dir = std::make_unique<TempDir>();
    const fs::path copy = dir->path() / path.filename();
    const bool copied = inChildProcess([&] {
        std::error_code ec;
        fs::copy_file(path, copy, ec);
        if (!ec && fs::exists(path.string() + "-wal")) {
            fs::copy_file(path.string() + "-wal", copy.string() + "-wal", ec);
        }
        return !ec;
    });
    if (!copied) {
        throw std::runtime_error("cannot copy " + path.string());
    }
    return RawDb(copy, std::move(dir));
}

int rowsOnDisk(const fs::path& path) {
    return std::stoi(diskCopy(path).single("SELECT count(*) FROM data"));
}

std::vector<std::string> storedFieldNames(const TableDef& d) {
    std::vector<std::string> names;
    for (const auto& f : d.fields) {
        names.push_back(f.name);
    }
    return names;
}

// "floor/kind/number" of the current space record, "-" for a blank part.
std::string spaceKey(Table& t) {
    std::string s;
    for (const char* name : {"IDfloor", "IDXoros", "NumberXoros"}) {
        const Field f = t.field(name);
        s += (s.empty() ? "" : "/") +
             (f.isNull() ? std::string("-") : std::to_string(f.asInteger()));
    }
    return s;
}

std::vector<std::string> spaceKeys(Table& t) {
    std::vector<std::string> keys;
    for (t.first(); !t.eof(); t.next()) {
        keys.push_back(spaceKey(t));
    }
    return keys;
}

void postSpace(Table& t, const Value& floor, const Value& kind, const Value& number,
               const Value& area = Value()) {
    t.insert();
    t.field("IDfloor").setValue(floor);
    t.field("IDXoros").setValue(kind);
    t.field("NumberXoros").setValue(number);
    t.field("AreaClear").setValue(area);
    t.post();
}

void postOwner(Table& t, const char* name, int id) {
    t.append();
    t.field("Name").setString(name);
    t.field("ID").setInteger(id);
    t.post();
}

class CountingObserver : public TableObserver {
public:
    void tableAboutToReset(const Table&) override { ++aboutToReset; }
    void tableReset(const Table&) override { ++reset; }
    void rowInserted(const Table&, int) override { ++rowEvents; }
    void rowRemoved(const Table&, int) override { ++rowEvents; }
    void rowMoved(const Table&, int, int) override { ++rowEvents; }
    void rowChanged(const Table&, int) override { ++rowEvents; }
    int aboutToReset = 0;
    int reset = 0;
    int rowEvents = 0;
};

class TableTest : public ::testing::Test {
protected:
    std::unique_ptr<Table> makeTable(const std::string& component, TableDef def,
                                     const std::string& name, bool create = true) {
        auto t = std::make_unique<Table>(component, std::move(def));
        t->setDirectory(mDir.path());
        t->setTableName(name);
        if (create) {
            t->createTable();
            t->open();
        }
        return t;
    }
    std::unique_ptr<Table> spaces(const std::string& name = "TestDravin_DRAVIN") {
        return makeTable("DravinT", dravinTableDef(), name);
    }
    std::unique_ptr<Table> owners(const std::string& name = "TestOwner_DRAVIN") {
        return makeTable("OwnersT", ownersTableDef(), name);
    }

    TempDir mDir;
};

// ---------------------------------------------------------------- files

struct DefCase {
    const char* label;
    TableDef (*make)();
};

class CreateTableTest : public TableTest, public ::testing::WithParamInterface<DefCase> {};

TEST_P(CreateTableTest, FileHoldsExactlyTheStoredFieldsInOrder) {
    const TableDef def = GetParam().make();
    auto t = makeTable("T", def, "Created_DRAVIN", false);
    EXPECT_FALSE(t->exists());
    t->createTable();
    EXPECT_TRUE(t->exists());
    EXPECT_EQ(t->filePath(), mDir / "Created_DRAVIN.DB");

    RawDb db = diskCopy(t->filePath());
    std::vector<std::string> onDisk;
    for (const auto& row : db.query("PRAGMA table_info(data)")) {
        onDisk.push_back(row[1]);
    }
    EXPECT_EQ(onDisk, storedFieldNames(def));
    for (const char* lookup : {"Name1Floor", "NameXoros", "NameOwner"}) {
        EXPECT_EQ(std::find(onDisk.begin(), onDisk.end(), lookup), onDisk.end()) << lookup;
    }
    EXPECT_EQ(db.single("SELECT count(*) FROM data"), "0");
    EXPECT_FALSE(fs::exists(mDir / "Created_DRAVIN.DB.creating"));

    t->open();
    EXPECT_TRUE(t->isOpen());
    EXPECT_TRUE(t->isEmpty());
    EXPECT_TRUE(t->eof());
    EXPECT_TRUE(t->bof());
    t->close();
    EXPECT_FALSE(t->isOpen());
}

INSTANTIATE_TEST_SUITE_P(Table, CreateTableTest,
                         ::testing::Values(DefCase{"Floor", floorTableDef},
                                           DefCase{"Xoros", xorosTableDef},
                                           DefCase{"Owners", ownersTableDef},
                                           DefCase{"Dravin", dravinTableDef},
                                           DefCase{"GenData", genDataTableDef}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(TableTest, CreateRefusesAnExistingTable) {
    auto t = spaces();
    postSpace(*t, I(1), I(10), I(1));
    t->close();
    EXPECT_THROW(t->createTable(), EngineError);
    t->open();
    EXPECT_EQ(t->recordCount(), 1);
}

TEST_F(TableTest, OpeningAMissingTableFails) {
    auto t = makeTable("DravinT", dravinTableDef(), "Nothing_DRAVIN", false);
    EXPECT_THROW(t->open(), EngineError);
    EXPECT_FALSE(t->isOpen());
    EXPECT_THROW(t->languageDriver(), EngineError);
    EXPECT_FALSE(t->exists());
}

TEST_F(TableTest, NameWithExtensionAddressesTheSameFile) {
    auto t = spaces("Ext_DRAVIN");
    t->close();
    auto u = makeTable("DravinT1", dravinTableDef(), "Ext_DRAVIN.DB", false);
    EXPECT_EQ(u->filePath(), t->filePath());
    EXPECT_TRUE(u->exists());
}

TEST_F(TableTest, SettingsChangeOnlyWhileClosed) {
    auto t = spaces();
    EXPECT_THROW(t->setReadOnly(true), EngineError);
    EXPECT_THROW(t->setDirectory("/"), EngineError);
    EXPECT_THROW(t->setTableName("Other"), EngineError);
    EXPECT_FALSE(t->readOnly());
    EXPECT_EQ(t->directory(), mDir.path());
}

TEST_F(TableTest, ReadOnlyTableRefusesEveryChange) {
    auto t = spaces();
    postSpace(*t, I(1), I(10), I(1), R(12.5));
    t->close();
    t->setReadOnly(true);
    t->open();
    ASSERT_TRUE(t->readOnly());
    EXPECT_DOUBLE_EQ(t->field("AreaClear").asFloat(), 12.5);

    auto source = spaces("Source_DRAVIN");
    postSpace(*source, I(2), I(10), I(1));
    EXPECT_THROW(t->edit(), EngineError);
    EXPECT_THROW(t->insert(), EngineError);
    EXPECT_THROW(t->append(), EngineError);
    EXPECT_THROW(t->remove(), EngineError);
    EXPECT_THROW(t->emptyTable(), EngineError);
    EXPECT_THROW(t->batchMoveFrom(*source, BatchMode::AppendUpdate), EngineError);
    EXPECT_THROW(t->field("AreaClear").setFloat(1.0), EngineError);
    EXPECT_EQ(t->state(), TableState::Browse);
    EXPECT_EQ(spaceKeys(*t), std::vector<std::string>{"1/10/1"});

    t->close();
    t->setReadOnly(false);
    t->open();
    t->edit();
    t->field("AreaClear").setFloat(3.0);
    t->post();
    EXPECT_EQ(diskCopy(t->filePath()).single("SELECT AreaClear FROM data"), "3.0");
}

struct ForeignCase {
    const char* label;
    void (*make)(const fs::path& file);
};

void writeGarbage(const fs::path& p) {
    std::string bytes;
    for (int i = 0; i < 3000; ++i) {
        bytes += static_cast<char>((i * 7919) % 251);
    }
    writeFile(p, bytes);
}
void writeEmpty(const fs::path& p) {
    writeFile(p, "");
}
void writeForeignSqlite(const fs::path& p) {
    sqlite3* db = nullptr;
    sqlite3_open(p.c_str(), &db);
    sqlite3_exec(db,
                 "CREATE TABLE data(IDfloor INTEGER, Other TEXT); INSERT INTO data VALUES(1, 'x');",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
}
void writeOtherTableOfOurs(const fs::path& p) {
    // One of our files, but with the fields of the floor table.
    Table floors("FloorT", floorTableDef());
    floors.setDirectory(p.parent_path());
    floors.setTableName(p.filename().string());
    floors.createTable();
}

class ForeignFileTest : public TableTest, public ::testing::WithParamInterface<ForeignCase> {};

TEST_P(ForeignFileTest, IsRefusedAndLeftByteIdentical) {
    auto t = makeTable("DravinT", dravinTableDef(), "Foreign_DRAVIN", false);
    GetParam().make(t->filePath());
    const std::string before = readFile(t->filePath());

    const auto expectRefused = [&](const char* what, auto&& operation) {
        try {
            operation();
            ADD_FAILURE() << what << " accepted a foreign file";
        } catch (const EngineError& e) {
            EXPECT_NE(std::string(e.what()).find("Foreign_DRAVIN"), std::string::npos)
                << what << ": " << e.what();
        }
    };
    expectRefused("open", [&] { t->open(); });
    EXPECT_FALSE(t->isOpen());
    expectRefused("create", [&] { t->createTable(); });
    expectRefused("applyLanguageDriver", [&] { t->applyLanguageDriver(kLanguageDriver); });
    expectRefused("languageDriver", [&] { t->languageDriver(); });
    expectRefused("emptyTable", [&] { t->emptyTable(); });
    auto source = spaces("Source_DRAVIN");
    postSpace(*source, I(1), I(10), I(1));
    expectRefused("batchMove", [&] { t->batchMoveFrom(*source, BatchMode::Copy); });

    EXPECT_EQ(readFile(t->filePath()), before);

    // The refused opens left nothing registered: the file, once replaced, opens.
    fs::remove(t->filePath());
    t->createTable();
    t->open();
    EXPECT_TRUE(t->isOpen());
}

INSTANTIATE_TEST_SUITE_P(Table, ForeignFileTest,
                         ::testing::Values(ForeignCase{"Garbage", writeGarbage},
                                           ForeignCase{"Empty", writeEmpty},
                                           ForeignCase{"ForeignSqlite", writeForeignSqlite},
                                           ForeignCase{"OtherFields", writeOtherTableOfOurs}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(TableTest, SecondComponentOnTheSameFileIsRefused) {
    auto t = spaces("Shared_DRAVIN");
    auto sameName = makeTable("DravinT1", dravinTableDef(), "Shared_DRAVIN", false);
    EXPECT_THROW(sameName->open(), EngineError);
    auto otherSpelling = makeTable("DravinT2", dravinTableDef(), "Shared_DRAVIN.DB", false);
    otherSpelling->setDirectory(mDir.path() / "." / "sub" / "..");
    fs::create_directory(mDir / "sub");
    EXPECT_THROW(otherSpelling->open(), EngineError);
    EXPECT_THROW(sameName->deleteTable(), EngineError);
    EXPECT_TRUE(t->exists());
    postSpace(*t, I(1), I(10), I(1));
    EXPECT_THROW(sameName->emptyTable(), EngineError);  // t would go on showing the record
    EXPECT_EQ(rowsOnDisk(t->filePath()), 1);

    t->close();
    sameName->open();
    EXPECT_TRUE(sameName->isOpen());
}

TEST_F(TableTest, DeleteTableRemovesCompanionFilesAndRefusesAnOpenTable) {
    auto t = spaces("Gone_DRAVIN");
    postSpace(*t, I(1), I(10), I(1));
    EXPECT_THROW(t->deleteTable(), EngineError);
    EXPECT_TRUE(t->exists());
    t->close();
    const std::string file = t->filePath().string();
    for (const char* companion : {"-wal", "-shm", "-journal"}) {
        writeFile(file + companion, "left behind");
    }
    writeFile(mDir / "Gone_DRAVIN.DVT", "marker");  // not a companion

    t->deleteTable();
    EXPECT_FALSE(t->exists());
    for (const char* companion : {"-wal", "-shm", "-journal"}) {
        EXPECT_FALSE(fs::exists(file + companion)) << companion;
    }
    EXPECT_TRUE(fs::exists(mDir / "Gone_DRAVIN.DVT"));
    EXPECT_THROW(t->deleteTable(), EngineError);
}

TEST_F(TableTest, EmptyTableOpenAndClosed) {
    auto t = spaces();
    for (int n = 1; n <= 3; ++n) {
        postSpace(*t, I(1), I(10), I(n));
    }
    t->emptyTable();
    EXPECT_TRUE(t->isEmpty());
    EXPECT_TRUE(t->eof());
    EXPECT_EQ(rowsOnDisk(t->filePath()), 0);
    postSpace(*t, I(1), I(10), I(1));
    t->close();
    t->emptyTable();
    EXPECT_EQ(rowsOnDisk(t->filePath()), 0);
    t->open();
    EXPECT_TRUE(t->isEmpty());
}

TEST_F(TableTest, LanguageDriverOnATableCreatedWithoutIt) {
    auto t = spaces("Driver_DRAVIN");
    postSpace(*t, I(1), I(10), I(1));
    t->close();
    EXPECT_EQ(t->languageDriver(), "");
    t->applyLanguageDriver(kLanguageDriver);
    EXPECT_EQ(t->languageDriver(), "grcp437");
    t->applyLanguageDriver(kLanguageDriver);  // a second time changes nothing
    EXPECT_EQ(
        RawDb(t->filePath()).single("SELECT count(*) FROM dravin_meta WHERE key = 'LANGDRIVER'"),
        "1");

    ApplyLanguageDriver(*t);  // the study helper leaves it open
    EXPECT_TRUE(t->isOpen());
    EXPECT_EQ(t->languageDriver(), "grcp437");
    EXPECT_EQ(spaceKeys(*t), std::vector<std::string>{"1/10/1"});
}

// ---------------------------------------------------------------- navigation

TEST_F(TableTest, ScansInKeyOrderAndKeepsItOnDisk) {
    auto t = spaces();
    const std::vector<std::vector<Value>> posted = {
        {I(2), I(10), I(1)}, {I(1), I(20), I(1)},  {I(-1), I(20), I(3)},
        {I(1), I(10), I(2)}, {I(1), I(10), I(10)}, {I(110), I(991), Value()},
        {I(1), I(10), I(1)}, {I(-1), I(20), I(1)}, {I(1), I(990), Value()}};
    for (const auto& k : posted) {
        postSpace(*t, k[0], k[1], k[2]);
    }
    const std::vector<std::string> expected = {"-1/20/1", "-1/20/3", "1/10/1",
                                               "1/10/2",  "1/10/10", "1/20/1",
                                               "1/990/-", "2/10/1",  "110/991/-"};
    EXPECT_EQ(spaceKeys(*t), expected);
    EXPECT_TRUE(t->eof());
    EXPECT_EQ(spaceKey(*t), "110/991/-");  // eof stays on the last record

    std::vector<std::string> backwards;
    for (t->last(); !t->bof(); t->prior()) {
        backwards.push_back(spaceKey(*t));
    }
    std::reverse(backwards.begin(), backwards.end());
    EXPECT_EQ(backwards, expected);

    t->close();
    t->open();
    EXPECT_EQ(spaceKeys(*t), expected);
}

TEST_F(TableTest, EmptyTableNavigation) {
    auto t = spaces();
    t->first();
    EXPECT_TRUE(t->eof() && t->bof());
    t->next();
    t->prior();
    t->last();
    EXPECT_TRUE(t->eof() && t->bof());
    EXPECT_TRUE(t->field("IDfloor").isNull());
    EXPECT_THROW(t->remove(), EngineError);
}

struct FindCase {
    const char* label;
    std::vector<std::optional<int>> key;
    const char* found;  // null: not found
};

class FindKeyTest : public TableTest, public ::testing::WithParamInterface<FindCase> {
protected:
    void SetUp() override {
        mTable = spaces();
        for (const char* k :
             {"-1/20/1", "1/10/1", "1/10/2", "1/20/1", "2/10/1", "40/0/-", "40/0/0"}) {
            std::vector<Value> v;
            std::string s = k;
            for (size_t pos = 0; pos <= s.size();) {
                const size_t slash = std::min(s.find('/', pos), s.size());
                const std::string part = s.substr(pos, slash - pos);
                v.push_back(part == "-" ? Value() : I(std::stoi(part)));
                pos = slash + 1;
            }
            postSpace(*mTable, v[0], v[1], v[2]);
        }
    }
    std::unique_ptr<Table> mTable;
};

TEST_P(FindKeyTest, PositionsOnTheFirstMatchOrStays) {
    const FindCase& c = GetParam();
    std::vector<Value> key;
    for (const auto& k : c.key) {
        key.push_back(k ? I(*k) : Value());
    }
    mTable->moveTo(3);
    ASSERT_EQ(spaceKey(*mTable), "1/20/1");
    const bool found = mTable->findKey(key);
    EXPECT_EQ(found, c.found != nullptr);
    EXPECT_EQ(spaceKey(*mTable), c.found ? c.found : "1/20/1");
    if (!c.found) {
        EXPECT_EQ(mTable->currentRow(), 3);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, FindKeyTest,
    ::testing::Values(
        FindCase{"Floor", {1}, "1/10/1"}, FindCase{"NegativeFloor", {-1}, "-1/20/1"},
        FindCase{"FloorKind", {1, 20}, "1/20/1"}, FindCase{"FullKey", {1, 10, 2}, "1/10/2"},
        FindCase{"BlankNumber", {40, 0, std::nullopt}, "40/0/-"},
        FindCase{"ZeroNumber", {40, 0, 0}, "40/0/0"}, FindCase{"BlankSortsFirst", {40}, "40/0/-"},
        FindCase{"LastRecord", {2, 10, 1}, "2/10/1"}, FindCase{"MissingFloorBetween", {0}, nullptr},
        FindCase{"MissingFloorAfter", {3}, nullptr}, FindCase{"MissingFloorBefore", {-5}, nullptr},
        FindCase{"MissingKind", {1, 15}, nullptr}, FindCase{"MissingNumber", {1, 10, 3}, nullptr},
        FindCase{"ZeroIsNotBlank", {40, 0, 1}, nullptr},
        FindCase{"BlankIsNotZero", {2, 10, std::nullopt}, nullptr}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(TableTest, FindKeyRefusesTooManyValues) {
    auto t = spaces();
    EXPECT_THROW(t->findKey({}), EngineError);
    EXPECT_THROW(t->findKey({I(1), I(1), I(1), I(1)}), EngineError);
}

TEST_F(TableTest, BookmarkSurvivesPostsOfOtherRecords) {
    auto t = spaces();
    postSpace(*t, I(1), I(10), I(5));
    const Table::Bookmark mark = t->bookmark();
    postSpace(*t, I(1), I(10), I(1));  // inserted before the marked record
    postSpace(*t, I(0), I(10), I(1));
    postSpace(*t, I(2), I(10), I(1));
    t->findKey({I(2)});
    t->edit();
    t->field("IDfloor").setInteger(-3);  // moves in front of it
    t->post();
    t->first();
    t->remove();  // removes the moved one
    t->first();
    EXPECT_TRUE(t->bookmarkValid(mark));
    ASSERT_TRUE(t->gotoBookmark(mark));
    EXPECT_EQ(spaceKey(*t), "1/10/5");
    EXPECT_EQ(t->currentRow(), 2);

    // An edit of the marked record itself keeps the mark.
    t->edit();
    t->field("NumberXoros").setInteger(0);
    t->post();
    t->last();
    ASSERT_TRUE(t->gotoBookmark(mark));
    EXPECT_EQ(spaceKey(*t), "1/10/0");
}

TEST_F(TableTest, BookmarkOfADeletedRecordLeadsNowhere) {
    auto t = spaces();
    postSpace(*t, I(1), I(10), I(1));
    postSpace(*t, I(1), I(10), I(2));
    const Table::Bookmark mark = t->bookmark();
    t->remove();
    postSpace(*t, I(9), I(10), I(9));  // a new record may not take the mark over
    t->first();
    EXPECT_FALSE(t->bookmarkValid(mark));
    EXPECT_FALSE(t->gotoBookmark(mark));
    EXPECT_EQ(spaceKey(*t), "1/10/1");
}

// ---------------------------------------------------------------- editing

TEST_F(TableTest, EditInsertCancelPostAndDelete) {
    auto t = spaces();
    postSpace(*t, I(1), I(10), I(1), R(10.0));
    postSpace(*t, I(1), I(10), I(2), R(20.0));

    t->insert();
    EXPECT_EQ(t->state(), TableState::Insert);
    t->field("IDfloor").setInteger(3);
    t->cancel();
    EXPECT_EQ(t->state(), TableState::Browse);
    EXPECT_EQ(t->recordCount(), 2);

    t->findKey({I(1), I(10), I(1)});
    t->edit();
    t->field("AreaClear").setFloat(99.0);
    EXPECT_DOUBLE_EQ(t->field("AreaClear").asFloat(), 99.0);  // the buffer while editing
    t->cancel();
    EXPECT_DOUBLE_EQ(t->field("AreaClear").asFloat(), 10.0);

    t->edit();
    t->field("AreaClear").setFloat(11.0);
    t->post();
    EXPECT_EQ(diskCopy(t->filePath()).single("SELECT AreaClear FROM data WHERE NumberXoros = 1"),
              "11.0");

    t->remove();
    EXPECT_EQ(spaceKey(*t), "1/10/2");  // the next record becomes current
    t->remove();
    EXPECT_TRUE(t->isEmpty());
    EXPECT_TRUE(t->eof());
    EXPECT_EQ(rowsOnDisk(t->filePath()), 0);
}

TEST_F(TableTest, DeleteInsideAScanVisitsEveryRecordOnce) {
    auto t = spaces();
    for (int n = 1; n <= 6; ++n) {
        postSpace(*t, I(1), I(10), I(n));
    }
    std::vector<std::string> seen;
    for (t->first(); !t->eof();) {
        seen.push_back(spaceKey(*t));
        if (t->field("NumberXoros").asInteger() % 2 == 0) {
            t->remove();
        } else {
            t->next();
        }
    }
    EXPECT_EQ(seen.size(), 6u);
    EXPECT_EQ(spaceKeys(*t), (std::vector<std::string>{"1/10/1", "1/10/3", "1/10/5"}));
}

TEST_F(TableTest, EditingAnEmptyTableStartsItsFirstRecord) {
    auto t = makeTable("GenDataT", genDataTableDef(), "TestGenData_DRAVIN");
    t->edit();
    EXPECT_EQ(t->state(), TableState::Insert);
    t->field("DravinTotal").setFloat(1000.0);
    t->post();
    EXPECT_EQ(t->recordCount(), 1);
}

TEST_F(TableTest, UnkeyedTableKeepsNaturalOrder) {
    auto t = makeTable("GenDataT", genDataTableDef(), "TestGenData_DRAVIN");
    for (const char* name : {"Γ", "Α", "Β"}) {
        t->append();
        t->field("Name1").setString(name);
        t->post();
    }
    const auto names = [&] {
        std::vector<std::string> list;
        for (t->first(); !t->eof(); t->next()) {
            list.push_back(t->field("Name1").asString());
        }
        return list;
    };
    EXPECT_EQ(names(), (std::vector<std::string>{"Γ", "Α", "Β"}));

    // An edit leaves the record where it stands, in memory as on disk.
    t->moveTo(1);
    t->edit();
    t->field("Name1").setString("Ω");
    t->post();
    EXPECT_EQ(t->currentRow(), 1);
    EXPECT_EQ(names(), (std::vector<std::string>{"Γ", "Ω", "Β"}));
    t->close();
    t->open();
    EXPECT_EQ(names(), (std::vector<std::string>{"Γ", "Ω", "Β"}));
}

struct MoveCase {
    const char* label;
    void (*move)(Table&);
};

class MovePostsTest : public TableTest, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(MovePostsTest, MovingTheCursorPostsAPendingEdit) {
    auto t = spaces();
    postSpace(*t, I(1), I(10), I(1), R(1.0));
    postSpace(*t, I(1), I(10), I(2), R(2.0));
    t->first();
    int posts = 0;
    t->afterPost = [&](Table&) { ++posts; };

    t->edit();
    t->field("AreaClear").setFloat(7.0);
    GetParam().move(*t);
    EXPECT_EQ(t->state(), TableState::Browse);
    EXPECT_EQ(posts, 1);
    EXPECT_EQ(diskCopy(t->filePath()).single("SELECT AreaClear FROM data WHERE NumberXoros = 1"),
              "7.0");

    t->insert();
    t->field("IDfloor").setInteger(5);
    t->field("IDXoros").setInteger(10);
    GetParam().move(*t);
    EXPECT_EQ(posts, 2);
    EXPECT_EQ(rowsOnDisk(t->filePath()), 3);
}

INSTANTIATE_TEST_SUITE_P(Table, MovePostsTest,
                         ::testing::Values(MoveCase{"Next", [](Table& t) { t.next(); }},
                                           MoveCase{"Prior", [](Table& t) { t.prior(); }},
                                           MoveCase{"First", [](Table& t) { t.first(); }},
                                           MoveCase{"Last", [](Table& t) { t.last(); }},
                                           MoveCase{"MoveTo", [](Table& t) { t.moveTo(1); }},
                                           MoveCase{"FindKey", [](Table& t) { t.findKey({I(1)}); }},
                                           MoveCase{"Insert",
                                                    [](Table& t) {
                                                        t.insert();
                                                        t.cancel();
                                                    }},
                                           MoveCase{"CheckBrowseMode",
                                                    [](Table& t) { t.checkBrowseMode(); }}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(TableTest, ClosingDropsAnUnpostedRecord) {
    auto t = spaces();
    postSpace(*t, I(1), I(10), I(1), R(1.0));
    t->edit();
    t->field("AreaClear").setFloat(5.0);
    t->close();
    t->open();
    EXPECT_DOUBLE_EQ(t->field("AreaClear").asFloat(), 1.0);
}

TEST_F(TableTest, TakenKeyIsAKeyViolation) {
    auto t = spaces();
    postSpace(*t, I(1), I(10), I(1));
    postSpace(*t, I(1), I(10), I(2));
    int posts = 0;
    t->afterPost = [&](Table&) { ++posts; };

    EXPECT_THROW(postSpace(*t, I(1), I(10), I(1)), EngineError);
    EXPECT_EQ(t->state(), TableState::Insert);  // still editable
    t->field("NumberXoros").setInteger(3);
    t->post();
    EXPECT_EQ(posts, 1);

    t->findKey({I(1), I(10), I(2)});
    t->edit();
    t->field("NumberXoros").setInteger(1);
    EXPECT_THROW(t->post(), EngineError);
    t->cancel();
    EXPECT_EQ(spaceKeys(*t), (std::vector<std::string>{"1/10/1", "1/10/2", "1/10/3"}));
    EXPECT_EQ(rowsOnDisk(t->filePath()), 3);

    // A key posted again unchanged is no violation.
    t->findKey({I(1), I(10), I(2)});
    t->edit();
    t->field("AreaClear").setFloat(1.0);
    EXPECT_NO_THROW(t->post());
}

TEST_F(TableTest, BlankKeyPartsAreValues) {
    auto t = spaces();
    postSpace(*t, I(40), I(0), I(1));
    postSpace(*t, I(40), I(0), I(0));
    postSpace(*t, I(40), I(0), Value());  // differs from (40, 0, 0)
    postSpace(*t, Value(), I(0), I(0));
    postSpace(*t, I(-100), I(0), I(0));
    EXPECT_THROW(postSpace(*t, I(40), I(0), Value()), EngineError);
    t->cancel();
    EXPECT_THROW(postSpace(*t, Value(), I(0), I(0)), EngineError);
    t->cancel();
    EXPECT_EQ(spaceKeys(*t),
              (std::vector<std::string>{"-/0/0", "-100/0/0", "40/0/-", "40/0/0", "40/0/1"}));
    t->close();
    t->open();
    EXPECT_EQ(spaceKeys(*t).front(), "-/0/0");
}

TEST_F(TableTest, OwnersWithTheSameNameAreKeptInNameOrder) {
    auto t = owners();
    postOwner(*t, "Παπαδόπουλος", 2);
    postOwner(*t, "Αλεξίου", 7);
    postOwner(*t, "Ωραιόπουλος", 1);
    postOwner(*t, "Παπαδόπουλος", 1);
    postOwner(*t, "Βλάχου", 3);
    postOwner(*t, "αλεξίου", 7);  // differs in case only: another name
    EXPECT_THROW(postOwner(*t, "Παπαδόπουλος", 2), EngineError);
    t->cancel();
    std::vector<std::string> list;
    for (t->first(); !t->eof(); t->next()) {
        list.push_back(t->field("Name").asString() + " " + t->field("ID").asString());
    }
    EXPECT_EQ(list,
              (std::vector<std::string>{"αλεξίου 7", "Αλεξίου 7", "Βλάχου 3", "Παπαδόπουλος 1",
                                        "Παπαδόπουλος 2", "Ωραιόπουλος 1"}));
    EXPECT_TRUE(t->findKey({T("Παπαδόπουλος")}));
    EXPECT_EQ(t->field("ID").asInteger(), 1);
    EXPECT_FALSE(t->findKey({T("ΠΑΠΑΔΟΠΟΥΛΟΣ")}));
}

// ---------------------------------------------------------------- fields

TEST_F(TableTest, BlankIsDistinctFromZero) {
    auto t = spaces();
    postSpace(*t, I(1), I(10), I(1), Value());
    postSpace(*t, I(1), I(10), I(2), R(0.0));
    t->findKey({I(1), I(10), I(1)});
    const Field blank = t->field("AreaClear");
    EXPECT_TRUE(blank.isNull());
    EXPECT_EQ(blank.asFloat(), 0.0);
    EXPECT_EQ(blank.asInteger(), 0);
    EXPECT_EQ(blank.asString(), "");
    EXPECT_TRUE(t->field("Name2Floor").isNull());
    EXPECT_EQ(t->field("Name2Floor").asString(), "");
    t->next();
    EXPECT_FALSE(t->field("AreaClear").isNull());
    EXPECT_EQ(t->field("AreaClear").asString(), "0");

    EXPECT_EQ(diskCopy(t->filePath()).query("SELECT typeof(AreaClear) FROM data ORDER BY NumberXoros"),
              (std::vector<std::vector<std::string>>{{"null"}, {"real"}}));

    // Clearing makes blank, not 0; so does empty text.
    t->edit();
    t->field("AreaClear").clear();
    t->field("Name2Floor").setString("Α");
    t->field("Name2Floor").setString("");
    t->post();
    EXPECT_EQ(diskCopy(t->filePath())
                  .single("SELECT typeof(AreaClear) || typeof(Name2Floor) FROM data WHERE "
                          "NumberXoros = 2"),
              "nullnull");
    t->close();
    t->open();
    t->last();
    EXPECT_TRUE(t->field("AreaClear").isNull());
}

TEST_F(TableTest, FieldNamesIgnoreLetterCase) {
    auto t = spaces();
    t->insert();
    t->field("IDFloor").setInteger(4);
    EXPECT_EQ(t->field("IDfloor").asInteger(), 4);
    EXPECT_EQ(t->field("idfloor").asInteger(), 4);
    EXPECT_EQ(t->field("IDFLOOR").name(), "IDfloor");
    EXPECT_EQ(t->field("nameowner").name(), "NameOwner");
    EXPECT_TRUE(t->field("NAMEOWNER").isLookup());
    EXPECT_FALSE(t->findField("IDFloors"));
    EXPECT_THROW(t->field("Nothing"), EngineError);
    int calls = 0;
    t->setFieldChangeHandler("idFLOOR", [&](Field) { ++calls; });
    t->field("IDfloor").setInteger(5);
    EXPECT_EQ(calls, 1);
    EXPECT_THROW(t->setFieldChangeHandler("Nothing", nullptr), EngineError);
}

TEST_F(TableTest, TextCapacityCountsCodePageBytes) {
    auto t = spaces();
    t->insert();
    t->field("Name2Floor").setString("ΥΠ2");  // 3 bytes in the code page, 5 in UTF-8
    EXPECT_EQ(t->field("Name2Floor").asString(), "ΥΠ2");
    EXPECT_THROW(t->field("Name2Floor").setString("ΥΠ10"), RangeError);
    EXPECT_EQ(t->field("Name2Floor").asString(), "ΥΠ2");  // the refused value left it alone
    EXPECT_THROW(t->field("Name2Floor").setString("Ισ\xE4\xB8\xAD"), RangeError);  // not in 1253
    t->post();
    EXPECT_EQ(diskCopy(t->filePath()).single("SELECT hex(Name2Floor) FROM data"), "D5D032");

    auto o = owners();
    const std::string forty = [] {
        std::string s;
        for (int i = 0; i < 40; ++i) {
            s += "Ω";
        }
        return s;
    }();
    o->insert();
    EXPECT_NO_THROW(o->field("Name").setString(forty));
    EXPECT_THROW(o->field("Name").setString(forty + "ς"), RangeError);
    EXPECT_NO_THROW(o->field("Address").setString(forty + forty));
}

struct BadAssignment {
    const char* label;
    const char* field;
    Value value;
    const char* said;  // the one sentence the user is shown
};

class BadAssignmentTest : public TableTest, public ::testing::WithParamInterface<BadAssignment> {};

TEST_P(BadAssignmentTest, IsRefusedAndLeavesTheField) {
    auto t = spaces();
    t->insert();
    const Value before = t->field(GetParam().field).value();
    try {
        t->field(GetParam().field).setValue(GetParam().value);
        ADD_FAILURE() << "accepted";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), GetParam().said);
    }
    EXPECT_EQ(t->field(GetParam().field).value(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Table, BadAssignmentTest,
    ::testing::Values(
        BadAssignment{"TextIntoInteger", "IDfloor", Value::bytes("1"),
                      "Το πεδίο IDfloor δέχεται ακέραιους αριθμούς, όχι κείμενο."},
        BadAssignment{"TextIntoFloat", "AreaClear", Value::bytes("1.5"),
                      "Το πεδίο AreaClear δέχεται αριθμούς, όχι κείμενο."},
        BadAssignment{"FractionIntoInteger", "IDfloor", Value::real(2.5),
                      "Το πεδίο IDfloor δέχεται ακέραιους αριθμούς από -2147483648 έως "
                      "2147483647."},
        BadAssignment{"HugeIntoInteger", "IDfloor", Value::real(3e9),
                      "Το πεδίο IDfloor δέχεται ακέραιους αριθμούς από -2147483648 έως "
                      "2147483647."},
        BadAssignment{"NanIntoInteger", "IDfloor", Value::real(std::nan("")),
                      "Το πεδίο IDfloor δέχεται ακέραιους αριθμούς από -2147483648 έως "
                      "2147483647."},
        BadAssignment{"InfinityIntoFloat", "AreaClear", Value::real(HUGE_VAL),
                      "Η τιμή του πεδίου AreaClear δεν είναι πεπερασμένος αριθμός."},
        BadAssignment{"NumberIntoText", "Name2Floor", Value::integer(1),
                      "Το πεδίο Name2Floor δέχεται κείμενο, όχι αριθμούς."},
        BadAssignment{"TextTooLong", "Name2Floor", Value::bytes("ABCD"),
                      "Το κείμενο του πεδίου Name2Floor ξεπερνά τους 3 χαρακτήρες του."},
        BadAssignment{"IntoLookup", "NameOwner", Value(),
                      "Το πεδίο NameOwner του πίνακα DravinT είναι πεδίο αναφοράς και δεν "
                      "αλλάζει."}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(TableTest, NumbersConvertToTheFieldType) {
    auto t = spaces();
    t->insert();
    t->field("IDfloor").setFloat(-3.0);
    t->field("AreaClear").setInteger(12);
    EXPECT_TRUE(t->field("IDfloor").value().isInteger());
    EXPECT_TRUE(t->field("AreaClear").value().isReal());
    EXPECT_THROW(t->field("IDfloor").setString("3"), EngineError);
    t->post();
    EXPECT_EQ(diskCopy(t->filePath()).single("SELECT typeof(IDfloor) || typeof(AreaClear) FROM data"),
              "integerreal");
}

TEST_F(TableTest, FieldsOfAClosedOrBrowsingTableCannotBeSet) {
    auto t = spaces();
    postSpace(*t, I(1), I(10), I(1));
    EXPECT_THROW(t->field("AreaClear").setFloat(1.0), EngineError);  // browse
    t->close();
    EXPECT_THROW(t->field("AreaClear").setFloat(1.0), EngineError);
    EXPECT_THROW(t->field("AreaClear").value(), EngineError);
}

class LookupTest : public TableTest {
protected:
    void SetUp() override {
        mFloors = makeTable("FloorT", floorTableDef(), "TestFloor_DRAVIN");
        mKinds = makeTable("XorosT", xorosTableDef(), "TestXoros_DRAVIN");
        mOwners = owners();
        mSpaces = spaces();
        mSpaces->setLookupSource("Name1Floor", mFloors.get());
        mSpaces->setLookupSource("NAMEXOROS", mKinds.get());
        mSpaces->setLookupSource("NameOwner", mOwners.get());
        mFloors->insert();
        mFloors->field("IDFloor").setInteger(1);
        mFloors->field("Name1").setString("Α' Όροφος");
        mFloors->post();
        mKinds->insert();
        mKinds->field("IDXoros").setInteger(10);
        mKinds->field("Name").setString("Διαμέρισμα");
        mKinds->post();
        postOwner(*mOwners, "Παπαδόπουλος", 1);
        postOwner(*mOwners, "Αλεξίου", 2);
    }
    std::unique_ptr<Table> mFloors, mKinds, mOwners, mSpaces;
};

TEST_F(LookupTest, ShowTheSourceTextOrBlank) {
    postSpace(*mSpaces, I(1), I(10), I(1));
    mSpaces->edit();
    mSpaces->field("IDowner").setInteger(2);
    mSpaces->post();
    postSpace(*mSpaces, I(2), I(20), I(1));
    mSpaces->edit();
    mSpaces->field("IDowner").setInteger(9);  // no such owner
    mSpaces->post();

    mSpaces->first();
    EXPECT_EQ(mSpaces->field("Name1Floor").asString(), "Α' Όροφος");
    EXPECT_EQ(mSpaces->field("NameXoros").asString(), "Διαμέρισμα");
    EXPECT_EQ(mSpaces->field("NameOwner").asString(), "Αλεξίου");
    mSpaces->next();
    EXPECT_TRUE(mSpaces->field("Name1Floor").isNull());
    EXPECT_TRUE(mSpaces->field("NameXoros").isNull());
    EXPECT_TRUE(mSpaces->field("NameOwner").isNull());
    EXPECT_EQ(mSpaces->field("NameOwner").asString(), "");
    EXPECT_THROW(mSpaces->field("NameOwner").setString("x"), EngineError);
}

TEST_F(LookupTest, FollowEditsOfTheSourceAndTheBuffer) {
    postSpace(*mSpaces, I(1), I(10), I(1));
    mSpaces->edit();
    mSpaces->field("IDowner").setInteger(1);
    EXPECT_EQ(mSpaces->field("NameOwner").asString(), "Παπαδόπουλος");  // from the buffer
    mSpaces->post();

    mOwners->findKey({T("Παπαδόπουλος")});
    mOwners->edit();
    mOwners->field("Name").setString("Ζαχαρίου");
    mOwners->post();
    EXPECT_EQ(mSpaces->field("NameOwner").asString(), "Ζαχαρίου");

    mOwners->findKey({T("Ζαχαρίου")});
    mOwners->remove();
    EXPECT_TRUE(mSpaces->field("NameOwner").isNull());

    postOwner(*mOwners, "Νέος", 1);
    EXPECT_EQ(mSpaces->field("NameOwner").asString(), "Νέος");
    mOwners->close();
    EXPECT_TRUE(mSpaces->field("NameOwner").isNull());  // a closed source shows nothing
}

TEST_F(LookupTest, UnknownLookupSourceNameIsRefused) {
    EXPECT_THROW(mSpaces->setLookupSource("Name2Floor", mFloors.get()), EngineError);
}

// ---------------------------------------------------------------- events

TEST_F(TableTest, FieldChangeFiresOnEveryAssignment) {
    auto t = spaces();
    std::vector<std::string> calls;
    t->setFieldChangeHandler("AreaClear", [&](Field f) {
        calls.push_back(f.name() + "=" + f.asString());
        // A handler may assign other fields, whose handlers fire as well.
        f.value().isBlank() ? void() : t->field("Height").setFloat(3.0);
    });
    t->setFieldChangeHandler("Height",
                             [&](Field f) { calls.push_back(f.name() + "=" + f.asString()); });

    t->insert();
    t->field("AreaClear").setFloat(10.0);
    t->field("AreaClear").setFloat(10.0);  // equal value
    t->field("AreaClear").setValue(Value::integer(10));
    t->field("AreaClear").clear();
    t->field("IDfloor").setInteger(1);  // no handler
    EXPECT_EQ(calls,
              (std::vector<std::string>{"AreaClear=10", "Height=3", "AreaClear=10", "Height=3",
                                        "AreaClear=10", "Height=3", "AreaClear="}));
    calls.clear();
    EXPECT_THROW(t->field("AreaClear").setValue(Value::bytes("x")), EngineError);
    EXPECT_TRUE(calls.empty());  // a refused value is no assignment
    t->setFieldChangeHandler("AreaClear", nullptr);
    t->field("AreaClear").setFloat(1.0);
    EXPECT_TRUE(calls.empty());
}

TEST_F(TableTest, AfterPostFiresOncePerSuccessfulPost) {
    auto t = spaces();
    std::vector<std::string> seen;
    t->afterPost = [&](Table& table) {
        EXPECT_EQ(table.state(), TableState::Browse);
        seen.push_back(spaceKey(table));
    };
    postSpace(*t, I(1), I(10), I(1));
    t->insert();
    t->cancel();
    t->post();  // nothing pending
    EXPECT_THROW(postSpace(*t, I(1), I(10), I(1)), EngineError);
    t->cancel();
    postSpace(*t, I(0), I(10), I(1));
    EXPECT_EQ(seen, (std::vector<std::string>{"1/10/1", "0/10/1"}));
}

TEST_F(TableTest, BeforeDeleteMayCancelSilently) {
    auto t = spaces();
    postSpace(*t, I(1), I(10), I(1));
    postSpace(*t, I(1), I(10), I(2));
    bool allow = false;
    std::string asked;
    t->beforeDelete = [&](Table& table) {
        asked = spaceKey(table);
        return allow;
    };
    t->first();
    EXPECT_THROW(t->remove(), AbortError);
    EXPECT_EQ(asked, "1/10/1");
    EXPECT_EQ(t->recordCount(), 2);
    EXPECT_EQ(rowsOnDisk(t->filePath()), 2);
    EXPECT_EQ(spaceKey(*t), "1/10/1");
    allow = true;
    t->remove();
    EXPECT_EQ(spaceKeys(*t), std::vector<std::string>{"1/10/2"});
}

TEST_F(TableTest, PostErrorHandlerMayAbortOrLetTheErrorThrough) {
    auto t = spaces();
    postSpace(*t, I(1), I(10), I(1));
    std::string reported;
    PostErrorAction action = PostErrorAction::Abort;
    t->onPostError = [&](Table& table, const std::exception& e) {
        EXPECT_EQ(table.state(), TableState::Insert);
        reported = e.what();
        return action;
    };
    t->insert();
    t->field("IDfloor").setInteger(1);
    t->field("IDXoros").setInteger(10);
    t->field("NumberXoros").setInteger(1);
    t->field("AreaClear").setFloat(5.0);
    EXPECT_THROW(t->post(), AbortError);
    EXPECT_NE(reported.find("Παραβίαση κλειδιού"), std::string::npos) << reported;
    EXPECT_EQ(t->state(), TableState::Insert);  // the record stays in edit state
    EXPECT_DOUBLE_EQ(t->field("AreaClear").asFloat(), 5.0);

    action = PostErrorAction::Fail;
    EXPECT_THROW(t->post(), EngineError);
    EXPECT_EQ(t->state(), TableState::Insert);

    t->field("NumberXoros").setInteger(2);
    t->post();
    EXPECT_EQ(spaceKeys(*t), (std::vector<std::string>{"1/10/1", "1/10/2"}));
}

TEST_F(TableTest, FileErrorDuringPostLeavesRecordAndMemoryAlone) {
    auto t = spaces();
    postSpace(*t, I(1), I(10), I(1));
    t->close();
    RawDb(t->filePath())
        .exec(
            "CREATE TRIGGER refuse BEFORE INSERT ON data WHEN NEW.NumberXoros = 99 "
            "BEGIN SELECT RAISE(ABORT, 'disk trouble'); END");
    t->open();
    std::string reported;
    t->onPostError = [&](Table&, const std::exception& e) {
        reported = e.what();
        return PostErrorAction::Fail;
    };
    t->insert();
    t->field("IDfloor").setInteger(0);
    t->field("NumberXoros").setInteger(99);
    EXPECT_THROW(t->post(), EngineError);
    EXPECT_NE(reported.find("disk trouble"), std::string::npos) << reported;
    EXPECT_EQ(t->state(), TableState::Insert);
    t->cancel();
    EXPECT_EQ(spaceKeys(*t), std::vector<std::string>{"1/10/1"});
    postSpace(*t, I(0), I(10), I(98));
    EXPECT_EQ(rowsOnDisk(t->filePath()), 2);
}

// ---------------------------------------------------------------- display suspension

TEST_F(TableTest, NestedSuspensionResetsViewsOnceAtTheOutermostResume) {
    CountingObserver views;  // outlives the table, which tells it of its closing
    auto t = spaces();
    t->addObserver(&views);
    postSpace(*t, I(1), I(10), I(1));
    EXPECT_GT(views.rowEvents, 0);  // unsuspended, views hear each row
    views = CountingObserver();

    t->disableControls();
    EXPECT_EQ(views.aboutToReset, 1);
    t->disableControls();
    postSpace(*t, I(1), I(10), I(2));
    t->enableControls();
    EXPECT_TRUE(t->controlsDisabled());
    postSpace(*t, I(1), I(10), I(3));
    t->first();
    t->remove();
    EXPECT_EQ(views.reset, 0);
    t->enableControls();
    EXPECT_FALSE(t->controlsDisabled());
    EXPECT_EQ(views.aboutToReset, 1);
    EXPECT_EQ(views.reset, 1);
    EXPECT_EQ(views.rowEvents, 0);
    t->enableControls();  // an unmatched resume does nothing
    EXPECT_EQ(views.reset, 1);
    t->removeObserver(&views);
}

TEST_F(TableTest, PostsInsideASuspensionReachTheDiskAtTheResume) {
    auto t = spaces();
    postSpace(*t, I(1), I(10), I(1));
    {
        DisplaySuspension suspended(*t);
        DisplaySuspension nested(*t);
        postSpace(*t, I(1), I(10), I(2));
        postSpace(*t, I(1), I(10), I(3));
        EXPECT_EQ(t->recordCount(), 3);
    }
    EXPECT_EQ(rowsOnDisk(t->filePath()), 3);
    t->close();
    t->open();
    EXPECT_EQ(t->recordCount(), 3);
}

TEST_F(TableTest, FailurePartWayThroughASuspensionKeepsEveryPostedRecord) {
    CountingObserver views;  // outlives the table, which tells it of its closing
    auto t = spaces();
    t->addObserver(&views);
    try {
        DisplaySuspension suspended(*t);
        postSpace(*t, I(1), I(10), I(1));
        postSpace(*t, I(1), I(10), I(2));
        postSpace(*t, I(1), I(10), I(1));  // key violation ends the command
        FAIL() << "the duplicate was posted";
    } catch (const EngineError&) {
    }
    EXPECT_EQ(views.reset, 1);
    EXPECT_FALSE(t->controlsDisabled());
    EXPECT_EQ(rowsOnDisk(t->filePath()), 2);
    t->cancel();
    t->close();
    t->open();
    EXPECT_EQ(spaceKeys(*t), (std::vector<std::string>{"1/10/1", "1/10/2"}));
}

// SQLite gives up the whole transaction on some write errors (disk full, I/O error);
// RAISE(ROLLBACK) in a trigger does the same on demand.
void dropTransactionOn(const fs::path& file, const std::string& event, const std::string& when) {
    RawDb(file).exec("CREATE TRIGGER drop_all BEFORE " + event + " ON data WHEN " + when +
                     " BEGIN SELECT RAISE(ROLLBACK, 'disk full'); END");
}

std::vector<std::string> spacesWithArea(Table& t) {
    std::vector<std::string> rows;
    for (t.first(); !t.eof(); t.next()) {
        rows.push_back(spaceKey(t) + "=" + t.field("AreaClear").asString());
    }
    return rows;
}

// Posts grouped in a suspension reach the file when display resumes. When the file
// refuses them then (disk full, I/O), the resume reports it and the table shows what
// the file holds: the state before the suspension.
TEST_F(TableTest, GroupedWritesRefusedAtResumeLeaveTheMemoryAsTheDisk) {
    struct Case {
        const char* event;
        const char* when;
    };
    for (const Case& c :
         {Case{"INSERT", "NEW.NumberXoros = 99"}, Case{"UPDATE", "NEW.AreaClear = 99"}}) {
        SCOPED_TRACE(c.event);
        auto t = spaces(std::string("Lost") + c.event + "_DRAVIN");
        postSpace(*t, I(1), I(10), I(1), R(1.0));
        t->close();
        dropTransactionOn(t->filePath(), c.event, c.when);
        t->open();
        const auto grouped = [&] {
            DisplaySuspension suspended(*t);
            postSpace(*t, I(1), I(10), I(2), R(2.0));
            t->first();
            t->edit();
            t->field("AreaClear").setFloat(99.0);
            postSpace(*t, I(1), I(10), I(99), R(3.0));
        };
        EXPECT_THROW(grouped(), EngineError);
        const std::vector<std::string> before = {"1/10/1=1"};
        EXPECT_EQ(spacesWithArea(*t), before);
        postSpace(*t, I(1), I(10), I(3), R(3.0));  // still usable
        t->close();
        t->open();
        EXPECT_EQ(spacesWithArea(*t), (std::vector<std::string>{"1/10/1=1", "1/10/3=3"}));
    }
}

// ---------------------------------------------------------------- batch move

class BatchMoveTest : public TableTest {
protected:
    void SetUp() override {
        mTarget = spaces("Target_DRAVIN");
        postSpace(*mTarget, I(1), I(10), I(1), R(1.0));
        postSpace(*mTarget, I(1), I(10), I(2), R(2.0));
        mSource = spaces("Source_DRAVIN");
        postSpace(*mSource, I(1), I(10), I(2), R(20.0));
        postSpace(*mSource, I(1), I(10), I(3), R(30.0));
        postSpace(*mSource, I(0), I(10), I(1), Value());
    }
    std::vector<std::string> contents(Table& t) {
        std::vector<std::string> rows;
        for (t.first(); !t.eof(); t.next()) {
            rows.push_back(spaceKey(t) + "=" + t.field("AreaClear").asString());
        }
        return rows;
    }
    std::unique_ptr<Table> mTarget, mSource;
};

TEST_F(BatchMoveTest, AppendUpdateAddsMissingAndOverwritesPresentKeys) {
    int events = 0;
    mTarget->afterPost = [&](Table&) { ++events; };
    mTarget->setFieldChangeHandler("AreaClear", [&](Field) { ++events; });
    mTarget->batchMoveFrom(*mSource, BatchMode::AppendUpdate);
    const std::vector<std::string> expected = {"0/10/1=", "1/10/1=1", "1/10/2=20", "1/10/3=30"};
    EXPECT_EQ(contents(*mTarget), expected);
    EXPECT_EQ(events, 0);
    EXPECT_EQ(contents(*mSource), (std::vector<std::string>{"0/10/1=", "1/10/2=20", "1/10/3=30"}));
    mTarget->close();
    mTarget->open();
    EXPECT_EQ(contents(*mTarget), expected);
}

TEST_F(BatchMoveTest, WorksWithClosedSourceAndTarget) {
    mSource->close();
    mTarget->close();
    mTarget->batchMoveFrom(*mSource, BatchMode::AppendUpdate);
    EXPECT_FALSE(mSource->isOpen());
    EXPECT_FALSE(mTarget->isOpen());
    mTarget->open();
    EXPECT_EQ(mTarget->recordCount(), 4);
}

TEST_F(BatchMoveTest, CopyReplacesEveryRecord) {
    mTarget->batchMoveFrom(*mSource, BatchMode::Copy);
    EXPECT_EQ(contents(*mTarget), (std::vector<std::string>{"0/10/1=", "1/10/2=20", "1/10/3=30"}));
    EXPECT_EQ(rowsOnDisk(mTarget->filePath()), 3);
}

TEST_F(BatchMoveTest, CopyCreatesAMissingTarget) {
    auto fresh = makeTable("DravinT1", dravinTableDef(), "Fresh_DRAVIN", false);
    fresh->batchMoveFrom(*mSource, BatchMode::Copy);
    EXPECT_TRUE(fresh->exists());
    fresh->open();
    EXPECT_EQ(contents(*fresh), contents(*mSource));
}

TEST_F(BatchMoveTest, FailureChangesNothing) {
    mTarget->close();
    RawDb(mTarget->filePath())
        .exec(
            "CREATE TRIGGER refuse BEFORE INSERT ON data WHEN NEW.NumberXoros = 3 "
            "BEGIN SELECT RAISE(ABORT, 'disk trouble'); END");
    mTarget->open();
    EXPECT_THROW(mTarget->batchMoveFrom(*mSource, BatchMode::AppendUpdate), EngineError);
    EXPECT_EQ(contents(*mTarget), (std::vector<std::string>{"1/10/1=1", "1/10/2=2"}));
    EXPECT_EQ(rowsOnDisk(mTarget->filePath()), 2);
    EXPECT_THROW(mTarget->batchMoveFrom(*mSource, BatchMode::Copy), EngineError);
    EXPECT_EQ(contents(*mTarget), (std::vector<std::string>{"1/10/1=1", "1/10/2=2"}));
}

TEST_F(BatchMoveTest, FailureInsideASuspensionKeepsRecordsPostedBefore) {
    mTarget->close();
    RawDb(mTarget->filePath())
        .exec(
            "CREATE TRIGGER refuse BEFORE INSERT ON data WHEN NEW.NumberXoros = 3 "
            "BEGIN SELECT RAISE(ABORT, 'disk trouble'); END");
    mTarget->open();
    {
        DisplaySuspension suspended(*mTarget);
        postSpace(*mTarget, I(5), I(10), I(1), R(5.0));
        EXPECT_THROW(mTarget->batchMoveFrom(*mSource, BatchMode::AppendUpdate), EngineError);
    }
    const std::vector<std::string> expected = {"1/10/1=1", "1/10/2=2", "5/10/1=5"};
    EXPECT_EQ(contents(*mTarget), expected);
    mTarget->close();
    mTarget->open();
    EXPECT_EQ(contents(*mTarget), expected);
}

TEST_F(BatchMoveTest, ReplaceAllRecordsChecksFirst) {
    std::vector<Value> row(dravinTableDef().fields.size());
    row[0] = I(7);
    row[1] = I(10);
    row[2] = I(1);
    EXPECT_THROW(mTarget->replaceAllRecords({row, row}), EngineError);
    auto tooLong = row;
    tooLong[3] = T("ΥΠ10");
    EXPECT_THROW(mTarget->replaceAllRecords({tooLong}), RangeError);
    EXPECT_THROW(mTarget->replaceAllRecords({std::vector<Value>(3)}), EngineError);
    EXPECT_EQ(contents(*mTarget), (std::vector<std::string>{"1/10/1=1", "1/10/2=2"}));
    mTarget->replaceAllRecords({row});
    EXPECT_EQ(spaceKeys(*mTarget), std::vector<std::string>{"7/10/1"});
}

// ---------------------------------------------------------------- crash safety

// What one run of the poster acknowledged before it died.
struct PosterRun {
    int acknowledged = 0;  // records 0 .. acknowledged-1 were posted
    int committed = 0;     // records 0 .. committed-1 were committed by a resume
};

// Starts the poster, kills it after killAfter acknowledgements, and reads all it said.
PosterRun runPosterAndKill(const fs::path& dir, int count, int batch, int killAfter) {
    test::ChildProcess poster(
        {CRASH_POSTER, dir.string(), std::to_string(count), std::to_string(batch)});
    PosterRun run;
    bool killed = false;
    // What is already in the pipe after the kill is still read.
    while (const auto line = poster.readLine()) {
        const int value = std::stoi(line->substr(2));
        if ((*line)[0] == 'P') {
            run.acknowledged = value + 1;
        } else if ((*line)[0] == 'C') {
            run.committed = value;
        }
        if (!killed && run.acknowledged >= killAfter) {
            poster.kill();
            killed = true;
        }
    }
    poster.kill();
    poster.wait();
    return run;
}

// Numbers of the poster's records that the table holds, in posting order.
std::vector<int> postedRecordsOnDisk(const fs::path& dir, int count) {
    Table t("DravinT", dravinTableDef());
    t.setDirectory(dir);
    t.setTableName("CrashDravin_DRAVIN");
    t.open();
    std::vector<int> numbers;
    for (t.first(); !t.eof(); t.next()) {
        const int n = count - t.field("NumberXoros").asInteger();
        EXPECT_DOUBLE_EQ(t.field("AreaClear").asFloat(), n + 0.5);
        EXPECT_EQ(t.field("Name2Floor").asString(), "Α");
        numbers.push_back(n);
    }
    std::sort(numbers.begin(), numbers.end());
    // The table takes posts again after the crash.
    postSpace(t, I(2), I(10), I(1));
    return numbers;
}

std::vector<int> firstNumbers(int n) {
    std::vector<int> v(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        v[static_cast<size_t>(i)] = i;
    }
    return v;
}

constexpr int kPosterCount = 100000;  // more than any run gets to post

TEST(TableCrashTest, EveryAcknowledgedPostSurvivesAKill) {
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    for (int round = 0; round < 10; ++round) {
        TempDir dir;
        const int killAfter = std::uniform_int_distribution<int>(1, 40)(random);
        SCOPED_TRACE("kill after " + std::to_string(killAfter));
        const PosterRun run = runPosterAndKill(dir.path(), kPosterCount, 0, killAfter);
        ASSERT_GE(run.acknowledged, killAfter);
        const std::vector<int> onDisk = postedRecordsOnDisk(dir.path(), kPosterCount);
        // Every acknowledged record, and at most the one whose post was under way.
        const bool oneMore = onDisk == firstNumbers(run.acknowledged + 1);
        EXPECT_TRUE(onDisk == firstNumbers(run.acknowledged) || oneMore)
            << onDisk.size() << " records on disk, " << run.acknowledged << " acknowledged";
    }
}

TEST(TableCrashTest, KillDuringASuspensionLeavesACommittedState) {
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    constexpr int kBatch = 7;
    for (int round = 0; round < 10; ++round) {
        TempDir dir;
        const int killAfter = std::uniform_int_distribution<int>(1, 60)(random);
        SCOPED_TRACE("kill after " + std::to_string(killAfter));
        const PosterRun run = runPosterAndKill(dir.path(), kPosterCount, kBatch, killAfter);
        ASSERT_GE(run.acknowledged, killAfter);
        const std::vector<int> onDisk = postedRecordsOnDisk(dir.path(), kPosterCount);
        const int held = static_cast<int>(onDisk.size());
        // Whole suspensions only: those reported committed, perhaps the next one too.
        EXPECT_EQ(onDisk, firstNumbers(held));
        EXPECT_EQ(held % kBatch, 0) << held;
        EXPECT_GE(held, run.committed);
        EXPECT_LE(held, run.committed + kBatch);
        EXPECT_LE(held, run.acknowledged);
    }
}

// ---------------------------------------------------------------- other programs

class TableSharingTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto t = table();
        t->createTable();
        t->open();
        postSpace(*t, I(1), I(10), I(1));
    }

    std::unique_ptr<Table> table(bool readOnly = false) {
        auto t = std::make_unique<Table>("DravinT", dravinTableDef());
        t->setDirectory(mDir.path());
        t->setTableName("Shared_DRAVIN");
        t->setReadOnly(readOnly);
        return t;
    }

    // Another program holding the table; it has it open once this returns.
    std::unique_ptr<test::ChildProcess> holder(const char* mode, const char* post = nullptr) {
        std::vector<std::string> args{TABLE_HOLDER, mDir.path().string(), "Shared_DRAVIN", mode};
        if (post) {
            args.push_back(post);
        }
        auto child = std::make_unique<test::ChildProcess>(args);
        EXPECT_EQ(child->readLine(), "open");
        if (post) {
            EXPECT_EQ(child->readLine(), "posted");
        }
        return child;
    }

    static void expectInUse(const std::function<void()>& action) {
        try {
            action();
            ADD_FAILURE() << "not refused";
        } catch (const InUseError& e) {
            EXPECT_NE(
                std::string(e.what()).find("Shared_DRAVIN.DB είναι ανοιχτό σε άλλο πρόγραμμα."),
                std::string::npos)
                << e.what();
        }
    }

    TempDir mDir;
};

TEST_F(TableSharingTest, ATableAProgramMayWriteIsRefusedToEveryOther) {
    auto other = holder("write", "2");
    expectInUse([&] { table()->open(); });
    expectInUse([&] { table(true)->open(); });
    expectInUse([&] { table()->languageDriver(); });
    expectInUse([&] { table()->applyLanguageDriver("other"); });
    expectInUse([&] { table()->emptyTable(); });
    expectInUse([&] { table()->deleteTable(); });
    other->closeInput();
    EXPECT_EQ(other->wait(), 0);

    // Nothing was lost on either side, and the table is free again.
    auto t = table();
    t->open();
    EXPECT_EQ(spaceKeys(*t), (std::vector<std::string>{"1/10/1", "1/10/2"}));
    postSpace(*t, I(1), I(10), I(3));

    // The other way round: the program that comes second is refused.
    test::ChildProcess second({TABLE_HOLDER, mDir.path().string(), "Shared_DRAVIN", "read"});
    const auto said = second.readLine();
    ASSERT_TRUE(said);
    EXPECT_NE(said->find("refused Το αρχείο πίνακα"), std::string::npos) << *said;
    EXPECT_NE(said->find("είναι ανοιχτό σε άλλο πρόγραμμα."), std::string::npos) << *said;
    EXPECT_EQ(second.wait(), 1);
}

TEST_F(TableSharingTest, ReadersShareATableNoOneWrites) {
    auto other = holder("read");
    auto reader = table(true);
    reader->open();
    EXPECT_EQ(spaceKeys(*reader), std::vector<std::string>{"1/10/1"});
    reader->close();
    expectInUse([&] { table()->open(); });  // the other program reads
    other->closeInput();
    EXPECT_EQ(other->wait(), 0);
    table()->open();
}

TEST_F(TableSharingTest, AKilledProgramLeavesTheTableFreeWithItsPosts) {
    auto other = holder("write", "2");
    other->kill();
    EXPECT_EQ(other->wait(), -1);
    auto t = table();
    t->open();
    EXPECT_EQ(spaceKeys(*t), (std::vector<std::string>{"1/10/1", "1/10/2"}));
}

// ---------------------------------------------------------------- the file under an open table

// Posts after the file was removed or replaced would go to a file no one can see any more.
TEST(TableFileGoneTest, PostsAfterTheFileWasRemovedOrReplacedAreRefused) {
    for (const bool replaced : {false, true}) {
        SCOPED_TRACE(replaced ? "replaced" : "removed");
        TempDir dir;
        Table t("DravinT", dravinTableDef());
        t.setDirectory(dir.path());
        t.setTableName("Gone_DRAVIN");
        t.createTable();
        t.open();
        postSpace(t, I(1), I(10), I(1));
        // Another program (or the user) removes or swaps the file.
        const std::string file = t.filePath().string();
        ASSERT_TRUE(inChildProcess([&] {
            ::unlink(file.c_str());
            if (replaced) {
                writeFile(file, "garbage");
            }
            return true;
        }));

        try {
            postSpace(t, I(1), I(10), I(2));
            ADD_FAILURE() << "post accepted";
        } catch (const EngineError& e) {
            EXPECT_NE(
                std::string(e.what()).find(
                    "διαγράφηκε ή αντικαταστάθηκε ενώ ήταν ανοιχτό· η αλλαγή δεν αποθηκεύτηκε."),
                std::string::npos)
                << e.what();
        }
        EXPECT_EQ(t.state(), TableState::Insert);  // the typed record stays
        t.cancel();
        // Posts grouped in a suspension are refused at the resume.
        t.disableControls();
        postSpace(t, I(1), I(10), I(3));
        EXPECT_THROW(t.enableControls(), EngineError);
        t.close();
        if (replaced) {
            EXPECT_EQ(readFile(file), "garbage");  // what stands there now is left alone
        } else {
            EXPECT_FALSE(fs::exists(file));
        }
    }
}

}  // namespace
}  // namespace dravin
