// Has a worker process killed with SIGKILL at random moments of an operation on a study,
// then opens the study here, apart from the dead process, and checks what it holds
// against the same operation run uninterrupted on a copy.
//
// The moments are drawn uniformly over the operation's duration, measured on uninterrupted
// runs first; the worker arms a kernel timer that sends the SIGKILL, so that the moment
// does not drift with how soon this process would be scheduled.
//
// DRAVIN_CRASH_KILLS sets the number of kills over the five operations (default
// kDefaultKills); DRAVIN_CRASH_SEED repeats the kill moments of a failed run, as
// fractions of the operation's measured duration.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "compute/computation.h"
#include "compute/entryrules.h"
#include "compute/floorrepetition.h"
#include "crashplan.h"
#include "data/errors.h"
#include "data/exchangefile.h"
#include "data/studyfiles.h"
#include "data/tabledefinitions.h"
#include "data/tdravindatat.h"
#include "import/berokfixture.h"
#include "import/berokimport.h"
#include "support/childprocess.h"
#include "support/studyfixture.h"
#include "support/tempdir.h"

namespace dravin {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;
using Clock = std::chrono::steady_clock;

// ---------------------------------------------------------------- settings

// Kills over the five operations. Under AddressSanitizer every run costs several times
// as much, so fewer are made there.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kDefaultKills = 250;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr int kDefaultKills = 250;
#else
constexpr int kDefaultKills = 500;
#endif
#else
constexpr int kDefaultKills = 500;
#endif
constexpr int kOperations = 5;
constexpr int kPostCount = 2000;
constexpr int kTimingEvery = 10;       // kills between two uninterrupted runs
constexpr double kStartUpShare = 0.1;  // kills timed from main, over the start-up
constexpr auto kRunTimeOut = std::chrono::seconds(120);
constexpr auto kReapTimeOut = std::chrono::seconds(20);

constexpr std::uintmax_t kScratchSpace = 64 << 20;  // a few megabytes are used

constexpr const char* kStudy = "CRASH";
constexpr const char* kTarget = "COPY";

int killsPerOperation() {
    int total = kDefaultKills;
    if (const char* text = std::getenv("DRAVIN_CRASH_KILLS")) {
        total = std::max(1, std::atoi(text));
    }
    return (total + kOperations - 1) / kOperations;
}

std::uint64_t crashSeed() {
    if (const char* text = std::getenv("DRAVIN_CRASH_SEED")) {
        return std::strtoull(text, nullptr, 10);
    }
    return (std::uint64_t(std::random_device{}()) << 32) | std::random_device{}();
}

// ---------------------------------------------------------------- files

// A fresh directory, in memory where the system offers it: a kill then costs no disk.
class ScratchDir {
public:
    ScratchDir() {
        std::error_code ec;
        fs::path base = fs::temp_directory_path();
        if (fs::is_directory("/dev/shm", ec) && access("/dev/shm", W_OK | X_OK) == 0 &&
            fs::space("/dev/shm", ec).available > kScratchSpace) {
            base = "/dev/shm";
        }
        std::string pattern = (base / "dravin-crash-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            throw std::runtime_error("cannot make a scratch directory");
        }
        mPath = pattern;
    }
    ~ScratchDir() {
        std::error_code ec;
        fs::remove_all(mPath, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const fs::path& path() const noexcept { return mPath; }

private:
    fs::path mPath;
};

// The program's layout under one root: master tables and studies.
struct Layout {
    explicit Layout(const fs::path& r) : root(r), data(r / "DB2"), studies(r / "MELETES") {}
    fs::path root;
    fs::path data;
    fs::path studies;
};

Layout copyLayout(const Layout& from, const fs::path& root) {
    fs::copy(from.root, root, fs::copy_options::recursive);
    return Layout(root);
}

// ---------------------------------------------------------------- the study in this process

// A study opened as the worker opens it, with the entry rules attached.
class Session {
public:
    Session(const Layout& l, const std::string& study) {
        data.OpenParameterTables(l.data);
        data.OpenStudy(l.studies, study);
        installEntryRules(data, silent);
    }
    std::string exported() {
        std::ostringstream out;
        exportStudyJson(data, out);
        return out.str();
    }
    std::string computed() {
        data.DravinT.first();
        ComputeAll(data, silent);
        return exported();
    }

    SilentFeedback silent;
    TDravinDataT data;
};

std::string exportedStudy(const Layout& l, const std::string& study) {
    return Session(l, study).exported();
}

// The same save-as the worker runs.
void saveAs(const Layout& l) {
    TDravinDataT data;
    data.OpenParameterTables(l.data);
    data.SaveStudyAs(l.studies, kStudy, l.studies, kTarget);
}

// Empty when every table of the study is there and opens, else what is wrong.
std::string unopenableTable(const Layout& l, const std::string& study) {
    const std::array<TableDef, 5> defs = {floorTableDef(), xorosTableDef(), ownersTableDef(),
                                          dravinTableDef(), genDataTableDef()};
    for (size_t i = 0; i < defs.size(); ++i) {
        Table t(kStudyPartWords[i], defs[i]);
        t.setDirectory(l.studies);
        t.setTableName(studyTableName(study, kStudyPartWords[i]));
        if (!t.exists()) {
            return t.filePath().string() + " is missing";
        }
        try {
            t.open();
            t.close();
        } catch (const std::exception& e) {
            return e.what();
        }
    }
    return {};
}

// Empty when the exchange documents are equal, else the first difference.
std::string difference(const Json& expected, const Json& held) {
    if (expected == held) {
        return {};
    }
    for (const auto& [key, e] : expected.items()) {
        if (!held.contains(key)) {
            return "no \"" + key + "\"";
        }
        const Json& h = held[key];
        if (e == h) {
            continue;
        }
        if (!e.is_array() || !h.is_array()) {
            return key + ": expected " + e.dump() + ", held " + h.dump();
        }
        std::string text = key + ": " + std::to_string(e.size()) + " records expected, " +
                           std::to_string(h.size()) + " held";
        for (size_t i = 0; i < std::min(e.size(), h.size()); ++i) {
            if (e[i] != h[i]) {
                return text + "; record " + std::to_string(i) + " expected " + e[i].dump() +
                       ", held " + h[i].dump();
            }
        }
        return text;
    }
    return "the documents differ";
}

std::string difference(const std::string& expected, const std::string& held) {
    return expected == held ? std::string() : difference(Json::parse(expected), Json::parse(held));
}

// ---------------------------------------------------------------- the worker

enum class Phase { StartUp, Mid, After };

// When the worker's own timer kills it: that long after main began or after "S".
struct KillAt {
    bool fromMain = false;
    double seconds = 0;
};

// What one run of the worker said before it ended.
struct WorkerRun {
    std::vector<std::string> lines;
    bool killed = false;
    std::string failure;  // a run that went wrong otherwise than by the kill

    // The number of the last line "<tag> n", if there is one.
    std::optional<long long> said(char tag) const {
        std::optional<long long> n;
        for (const std::string& line : lines) {
            if (line.size() > 2 && line[0] == tag && line[1] == ' ') {
                n = std::atoll(line.c_str() + 2);
            }
        }
        return n;
    }
    bool done() const { return said('D').has_value(); }
    Phase phase() const { return !said('S') ? Phase::StartUp : done() ? Phase::After : Phase::Mid; }
    // The highest acknowledgement "<tag> n"; 0 when there is none.
    int last(char tag) const { return static_cast<int>(said(tag).value_or(0)); }
    double startUp() const { return said('S').value_or(0) * 1e-9; }
    double duration() const { return said('D').value_or(0) * 1e-9; }
};

int millisecondsUntil(Clock::time_point t) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(t - Clock::now());
    return static_cast<int>(std::max<long long>(left.count(), 0));
}

// Runs the worker to its end, or to the kill its timer sends, and reads all it said.
WorkerRun runWorker(std::vector<std::string> args, const fs::path& errorFile,
                    std::optional<KillAt> killAt) {
    WorkerRun run;
    if (killAt) {
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%.9f", killAt->seconds);
        args.insert(args.begin(), {"--kill-at", killAt->fromMain ? "main" : "start", seconds});
    }
    args.insert(args.begin(), CRASH_WORKER);
    std::optional<test::ChildProcess> worker;
    try {
        worker.emplace(args, errorFile);
    } catch (const std::exception& e) {
        run.failure = e.what();
        return run;
    }
    worker->closeInput();

    const auto giveUp = Clock::now() + kRunTimeOut;
    while (const auto line = worker->readLine(millisecondsUntil(giveUp))) {
        run.lines.push_back(*line);
    }
    if (Clock::now() >= giveUp) {
        run.failure = "the worker ran longer than the time-out";
        worker->kill();
    }
    const auto status = worker->waitStatus(static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(kReapTimeOut).count()));
    if (!status) {
        run.failure = "the worker did not end";
        return run;
    }
    run.killed = WIFSIGNALED(*status) && WTERMSIG(*status) == SIGKILL;
    const bool succeeded = WIFEXITED(*status) && WEXITSTATUS(*status) == 0 && run.done();
    if (run.failure.empty() && !(succeeded || (killAt && run.killed))) {
        run.failure = "the worker failed (status " + std::to_string(*status) +
                      "): " + test::readFile(errorFile);
    }
    return run;
}

// ---------------------------------------------------------------- the base study

std::vector<test::BerokRow> berokRows() {
    std::vector<test::BerokRow> rows;
    const int uses[] = {0, 10, 11, 12, 13, 14, 15, 80, 81, 83, 85, 90, 91, 93, 95};
    for (int i = 0; i < 300; ++i) {
        const int floor = i % 12 - 1;
        const std::string text = floor < 0    ? "υπόγ.-1"
                                 : floor == 0 ? "ισόγειο"
                                              : "οροφ.-" + std::to_string(floor);
        rows.emplace_back(text, uses[i % 15], 4.0 + (i * 13 % 200) / 2.0);
    }
    return rows;
}

void removeRecord(Table& table, int key) {
    if (table.findKey({Value::integer(key)})) {
        table.remove();
    }
}

// The demo study grown to a few hundred spaces, with its floors and kinds as the master
// tables, less one floor and one kind that a new study then takes from the masters; and
// the sibling's table of another few hundred spaces beside it.
void buildBase(const Layout& l) {
    fs::create_directories(l.data);
    fs::create_directories(l.studies);
    SilentFeedback silent;
    TDravinDataT data;
    data.OpenParameterTables(l.data);
    writeStudyMarker(l.studies, kStudy);
    data.OpenStudy(l.studies, kStudy);
    {
        std::ifstream in(test::demoStudyFile(), std::ios::binary);
        loadStudyJson(data, in);
    }
    for (const auto& [master, study] :
         {std::pair(&data.FloorTo, &data.FloorT), std::pair(&data.XorosTo, &data.XorosT)}) {
        // The program keeps the masters read-only; they are written beside it.
        master->close();
        Table writable(master->componentName(), master->def());
        writable.setDirectory(l.data);
        writable.setTableName(master->tableName());
        writable.batchMoveFrom(*study, BatchMode::Copy);
    }
    data.OpenParameterTables(l.data);
    removeRecord(data.FloorT, 50);
    removeRecord(data.XorosT, 260);
    installEntryRules(data, silent);
    Table& spaces = data.DravinT;
    {
        DisplaySuspension suspended(spaces);
        const int kinds[] = {10, 20, 40, 211, 213, 50, 201, 80, 12, 90};
        for (int floor = -2; floor <= 12; ++floor) {
            for (int n = 0; n < 20; ++n) {
                spaces.append();
                spaces.field("IDfloor").setInteger(floor);
                spaces.field("IDXoros").setInteger(kinds[(n + floor + 2) % 10]);
                spaces.field("NumberXoros").setInteger(101 + n);
                spaces.field("AreaClear").setFloat(5.0 + ((n * 37 + (floor + 2) * 11) % 400) / 4.0);
                spaces.field("IDowner").setInteger(1 + n % 9);
                spaces.post();
            }
        }
    }
    // Future constructions bring the future row into every computation.
    data.GenDataT.edit();
    data.GenDataT.field("Dravinmelontika").setFloat(25.0);
    data.GenDataT.post();
    test::writeBerokTable(l.studies, berokRows());
}

// ---------------------------------------------------------------- the harness

using Check = std::function<std::string(const Layout&, const WorkerRun&)>;
using Args = std::function<std::vector<std::string>(const Layout&)>;

class CrashTest : public ::testing::Test {
protected:
    CrashTest() : mBase(mScratch.path() / "base"), mSeed(crashSeed()) { buildBase(mBase); }

    Layout copyOfBase(const std::string& name) { return copyLayout(mBase, mScratch.path() / name); }
    std::vector<std::string> studyArgs(const char* mode, const Layout& l) {
        return {mode, l.data.string(), l.studies.string(), kStudy};
    }

    // Times the worker on copies of the base, then kills it on fresh copies at random
    // moments; check judges what each run left and names the outcome.
    void killRepeatedly(const std::string& name, const Args& args, const Check& check);

    ScratchDir mScratch;
    Layout mBase;
    std::uint64_t mSeed;
};

void CrashTest::killRepeatedly(const std::string& name, const Args& args, const Check& check) {
    SCOPED_TRACE("seed " + std::to_string(mSeed) + " (DRAVIN_CRASH_SEED repeats it)");
    // Uninterrupted runs, which must give what this process gives, time the operation;
    // a few more among the kills follow the machine's load as it changes.
    std::vector<double> startUps, durations;
    const auto timeUninterrupted = [&](int i) {
        const Layout l = copyOfBase("timing" + std::to_string(i));
        const WorkerRun run = runWorker(args(l), l.root / "worker.err", std::nullopt);
        ASSERT_EQ(run.failure, "");
        SCOPED_TRACE("uninterrupted run");
        check(l, run);
        startUps.push_back(run.startUp());
        durations.push_back(run.duration());
        fs::remove_all(l.root);
    };
    const auto median = [](std::vector<double> v) {
        std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
        return v[v.size() / 2];
    };
    for (int i = 0; i < 3; ++i) {
        timeUninterrupted(i);
    }

    std::mt19937_64 random(mSeed);
    std::uniform_real_distribution<double> fraction(0.0, 1.0);
    std::bernoulli_distribution duringStartUp(kStartUpShare);
    const int kills = killsPerOperation();
    std::array<int, 3> phases{};
    std::map<std::string, int> outcomes;
    for (int k = 0; k < kills && !HasFailure(); ++k) {
        if (k > 0 && k % kTimingEvery == 0) {
            timeUninterrupted(static_cast<int>(durations.size()));
        }
        KillAt at;
        at.fromMain = duringStartUp(random);
        const double f = fraction(random);
        at.seconds = f * median(at.fromMain ? startUps : durations);
        SCOPED_TRACE("kill " + std::to_string(k) + ": at " + std::to_string(f) + " of the " +
                     (at.fromMain ? "start-up" : "operation"));
        const Layout l = copyOfBase("kill" + std::to_string(k));
        const WorkerRun run = runWorker(args(l), l.root / "worker.err", at);
        ASSERT_EQ(run.failure, "");
        ++phases[static_cast<size_t>(run.phase())];
        ++outcomes[check(l, run)];
        fs::remove_all(l.root);
    }
    const double startUp = median(startUps), duration = median(durations);
    const int total = phases[0] + phases[1] + phases[2];
    std::string text;
    for (const auto& [outcome, count] : outcomes) {
        text += (text.empty() ? "" : ", ") + std::to_string(count) + " " + outcome;
    }
    std::printf(
        "[  crash   ] %s: %d kills; %d during start-up, %d mid-operation (%.0f%%), %d after "
        "the end; start-up %.1f ms, operation %.1f ms; outcomes: %s; seed %llu\n",
        name.c_str(), total, phases[0], phases[1], total ? 100.0 * phases[1] / total : 0.0,
        phases[2], startUp * 1e3, duration * 1e3, text.c_str(),
        static_cast<unsigned long long>(mSeed));
}

// A killed computation leaves the spaces as they were or fully computed, and computing
// again gives what computing an untouched copy gives.
TEST_F(CrashTest, ComputeAll) {
    const std::string untouched = exportedStudy(copyOfBase("ref"), kStudy);
    const std::string computed = Session(copyOfBase("ref-computed"), kStudy).computed();
    ASSERT_NE(untouched, computed);
    killRepeatedly(
        "ComputeAll", [&](const Layout& l) { return studyArgs("compute", l); },
        [&](const Layout& l, const WorkerRun& run) -> std::string {
            EXPECT_EQ(unopenableTable(l, kStudy), "");
            Session s(l, kStudy);
            const std::string held = s.exported();
            std::string outcome = "computed";
            if (held != computed) {
                EXPECT_FALSE(run.done()) << difference(computed, held);
                EXPECT_EQ(difference(untouched, held), "");
                outcome = "untouched";
            }
            EXPECT_EQ(difference(computed, s.computed()), "");
            return outcome;
        });
}

// A killed save-as leaves the source as it was and no target or the whole one, and saving
// again gives the target an uninterrupted save-as gives.
TEST_F(CrashTest, SaveStudyAs) {
    const std::string source = exportedStudy(copyOfBase("ref"), kStudy);
    const Layout saved = copyOfBase("ref-saved");
    saveAs(saved);
    const std::string target = exportedStudy(saved, kTarget);
    killRepeatedly(
        "SaveStudyAs",
        [&](const Layout& l) {
            auto a = studyArgs("saveas", l);
            a.insert(a.end(), {l.studies.string(), kTarget});
            return a;
        },
        [&](const Layout& l, const WorkerRun& run) -> std::string {
            EXPECT_EQ(unopenableTable(l, kStudy), "");
            EXPECT_EQ(difference(source, exportedStudy(l, kStudy)), "");
            std::string outcome = "no target";
            if (studyExists(l.studies, kTarget)) {
                try {
                    const std::string held = exportedStudy(l, kTarget);
                    outcome = held == target ? "complete target" : "partial target";
                    EXPECT_EQ(difference(target, held), "");
                } catch (const Error& e) {
                    outcome = "target refused";
                    ADD_FAILURE() << e.what();
                }
            } else {
                EXPECT_FALSE(run.done());
            }
            EXPECT_NO_THROW(saveAs(l));
            EXPECT_EQ(difference(target, exportedStudy(l, kTarget)), "");
            return outcome;
        });
}

// A killed import leaves all the old spaces or all the imported ones.
TEST_F(CrashTest, ImportBerokSpaces) {
    const Layout ref = copyOfBase("ref");
    const std::string old = exportedStudy(ref, kStudy);
    const std::string oldComputed = Session(ref, kStudy).computed();
    const Layout imported = copyOfBase("ref-imported");
    std::string fresh, freshComputed;
    {
        Session s(imported, kStudy);
        BerokImport import(s.data);
        import.OpenBerokTable(imported.studies);
        import.ImportBerokSpaces();
        fresh = s.exported();
        freshComputed = s.computed();
    }
    ASSERT_NE(old, fresh);
    killRepeatedly(
        "ImportBerokSpaces", [&](const Layout& l) { return studyArgs("import", l); },
        [&](const Layout& l, const WorkerRun& run) -> std::string {
            EXPECT_EQ(unopenableTable(l, kStudy), "");
            Session s(l, kStudy);
            const std::string held = s.exported();
            if (held == fresh) {
                EXPECT_EQ(difference(freshComputed, s.computed()), "");
                return "all new";
            }
            EXPECT_FALSE(run.done()) << difference(fresh, held);
            EXPECT_EQ(difference(old, held), "");
            EXPECT_EQ(difference(oldComputed, s.computed()), "");
            return "all old";
        });
}

// A killed run of repetitions keeps every acknowledged one, and perhaps the one under
// way, whole; computing then gives what computing a copy with those spaces gives.
TEST_F(CrashTest, RepeatFloor) {
    const int count = static_cast<int>(test::kRepeatTargets.size());
    std::vector<std::string> states;
    {
        Session s(copyOfBase("ref"), kStudy);
        states.push_back(s.exported());
        for (const int target : test::kRepeatTargets) {
            RepeatFloor(s.data, test::kRepeatSource, target);
            states.push_back(s.exported());
        }
    }
    ASSERT_NE(states[0], states[1]);
    std::map<int, std::string> computed;  // by repetitions held, made when first needed
    const auto computedAfter = [&](int repetitions) {
        if (!computed.count(repetitions)) {
            Session s(copyOfBase("ref" + std::to_string(repetitions)), kStudy);
            for (int i = 0; i < repetitions; ++i) {
                RepeatFloor(s.data, test::kRepeatSource, test::kRepeatTargets[size_t(i)]);
            }
            computed[repetitions] = s.computed();
        }
        return computed[repetitions];
    };
    killRepeatedly(
        "RepeatFloor", [&](const Layout& l) { return studyArgs("repeat", l); },
        [&](const Layout& l, const WorkerRun& run) -> std::string {
            EXPECT_EQ(unopenableTable(l, kStudy), "");
            const int acknowledged = run.last('A');
            EXPECT_TRUE(!run.done() || acknowledged == count);
            Session s(l, kStudy);
            const std::string held = s.exported();
            const auto found = std::find(states.begin(), states.end(), held);
            const int repetitions = static_cast<int>(found - states.begin());
            if (found == states.end() ||
                (repetitions != acknowledged && repetitions != acknowledged + 1)) {
                ADD_FAILURE() << acknowledged << " repetitions acknowledged: "
                              << difference(states[size_t(acknowledged)], held);
                return "faulty";
            }
            EXPECT_EQ(difference(computedAfter(repetitions), s.computed()), "");
            return repetitions == acknowledged ? "as acknowledged" : "one beyond the last ack";
        });
}

// ---------------------------------------------------------------- posts

Json jsonOf(const Value& v) {
    if (v.isInteger()) {
        return v.toInteger();
    }
    if (v.isReal()) {
        return v.toReal();
    }
    return v.textBytes();  // the planned texts are plain digits
}

int keyCompare(const Json& a, const Json& b) {
    for (const char* k : {"IDfloor", "IDXoros", "NumberXoros"}) {
        const bool aBlank = a[k].is_null(), bBlank = b[k].is_null();
        const int x = aBlank ? 0 : a[k].get<int>(), y = bBlank ? 0 : b[k].get<int>();
        if (aBlank != bBlank) {
            return aBlank ? -1 : 1;
        }
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    return 0;
}

// The study after the first n planned posts on the study first held.
Json afterPosts(const Json& first, int n) {
    Json doc = first;
    std::vector<Json> spaces(doc["spaces"].begin(), doc["spaces"].end());
    for (int i = 0; i < n; ++i) {
        const test::PlannedPost p = test::plannedPost(i, static_cast<int>(spaces.size()));
        spaces[size_t(p.record)][p.field] = jsonOf(p.value);
    }
    std::sort(spaces.begin(), spaces.end(),
              [](const Json& a, const Json& b) { return keyCompare(a, b) < 0; });
    doc["spaces"] = spaces;
    return doc;
}

// The posts the acknowledgements make durable: a post made alone once it returned, a
// grouped one once the resume after it returned.
int durablePosts(const WorkerRun& run) {
    int durable = run.last('C');
    for (const std::string& line : run.lines) {
        if (line.rfind("P ", 0) == 0) {
            const int n = std::atoi(line.c_str() + 2);
            if (!test::postGrouped(n - 1)) {
                durable = std::max(durable, n);
            }
        }
    }
    return durable;
}

// The next point after durable posts where the file may stand: the next post made alone,
// or the end of the group under way.
int nextDurablePoint(int durable) {
    if (durable >= kPostCount || !test::postGrouped(durable)) {
        return std::min(durable + 1, kPostCount);
    }
    return std::min(kPostCount, (durable / test::kPostBlock + 1) * test::kPostBlock);
}

// Grid-like edits of single fields, posted alone and in groups under a display
// suspension: every acknowledged post is there with its value, and nothing else changed.
TEST_F(CrashTest, Posts) {
    const Json first = Json::parse(exportedStudy(copyOfBase("ref"), kStudy));
    ASSERT_GT(first["spaces"].size(), 300u);
    killRepeatedly(
        "Posts",
        [&](const Layout& l) {
            auto a = studyArgs("posts", l);
            a.push_back(std::to_string(kPostCount));
            return a;
        },
        [&](const Layout& l, const WorkerRun& run) -> std::string {
            EXPECT_EQ(unopenableTable(l, kStudy), "");
            const int durable = durablePosts(run);
            EXPECT_TRUE(!run.done() || durable == kPostCount);
            const Json held = Json::parse(exportedStudy(l, kStudy));
            if (held == afterPosts(first, durable)) {
                return "as acknowledged";
            }
            const int next = nextDurablePoint(durable);
            if (next != durable && held == afterPosts(first, next)) {
                return "one step beyond the last ack";
            }
            ADD_FAILURE() << durable << " posts durable by their acknowledgements: "
                          << difference(afterPosts(first, durable), held);
            return "faulty";
        });
}

}  // namespace
}  // namespace dravin
