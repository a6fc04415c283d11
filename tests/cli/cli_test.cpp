// Runs the real dravin-cli as a child process and checks its output, files and exit code.

#include <fcntl.h>
#include <sched.h>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "data/cp1253.h"
#include "data/studyfiles.h"
#include "data/table.h"
#include "data/tabledefinitions.h"
#include "data/tdravindatat.h"
#include "support/childprocess.h"
#include "support/paradoxsample.h"
#include "support/studyfixture.h"
#include "support/tempdir.h"
#include "support/unprivileged.h"

extern char** environ;

namespace dravin {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

struct Result {
    int exitCode = -1;
    std::string out;
    std::string err;
};

bool isOneMessageLine(const std::string& text) {
    return text.rfind("dravin-cli: ", 0) == 0 && text.find('\n') == text.size() - 1;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        result.push_back(line);
    }
    return result;
}

class CliTest : public ::testing::Test {
protected:
    CliTest() : mStudies(mTemp / "MELETES"), mIo(mTemp / "io") {
        fs::create_directories(mStudies);
        fs::create_directories(mIo);
    }

    // Standard output goes to a file, or to the device given.
    Result run(std::vector<std::string> args, const char* outDevice = nullptr) {
        const fs::path outFile = outDevice ? fs::path(outDevice) : mIo / "stdout";
        const fs::path errFile = mIo / "stderr";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        args.insert(args.begin(), mCli.string());
        std::vector<char*> argv;
        for (auto& a : args) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        pid_t pid = 0;
        const int rc = posix_spawn(&pid, mCli.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        Result r;
        if (rc != 0) {
            ADD_FAILURE() << "cannot start " << mCli;
            return r;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.out = outDevice ? "" : test::readFile(outFile);
        r.err = test::readFile(errFile);
        return r;
    }

    std::vector<std::string> study(const std::string& name, const fs::path& dir = {}) const {
        return {"--studies-dir", (dir.empty() ? mStudies : dir).string(), "--study", name};
    }
    std::vector<std::string> with(std::vector<std::string> a,
                                  const std::vector<std::string>& more) const {
        a.insert(a.end(), more.begin(), more.end());
        return a;
    }
    Result runOk(const std::vector<std::string>& args) {
        Result r = run(args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.err, "");
        return r;
    }
    std::string exportJson(const std::string& name, const fs::path& dir = {}) {
        return runOk(with({"export"}, with(study(name, dir), {"--format", "json"}))).out;
    }

    static std::string demo() { return test::readFile(DRAVIN_DEMO_STUDY); }

    test::TempDir mTemp;
    fs::path mStudies;
    fs::path mIo;
    fs::path mCli = DRAVIN_CLI;
};

std::string dumpFile(const fs::path& dir, const std::string& name, const TableDef& def) {
    Table t(name, def);
    t.setDirectory(dir);
    t.setTableName(name);
    t.open();
    return test::dumpTable(t);
}

// The sibling product's space table "B97Areas.DBF" as a dBase III file, byte by byte:
// its 23 fields, with FLOOR, UN and AREA filled from each row.
struct SiblingRow {
    const char* floor;
    int use;
    double area;
};

std::string siblingTableBytes(const std::vector<SiblingRow>& rows) {
    struct Column {
        const char* name;
        char type;
        int width;
        int decimals;
    };
    std::vector<Column> columns = {{"TMHMA", 'C', 10, 0}, {"BKIND", 'C', 40, 0},
                                   {"MKIND", 'C', 30, 0}, {"FLOOR", 'C', 10, 0},
                                   {"NAME", 'C', 5, 0},   {"USE", 'C', 20, 0}};
    for (const char* name : {"AREA", "ETA", "SE", "SZ", "ES", "P"}) {
        columns.push_back({name, 'N', 12, 2});
    }
    for (const char* name : {"BN", "MN", "UN"}) {
        columns.push_back({name, 'N', 6, 0});
    }
    for (const char* name : {"EKKE", "EKSAE", "EKAREA", "EKSM", "EKSO", "EKSP", "EKP"}) {
        columns.push_back({name, 'N', 12, 2});
    }
    columns.push_back({"NGR", 'N', 6, 0});
    int recordLength = 1;
    for (const Column& c : columns) {
        recordLength += c.width;
    }
    const int headerLength = 32 + 32 * static_cast<int>(columns.size()) + 1;
    const auto le = [](std::string& out, unsigned v, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            out += static_cast<char>((v >> (8 * i)) & 0xFF);
        }
    };
    std::string out;
    out += "\x03\x7C\x01\x0F";  // dBase III, changed on 15 January 2024
    le(out, static_cast<unsigned>(rows.size()), 4);
    le(out, static_cast<unsigned>(headerLength), 2);
    le(out, static_cast<unsigned>(recordLength), 2);
    out += std::string(20, '\0');
    for (const Column& c : columns) {
        std::string name(c.name);
        name.resize(11, '\0');
        out += name + c.type + std::string(4, '\0') + static_cast<char>(c.width) +
               static_cast<char>(c.decimals) + std::string(14, '\0');
    }
    out += '\x0D';
    for (const SiblingRow& row : rows) {
        out += ' ';
        for (const Column& c : columns) {
            std::string value;
            if (std::string(c.name) == "FLOOR") {
                value = cp1253::encode(row.floor);
            } else if (std::string(c.name) == "UN") {
                value = std::to_string(row.use);
            } else if (std::string(c.name) == "AREA") {
                char text[32];
                std::snprintf(text, sizeof text, "%.2f", row.area);
                value = text;
            }
            const std::string pad(static_cast<size_t>(c.width) - value.size(), ' ');
            out += c.type == 'C' ? value + pad : pad + value;
        }
    }
    out += '\x1A';
    return out;
}

// ---------------------------------------------------------------- main paths

TEST_F(CliTest, HelpListsTheCommands) {
    const Result r = runOk({"--help"});
    for (const char* command :
         {"new", "export", "load", "save-as", "delete", "init-params", "import-berok"}) {
        EXPECT_NE(r.out.find("dravin-cli " + std::string(command) + " "), std::string::npos)
            << command;
    }
}

TEST_F(CliTest, NewMakesAStudyFromTheMasterTablesBesideTheProgram) {
    const Result r = runOk(with({"new"}, study("NEA")));
    EXPECT_EQ(lines(r.out).size(), 1u);
    EXPECT_EQ(test::readFile(mStudies / "NEA.DVT"), studyMarkerBytes());
    for (const char* part : kStudyPartWords) {
        EXPECT_TRUE(fs::exists(mStudies / (studyTableName("NEA", part) + ".DB"))) << part;
    }
    const fs::path masters = fs::path(DRAVIN_CLI).parent_path() / "DB2";
    const std::string floors = dumpFile(masters, "DrvFloor", floorTableDef());
    EXPECT_FALSE(floors.empty());
    EXPECT_EQ(dumpFile(mStudies, "NEAFloor_DRAVIN", floorTableDef()), floors);
    EXPECT_EQ(dumpFile(mStudies, "NEAXoros_DRAVIN", xorosTableDef()),
              dumpFile(masters, "DrvXoros", xorosTableDef()));
}

TEST_F(CliTest, NewTakesTheMasterTablesOfTheDataDirectoryGiven) {
    const fs::path data = mTemp / "DB2";
    fs::create_directories(data);
    test::writeMasterTables(data);
    runOk(with({"new"}, with(study("NEA"), {"--data-dir", data.string()})));
    EXPECT_EQ(dumpFile(mStudies, "NEAFloor_DRAVIN", floorTableDef()),
              dumpFile(data, "DrvFloor", floorTableDef()));
}

TEST_F(CliTest, LoadThenExportGivesTheExchangeFileBackByteForByte) {
    const Result loaded = runOk(with({"load"}, with(study("A"), {DRAVIN_DEMO_STUDY})));
    EXPECT_EQ(lines(loaded.out).size(), 1u);
    EXPECT_EQ(exportJson("A"), demo());

    const fs::path file = mTemp / "export.json";
    const Result written =
        runOk(with({"export"}, with(study("A"), {"--format", "json", "-o", file.string()})));
    EXPECT_EQ(written.out, "");
    EXPECT_EQ(test::readFile(file), demo());
}

// Without the master tables a new study is made all the same, with empty floors and kinds,
// and the output says where the masters were looked for.
TEST_F(CliTest, NewWithoutMasterTablesStartsWithEmptyFloorsAndKinds) {
    const Result r = runOk(with({"new"}, with(study("NEWONE"), {"--data-dir", "/nonexistent"})));
    EXPECT_NE(r.out.find("/nonexistent"), std::string::npos) << r.out;
    EXPECT_EQ(lines(r.out).size(), 2u) << r.out;
    const Json made = Json::parse(exportJson("NEWONE"));
    EXPECT_TRUE(made["floors"].empty());
    EXPECT_TRUE(made["kinds"].empty());
    EXPECT_EQ(made["general"].size(), 1u);
    EXPECT_TRUE(fs::exists(mStudies / "NEWONE.DVT"));
    for (const auto& entry : fs::directory_iterator(mStudies)) {
        EXPECT_EQ(entry.path().filename().string().find(".new"), std::string::npos) << entry.path();
    }
}

// A name whose table files could not be made is refused before anything is written.
TEST_F(CliTest, NewWithANameTooLongIsRefusedAndLeavesNothing) {
    std::string name;
    for (int i = 0; i < 110; ++i) {
        name += "Π";
    }
    for (const char* command : {"new", "load"}) {
        std::vector<std::string> args = with({command}, study(name));
        if (std::string(command) == "load") {
            args.push_back(DRAVIN_DEMO_STUDY);
        }
        const Result r = run(args);
        EXPECT_EQ(r.exitCode, 1) << command;
        EXPECT_TRUE(isOneMessageLine(r.err)) << r.err;
        EXPECT_EQ(r.err.find("DRAVIN"), std::string::npos) << r.err;
    }
    EXPECT_TRUE(fs::is_empty(mStudies));
}

TEST_F(CliTest, NewOnAnExistingStudyLeavesItsContent) {
    runOk(with({"load"}, with(study("A"), {DRAVIN_DEMO_STUDY})));
    runOk(with({"new"}, study("A")));
    EXPECT_EQ(exportJson("A"), demo());
}

TEST_F(CliTest, ExportCsvWritesTheSpaceGrid) {
    runOk(with({"load"}, with(study("A"), {DRAVIN_DEMO_STUDY})));
    const Result r = runOk(with({"export"}, with(study("A"), {"--format", "csv"})));
    const auto rows = lines(r.out);
    ASSERT_EQ(rows.size(), Json::parse(demo())["spaces"].size() + 1);
    for (const auto& row : rows) {
        EXPECT_EQ(row.back(), '\r');
    }
    EXPECT_EQ(rows[0].rfind("IDfloor,IDXoros,NumberXoros,Name1Floor,Name2Floor,NameXoros,", 0), 0u);
    EXPECT_EQ(rows[1],
              "-1,20,1,Υπόγειο,ΥΠ,Αποθήκη,,8.40,,,2.50,21.00,,,,,,,,1,Παπαδόπουλος Γεώργιος,"
              "0.80,1.00,0.00,1.00,1.00,0.30,1.00,0.50,0.30,0.00,1.00,1.00,1.00\r");
}

TEST_F(CliTest, SaveAsCopiesTheStudyAndLeavesTheSource) {
    runOk(with({"load"}, with(study("A"), {DRAVIN_DEMO_STUDY})));
    const fs::path other = mTemp / "OTHER";
    fs::create_directories(other);
    const Result r =
        runOk(with({"save-as"}, with(study("A"), {"--to-dir", other.string(), "--to-study", "B"})));
    EXPECT_EQ(lines(r.out).size(), 1u);

    const Json source = Json::parse(demo());
    const Json copy = Json::parse(exportJson("B", other));
    for (const char* part : {"general", "owners", "spaces", "floors", "kinds"}) {
        EXPECT_EQ(copy[part], source[part]) << part;
    }
    EXPECT_EQ(test::readFile(other / "B.DVT"), studyMarkerBytes());
    EXPECT_EQ(exportJson("A"), demo());
}

TEST_F(CliTest, DeleteRemovesTheMarkerAndTheTables) {
    runOk(with({"load"}, with(study("A"), {DRAVIN_DEMO_STUDY})));
    runOk(with({"new"}, study("B")));
    const Result r = runOk(with({"delete"}, study("A")));
    EXPECT_EQ(lines(r.out).size(), 1u);
    for (const auto& entry : fs::directory_iterator(mStudies)) {
        EXPECT_EQ(entry.path().filename().string().rfind("B", 0), 0u) << entry.path();
    }
    EXPECT_TRUE(fs::exists(mStudies / "B.DVT"));
}

TEST_F(CliTest, InitParamsBringsChangedMasterRowsIntoTheStudy) {
    const fs::path data = mTemp / "DB2";
    fs::create_directories(data);
    test::writeMasterTables(data);
    const std::vector<std::string> dataDir = {"--data-dir", data.string()};
    runOk(with({"new"}, with(study("A"), dataDir)));
    {
        Table master("M", floorTableDef());
        master.setDirectory(data);
        master.setTableName("DrvFloor");
        master.open();
        ASSERT_TRUE(master.findKey({Value::integer(1)}));
        master.edit();
        master.field("Coef1").setFloat(1.75);
        master.post();
    }
    const auto floorCoef1 = [&] {
        const Json doc = Json::parse(exportJson("A"));
        for (const auto& floor : doc["floors"]) {
            if (floor["IDFloor"] == 1) {
                return floor["Coef1"].get<double>();
            }
        }
        return -1.0;
    };
    EXPECT_EQ(floorCoef1(), 1.1);
    runOk(with({"init-params"}, with(study("A"), dataDir)));
    EXPECT_EQ(floorCoef1(), 1.75);
}

TEST_F(CliTest, ImportBerokReplacesTheSpacesByTheSiblingsTable) {
    runOk(with({"load"}, with(study("A"), {DRAVIN_DEMO_STUDY})));
    test::writeFile(
        mStudies / "B97Areas.DBF",
        siblingTableBytes(
            {{"οροφ.-1", 0, 50.0}, {"Δώμα", 0, 12.0}, {"υπόγ.-1", 77, 8.4}, {"οροφ.-1", 12, 6.0}}));
    const std::string table = test::readFile(mStudies / "B97Areas.DBF");

    const Result r = runOk(with({"import-berok"}, study("A")));

    EXPECT_EQ(lines(r.out).size(), 1u);
    EXPECT_EQ(test::readFile(mStudies / "B97Areas.DBF"), table);
    const Json spaces = Json::parse(exportJson("A"))["spaces"];
    std::vector<std::string> keys;
    for (const auto& s : spaces) {
        keys.push_back(s["IDfloor"].dump() + "/" + s["IDXoros"].dump() + "/" +
                       s["NumberXoros"].dump() + " " + s["AreaClear"].dump() + " " +
                       s["Height"].dump() + " " + s["VolumeClear"].dump());
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"-1/20/1 8.4 2.5 21.0", "1/10/1 50.0 2.8 140.0",
                                              "1/213/2 6.0 2.8 16.8"}));
}

TEST_F(CliTest, ImportBerokTakesTheTableFromTheDirectoryGiven) {
    runOk(with({"load"}, with(study("A"), {DRAVIN_DEMO_STUDY})));
    const fs::path sibling = mTemp / "BEROK";
    fs::create_directories(sibling);
    test::writeFile(sibling / "B97Areas.DBF", siblingTableBytes({{"ισόγειο", 0, 70.0}}));
    runOk(with({"import-berok"}, with(study("A"), {"--from", sibling.string()})));
    EXPECT_EQ(Json::parse(exportJson("A"))["spaces"].size(), 1u);
}

// ---------------------------------------------------------------- failures

// "@S" stands for the studies directory (holding the study A), "@M" for a directory that
// does not exist, "@O" for a file in it, "@B" for a file that is not JSON, "@D" for a
// directory whose sibling table is cut short.
struct FailureCase {
    const char* name;
    std::vector<std::string> args;
    int exitCode;
};

std::ostream& operator<<(std::ostream& os, const FailureCase& c) {
    return os << c.name;
}

class CliFailureTest : public CliTest, public ::testing::WithParamInterface<FailureCase> {
protected:
    std::string studyA() {
        TDravinDataT data;
        data.OpenStudy(mStudies, "A");
        std::string text;
        for (Table* t : data.workingSet()) {
            text += test::dumpTable(*t);
        }
        return text;
    }
};

TEST_P(CliFailureTest, ExitsWithOneLineOnStandardErrorAndChangesNothing) {
    runOk(with({"load"}, with(study("A"), {DRAVIN_DEMO_STUDY})));
    test::writeFile(mTemp / "bad.json", "{\"floors\": [");
    fs::create_directories(mTemp / "cut");
    const std::string table = siblingTableBytes({{"οροφ.-1", 0, 50.0}, {"οροφ.-2", 0, 50.0}});
    test::writeFile(mTemp / "cut" / "B97Areas.DBF", table.substr(0, table.size() - 40));
    const std::string before = studyA();
    std::vector<std::string> args;
    for (const std::string& a : GetParam().args) {
        args.push_back(a == "@S"   ? mStudies.string()
                       : a == "@M" ? (mTemp / "missing").string()
                       : a == "@O" ? (mTemp / "missing" / "out.json").string()
                       : a == "@B" ? (mTemp / "bad.json").string()
                       : a == "@D" ? (mTemp / "cut").string()
                                   : a);
    }

    const Result r = run(args);

    EXPECT_EQ(r.exitCode, GetParam().exitCode);
    EXPECT_TRUE(isOneMessageLine(r.err)) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_FALSE(fs::exists(mTemp / "missing"));
    EXPECT_EQ(studyA(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CliFailureTest,
    ::testing::Values(
        FailureCase{"NewInMissingDirectory", {"new", "--studies-dir", "@M", "--study", "A"}, 1},
        FailureCase{"ExportFromMissingDirectory",
                    {"export", "--studies-dir", "@M", "--study", "A", "--format", "json"},
                    1},
        FailureCase{"ExportUnknownStudy",
                    {"export", "--studies-dir", "@S", "--study", "Z", "--format", "json"},
                    1},
        FailureCase{
            "ExportIntoMissingDirectory",
            {"export", "--studies-dir", "@S", "--study", "A", "--format", "json", "-o", "@O"},
            1},
        FailureCase{"DeleteUnknownStudy", {"delete", "--studies-dir", "@S", "--study", "Z"}, 1},
        FailureCase{"LoadUnreadableFile", {"load", "--studies-dir", "@S", "--study", "A", "@M"}, 1},
        FailureCase{"LoadBadJson", {"load", "--studies-dir", "@S", "--study", "A", "@B"}, 1},
        FailureCase{
            "SaveAsUnknownStudy",
            {"save-as", "--studies-dir", "@S", "--study", "Z", "--to-dir", "@S", "--to-study", "B"},
            1},
        FailureCase{
            "SaveAsIntoMissingDirectory",
            {"save-as", "--studies-dir", "@S", "--study", "A", "--to-dir", "@M", "--to-study", "B"},
            1},
        FailureCase{"InitParamsWithoutDataDirectory",
                    {"init-params", "--studies-dir", "@S", "--study", "A", "--data-dir", "@M"},
                    1},
        FailureCase{
            "BadFormat", {"export", "--studies-dir", "@S", "--study", "A", "--format", "xml"}, 2},
        FailureCase{"UnknownCommand", {"frobnicate", "--studies-dir", "@S"}, 2},
        FailureCase{
            "UnknownOption", {"new", "--studies-dir", "@S", "--study", "A", "--colour", "red"}, 2},
        FailureCase{"MissingStudy", {"new", "--studies-dir", "@S"}, 2},
        FailureCase{"OptionWithoutValue", {"new", "--studies-dir", "@S", "--study"}, 2},
        FailureCase{"StrayWord", {"new", "--studies-dir", "@S", "--study", "A", "extra"}, 2},
        FailureCase{"LoadWithoutFile", {"load", "--studies-dir", "@S", "--study", "A"}, 2},
        FailureCase{
            "ImportBerokWithoutTable", {"import-berok", "--studies-dir", "@S", "--study", "A"}, 1},
        FailureCase{"ImportBerokFromMissingDirectory",
                    {"import-berok", "--studies-dir", "@S", "--study", "A", "--from", "@M"},
                    1},
        FailureCase{"ImportBerokFromTableCutShort",
                    {"import-berok", "--studies-dir", "@S", "--study", "A", "--from", "@D"},
                    1},
        FailureCase{
            "ReportUnknownVariant",
            {"report", "--studies-dir", "@S", "--study", "A", "--variant", "14", "--pdf", "@O"},
            2},
        FailureCase{"ReportWithoutOutput",
                    {"report", "--studies-dir", "@S", "--study", "A", "--variant", "1"},
                    2},
        FailureCase{
            "ReportIntoMissingDirectory",
            {"report", "--studies-dir", "@S", "--study", "A", "--variant", "1", "--pdf", "@O"},
            1},
        FailureCase{
            "ReportUnknownStudy",
            {"report", "--studies-dir", "@S", "--study", "Z", "--variant", "1", "--png", "@S"},
            1},
        FailureCase{"ImportBerokUnknownStudy",
                    {"import-berok", "--studies-dir", "@S", "--study", "Z", "--from", "@D"},
                    1}),
    [](const auto& info) { return std::string(info.param.name); });

// Standard output of a shell command line.
std::string commandOutput(const std::string& command) {
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            text.append(buffer, n);
        }
        EXPECT_EQ(pclose(pipe), 0) << command;
    }
    return text;
}

TEST_F(CliTest, ReportComputesANeverComputedStudyAndWritesItsTable) {
    runOk(with({"load"}, with(study("A"), {DRAVIN_DEMO_STUDY})));
    EXPECT_EQ(exportJson("A").find("\"IDXoros\": 991"), std::string::npos);
    const fs::path pdf = mTemp / "table.pdf";
    const Result r = runOk(with(
        {"report"},
        with(study("A"), {"--variant", "1", "--pdf", pdf.string(), "--font", "Liberation Sans"})));
    EXPECT_EQ(r.out.rfind("Wrote ", 0), 0u) << r.out;
    EXPECT_NE(exportJson("A").find("\"IDXoros\": 991"), std::string::npos);

    const std::string info = commandOutput("pdfinfo '" + pdf.string() + "'");
    EXPECT_NE(info.find("842 x 595"), std::string::npos) << info;
    const std::string text = commandOutput("pdftotext -enc UTF-8 '" + pdf.string() + "' -");
    EXPECT_NE(text.find("ΠΙΝΑΚΑΣ ΑΝΑΛΟΓΙΣΜΟΥ"), std::string::npos);
    EXPECT_NE(text.find("Παπαδόπουλος Γεώργιος"), std::string::npos);
    EXPECT_NE(text.find("Σελ-1"), std::string::npos);
}

TEST_F(CliTest, ReportSaysWhichFontItPrintsInWhenTheNamedOneIsMissing) {
    runOk(with({"load"}, with(study("A"), {DRAVIN_DEMO_STUDY})));
    const fs::path pdf = mTemp / "table.pdf";
    const std::vector<std::string> common = {"--variant", "0", "--pdf", pdf.string()};
    const Result missing =
        run(with({"report"}, with(study("A"), with(common, {"--font", "NoSuchFont"}))));
    EXPECT_EQ(missing.exitCode, 0);
    EXPECT_TRUE(isOneMessageLine(missing.err)) << missing.err;
    EXPECT_NE(missing.err.find("NoSuchFont"), std::string::npos) << missing.err;
    const std::string fonts = commandOutput("pdffonts '" + pdf.string() + "'");
    // The family named is the one in the document.
    const auto in = missing.err.find(" printed in ");
    ASSERT_NE(in, std::string::npos) << missing.err;
    std::string family = missing.err.substr(in + 12);
    family = family.substr(0, family.find(" instead"));
    family.erase(std::remove(family.begin(), family.end(), ' '), family.end());
    EXPECT_NE(fonts.find(family), std::string::npos) << family << "\n" << fonts;

    const Result installed =
        runOk(with({"report"}, with(study("A"), with(common, {"--font", "liberation sans"}))));
    EXPECT_EQ(installed.err, "");
}

TEST_F(CliTest, ReportWritesOnePngPerPageOfThePdf) {
    runOk(with({"load"}, with(study("A"), {DRAVIN_DEMO_STUDY})));
    const fs::path pdf = mTemp / "table.pdf";
    const fs::path prefix = mTemp / "page";
    const std::vector<std::string> common = {"--variant",      "12", "--font-size", "14",
                                             "--line-spacing", "5.5"};
    runOk(with({"report"}, with(study("A"), with(common, {"--pdf", pdf.string()}))));
    const Result r =
        runOk(with({"report"}, with(study("A"), with(common, {"--png", prefix.string()}))));
    const std::string info = commandOutput("pdfinfo '" + pdf.string() + "'");
    const auto at = info.find("Pages:");
    ASSERT_NE(at, std::string::npos);
    const size_t pages = std::stoul(info.substr(at + 6));
    EXPECT_EQ(lines(r.out).size(), pages);
    for (size_t i = 1; i <= pages; ++i) {
        EXPECT_TRUE(fs::exists(mTemp / ("page-" + std::to_string(i) + ".png"))) << i;
    }
    EXPECT_FALSE(fs::exists(mTemp / ("page-" + std::to_string(pages + 1) + ".png")));
}

TEST_F(CliTest, OutputThatCannotBeWrittenIsAFailure) {
    runOk(with({"load"}, with(study("A"), {DRAVIN_DEMO_STUDY})));
    for (const char* format : {"json", "csv"}) {
        const Result r = run(with({"export"}, with(study("A"), {"--format", format})), "/dev/full");
        EXPECT_EQ(r.exitCode, 1) << format;
        EXPECT_TRUE(isOneMessageLine(r.err)) << r.err;
    }
}

TEST_F(CliTest, NoCommandIsAUsageError) {
    const Result r = run({});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err, "");
}

// ---------------------------------------------------------------- another program

TEST_F(CliTest, AStudyAnotherProgramHoldsIsRefusedWithOneLine) {
    runOk(with({"load"}, with(study("A"), {DRAVIN_DEMO_STUDY})));
    test::ChildProcess other(
        {TABLE_HOLDER, mStudies.string(), studyTableName("A", "Dravin"), "write", "7"});
    ASSERT_EQ(other.readLine(), "open");
    ASSERT_EQ(other.readLine(), "posted");
    for (const char* command : {"compute", "export", "delete"}) {
        const Result r =
            run(with(with({command}, study("A")), command == std::string("export")
                                                      ? std::vector<std::string>{"--format", "json"}
                                                      : std::vector<std::string>{}));
        EXPECT_EQ(r.exitCode, 1) << command;
        EXPECT_TRUE(isOneMessageLine(r.err)) << r.err;
        EXPECT_NE(r.err.find("είναι ανοιχτό σε άλλο πρόγραμμα."), std::string::npos) << r.err;
    }
    other.closeInput();
    EXPECT_EQ(other.wait(), 0);
    // Both programs' data are there: the demo and the other program's space.
    const Json spaces = Json::parse(exportJson("A"))["spaces"];
    EXPECT_EQ(spaces.size(), Json::parse(demo())["spaces"].size() + 1);
}

// ---------------------------------------------------------------- disk faults

// The studies folder on a small file system of its own, to fill up or make read-only.
class DiskFaultTest : public CliTest {
protected:
    void SetUp() override {
        if (!test::ownMountNamespace()) {
            GTEST_SKIP() << "no mount namespace can be made here";
        }
        if (mount("tmpfs", mStudies.c_str(), "tmpfs", 0, kSize) != 0) {
            GTEST_SKIP() << "no file system can be mounted here: " << strerror(errno);
        }
        mMounted = true;
    }
    void TearDown() override {
        if (mMounted) {
            umount2(mStudies.c_str(), MNT_DETACH);
        }
    }

    void setReadOnly(bool readOnly) {
        ASSERT_EQ(mount(nullptr, mStudies.c_str(), nullptr, MS_REMOUNT | (readOnly ? MS_RDONLY : 0),
                        kSize),
                  0)
            << strerror(errno);
    }
    void fill() {
        std::ofstream filler(mStudies / "filler", std::ios::binary);
        const std::string block(4096, '\0');
        while (filler.write(block.data(), static_cast<std::streamsize>(block.size())) &&
               filler.flush()) {
        }
    }
    void unfill() { fs::remove(mStudies / "filler"); }

    // Each command fails with one line on standard error.
    void expectRefused(const std::vector<std::vector<std::string>>& commands, const char* why) {
        for (const auto& command : commands) {
            const Result r = run(command);
            EXPECT_EQ(r.exitCode, 1) << command[0] << ": " << r.err;
            EXPECT_TRUE(isOneMessageLine(r.err)) << command[0] << ": " << r.err;
            std::string said = r.err;
            std::transform(said.begin(), said.end(), said.begin(), ::tolower);
            EXPECT_NE(said.find(why), std::string::npos) << command[0] << ": " << r.err;
        }
    }

    static constexpr const char* kSize = "size=2m";
    bool mMounted = false;
};

TEST_F(DiskFaultTest, AFullDiskRefusesEachCommandAndLosesNothing) {
    runOk(with({"load"}, with(study("A"), {DRAVIN_DEMO_STUDY})));
    const std::string before = exportJson("A");
    fill();
    expectRefused(
        {with({"compute"}, study("A")), with({"load"}, with(study("A"), {DRAVIN_DEMO_STUDY})),
         with({"save-as"}, with(study("A"), {"--to-dir", mStudies.string(), "--to-study", "B"})),
         with({"new"}, study("C"))},
        "ο δίσκος είναι γεμάτος");
    unfill();
    EXPECT_EQ(exportJson("A"), before);
    for (const auto& entry : fs::directory_iterator(mStudies)) {
        EXPECT_EQ(entry.path().filename().string().rfind("A", 0), 0u) << entry.path();
    }
    runOk(with({"compute"}, study("A")));
}

TEST_F(DiskFaultTest, AReadOnlyStudiesFolderRefusesEachCommandAndLosesNothing) {
    runOk(with({"load"}, with(study("A"), {DRAVIN_DEMO_STUDY})));
    const std::string before = exportJson("A");
    setReadOnly(true);
    expectRefused({with({"compute"}, study("A")), with({"new"}, study("C"))}, "μόνο για ανάγνωση");
    // The tool's own deletion of the marker file passes on the system's reason.
    expectRefused({with({"delete"}, study("A"))}, "read-only");
    setReadOnly(false);
    EXPECT_EQ(exportJson("A"), before);
}

}  // namespace
}  // namespace dravin

namespace dravin {
namespace {

// ---------------------------------------------------------------- an installed copy

// The programs, the library and the master tables in a folder that belongs to another
// user, as an installed copy: the programs run as a user who can write none of it, with
// a home folder and a studies folder of their own.
class InstalledCopyTest : public CliTest {
protected:
    InstalledCopyTest() : mProgram(mTemp / "opt"), mHome(mTemp / "home") {
        fs::permissions(mTemp.path(), fs::perms::owner_all | fs::perms::group_read |
                                          fs::perms::group_exec | fs::perms::others_read |
                                          fs::perms::others_exec);
        fs::create_directories(mProgram);
        fs::create_directories(mHome);
        for (const fs::path& program :
             {fs::path(DRAVIN_CLI), fs::path(DRAVIN_LIBRARY), fs::path(DESKTOP_PROBE)}) {
            fs::copy_file(program, mProgram / program.filename());
        }
        fs::copy(fs::path(DRAVIN_CLI).parent_path() / "DB2", mProgram / "DB2",
                 fs::copy_options::recursive);
        mCli = mProgram / "dravin-cli";
        fs::copy_file(DRAVIN_DEMO_STUDY, mDemo);  // the source tree may be closed to the user
        // Not writable even by its owner, should the tests run as that owner.
        for (const auto& entry : fs::recursive_directory_iterator(mProgram)) {
            fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::remove);
        }
        fs::permissions(mProgram, fs::perms::owner_write, fs::perm_options::remove);
        mBefore = tree(mProgram);
    }
    ~InstalledCopyTest() override {
        std::error_code ec;
        fs::permissions(mProgram, fs::perms::owner_write, fs::perm_options::add, ec);
        for (const auto& entry : fs::recursive_directory_iterator(mProgram, ec)) {
            fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, ec);
        }
    }

    // Runs the body as the user of the installed copy, at home in mHome.
    void asUser(const std::function<void()>& body) {
        test::asUnprivilegedUser(
            [&] {
                ::setenv("HOME", mHome.c_str(), 1);
                if (::chdir(mHome.c_str()) != 0) {
                    ADD_FAILURE() << "cannot enter " << mHome;
                }
                for (const char* variable :
                     {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"}) {
                    ::unsetenv(variable);
                }
                ASSERT_NE(::access(mProgram.c_str(), W_OK), 0);
                ASSERT_NE(::access((mProgram / "DB2").c_str(), W_OK), 0);
                ASSERT_NE(::access((mProgram / "DB2" / "DrvFloor.DB").c_str(), W_OK), 0);
                ASSERT_NE(::access((mProgram / "libdravin.so").c_str(), W_OK), 0);
                body();
            },
            {mStudies, mIo, mHome});
    }

    // Every file under the folder with its size.
    static std::vector<std::string> tree(const fs::path& dir) {
        std::vector<std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(dir)) {
            files.push_back(entry.path().lexically_relative(dir).string() +
                            (entry.is_regular_file() ? " " + std::to_string(entry.file_size())
                                                     : std::string("/")));
        }
        std::sort(files.begin(), files.end());
        return files;
    }
    // The files under the home folder with this name.
    std::vector<fs::path> homeFiles(const std::string& name) const {
        std::vector<fs::path> found;
        for (const auto& entry : fs::recursive_directory_iterator(mHome)) {
            if (entry.path().filename() == name) {
                found.push_back(entry.path());
            }
        }
        return found;
    }

    fs::path mProgram;
    fs::path mHome;
    fs::path mDemo = mIo / "demo.json";
    std::vector<std::string> mBefore;
};

// The command-line tool makes, fills, computes and prints a study with the master tables
// of the installed copy, read where they stand.
TEST_F(InstalledCopyTest, CommandLineToolWorksOnTheInstalledMasterTables) {
    asUser([&] {
        const Result created = runOk(with({"new"}, study("A")));
        EXPECT_EQ(created.out.find("not found"), std::string::npos) << created.out;
        runOk(with({"load"}, with(study("B"), {mDemo.string()})));
        runOk(with({"compute"}, study("B")));
        runOk(with({"report"},
                   with(study("B"), {"--variant", "1", "--pdf", (mStudies / "B.pdf").string()})));
        EXPECT_GT(fs::file_size(mStudies / "B.pdf"), 1000u);
        const Json a = Json::parse(exportJson("A"));
        EXPECT_FALSE(a["floors"].empty());
        EXPECT_FALSE(a["kinds"].empty());
    });
    EXPECT_EQ(tree(mProgram), mBefore);
}

// The desktop program starts with the installed master tables: its settings and its
// scratch study go to the user's data folder, and nothing is said.
TEST_F(InstalledCopyTest, DesktopProgramStartsWithoutAWord) {
    asUser([&] {
        test::ChildProcess desktop({(mProgram / "desktop_probe").string()}, mIo / "stderr");
        desktop.closeInput();
        std::vector<std::string> said;
        while (const auto line = desktop.readLine(60000)) {
            said.push_back(*line);
        }
        EXPECT_EQ(desktop.wait(), 0) << test::readFile(mIo / "stderr");
        ASSERT_EQ(said.size(), 2u) << (said.empty() ? std::string() : said[0]);
        EXPECT_EQ(said[0].rfind("WINDOW Πίνακας Χιλιοστών [" + mHome.string(), 0), 0u) << said[0];
        EXPECT_NE(said[0].find("MELETES\\SCRATCH]"), std::string::npos) << said[0];
        EXPECT_EQ(said[1], "RETURNED ");
        ASSERT_EQ(homeFiles("DRAVIN.INI").size(), 1u);
        const auto markers = homeFiles("SCRATCH.DVT");
        ASSERT_EQ(markers.size(), 1u);
        EXPECT_TRUE(fs::exists(markers[0].parent_path() / "SCRATCHFloor_DRAVIN.DB"));
    });
    EXPECT_EQ(tree(mProgram), mBefore);
}

// A study the older program kept as Paradox tables: refused by the other commands until
// converted, then exported with every value it held.
TEST_F(CliTest, ConvertParadoxThenExportGivesEveryValue) {
    const test::StudyRows rows = test::sampleStudy();
    test::writeParadoxStudy(mStudies, "OLD", rows);
    const auto defs = test::studyDefs();
    for (size_t i = 0; i < 5; ++i) {
        test::writeTable(mStudies, studyTableName("SAME", kStudyPartWords[i]), defs[i], rows[i]);
    }

    const Result refused = run(with({"export"}, with(study("OLD"), {"--format", "json"})));
    EXPECT_NE(refused.exitCode, 0);
    EXPECT_TRUE(isOneMessageLine(refused.err)) << refused.err;
    EXPECT_NE(refused.err.find("convert-paradox"), std::string::npos) << refused.err;

    const Result converted = runOk(with({"convert-paradox"}, study("OLD")));
    EXPECT_EQ(lines(converted.out).size(), 6u) << converted.out;
    EXPECT_NE(converted.out.find("OLD.paradox"), std::string::npos) << converted.out;
    EXPECT_EQ(exportJson("OLD"), exportJson("SAME"));

    const Result again = runOk(with({"convert-paradox"}, study("OLD")));
    EXPECT_NE(again.out.find("No tables of the older program"), std::string::npos) << again.out;
}

TEST_F(CliTest, ConvertParadoxRefusesADamagedStudyWhole) {
    test::writeParadoxStudy(mStudies, "OLD", test::sampleStudy());
    fs::remove(mStudies / "OLDGenData_DRAVIN.MB");
    const Result r = run(with({"convert-paradox"}, study("OLD")));
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(isOneMessageLine(r.err)) << r.err;
    EXPECT_NE(r.err.find("OLDGenData_DRAVIN"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(mStudies / "OLD.paradox"));
}

TEST_F(CliTest, ConvertParadoxMasterTables) {
    const fs::path data = mTemp / "DB2";
    fs::create_directories(data);
    const test::StudyRows rows = test::sampleStudy();
    test::writeParadoxTable(data / "DrvFloor.DB", test::paradoxFields(floorTableDef()), rows[0]);
    test::writeParadoxTable(data / "DrvXoros.DB", test::paradoxFields(xorosTableDef()), rows[1]);
    runOk({"convert-paradox", "--data-dir", data.string()});
    EXPECT_TRUE(fs::exists(data / "Drv.paradox" / "DrvXoros.DB"));
    runOk(with({"new"}, with(study("NEW"), {"--data-dir", data.string()})));
    const Json doc = Json::parse(exportJson("NEW"));
    EXPECT_EQ(doc["floors"].size(), rows[0].size());
    EXPECT_EQ(doc["kinds"].size(), rows[1].size());
}

}  // namespace
}  // namespace dravin
