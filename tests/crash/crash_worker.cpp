// Runs one operation on a study until it ends or is killed; the crash harness has it
// killed at a random moment and checks what the study holds afterwards.
//
//   crash_worker [--kill-at main|start SECONDS] MODE DATA STUDIES STUDY [...]
//     compute                           ComputeAll from the first record
//     saveas TARGET_DIR TARGET_STUDY    the study saved as another
//     import                            the sibling's B97Areas.DBF in STUDIES imported
//     repeat                            RepeatFloor onto each of kRepeatTargets
//     posts COUNT                       COUNT grid edits as plannedPost describes
//
// Prints "S <ns>" when the operation starts (nanoseconds since main began) and
// "D <ns>" when it has returned (nanoseconds since the start). In between, "A <n>"
// once repetition n has returned; for posts, "P <n>" once post n-1 has returned and
// "C <n>" once the resume that committed posts 0 .. n-1 has returned. The study is
// opened as the command-line tool opens it, with the entry rules attached.
//
// With --kill-at, a kernel timer sends the process SIGKILL that long after main began
// or after "S": the kill lands then, whatever the process is doing and however late the
// harness would be scheduled, and no code of the process runs after it.

#include <signal.h>
#include <time.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "compute/computation.h"
#include "compute/entryrules.h"
#include "compute/floorrepetition.h"
#include "crashplan.h"
#include "data/errors.h"
#include "data/studyfiles.h"
#include "data/tdravindatat.h"
#include "import/berokimport.h"

namespace {

using namespace dravin;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const Clock::time_point gBegun = Clock::now();
Clock::time_point gStarted;
std::optional<double> gKillAfterStart;

void say(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

std::string nanoseconds(Clock::duration d) {
    return std::to_string(std::chrono::duration_cast<std::chrono::nanoseconds>(d).count());
}

void armKill(double seconds) {
    sigevent event{};
    event.sigev_notify = SIGEV_SIGNAL;
    event.sigev_signo = SIGKILL;
    timer_t timer;
    if (timer_create(CLOCK_MONOTONIC, &event, &timer) != 0) {
        throw IoError("No timer for the kill.");
    }
    const auto ns = std::max<long long>(1, static_cast<long long>(seconds * 1e9));
    itimerspec when{};
    when.it_value.tv_sec = static_cast<time_t>(ns / 1000000000);
    when.it_value.tv_nsec = static_cast<long>(ns % 1000000000);
    if (timer_settime(timer, 0, &when, nullptr) != 0) {
        throw IoError("The timer for the kill cannot be set.");
    }
}

// Said as soon as the operation returns, while its tables are still open.
void finished() {
    say("D " + nanoseconds(Clock::now() - gStarted));
}

void started() {
    gStarted = Clock::now();
    say("S " + nanoseconds(gStarted - gBegun));
    if (gKillAfterStart) {
        armKill(*gKillAfterStart);
    }
}

struct Study {
    SilentFeedback silent;
    TDravinDataT data;

    Study(const fs::path& dataDir, const fs::path& studiesDir, const std::string& name) {
        if (!studyExists(studiesDir, name)) {
            throw IoError("There is no study " + name + ".");
        }
        writeStudyMarker(studiesDir, name);
        data.OpenParameterTables(dataDir);
        data.OpenStudy(studiesDir, name);
        installEntryRules(data, silent);
    }
};

void compute(Study& s) {
    s.data.DravinT.first();
    started();
    ComputeAll(s.data, s.silent);
    finished();
}

// As the command-line tool saves a study under another name.
void saveAs(const fs::path& dataDir, const fs::path& sourceDir, const std::string& source,
            const fs::path& targetDir, const std::string& target) {
    if (!studyExists(sourceDir, source)) {
        throw IoError("There is no study " + source + ".");
    }
    TDravinDataT data;
    started();
    data.OpenParameterTables(dataDir);
    data.SaveStudyAs(sourceDir, source, targetDir, target);
    finished();
}

void import(Study& s, const fs::path& from) {
    BerokImport import(s.data);
    import.OpenBerokTable(from);
    started();
    import.ImportBerokSpaces();
    finished();
}

void repeat(Study& s) {
    started();
    int done = 0;
    for (const int target : test::kRepeatTargets) {
        RepeatFloor(s.data, test::kRepeatSource, target);
        say("A " + std::to_string(++done));
    }
    finished();
}

void post(Table& spaces, const std::vector<Table::Bookmark>& records, int n) {
    const test::PlannedPost p = test::plannedPost(n, static_cast<int>(records.size()));
    if (!spaces.gotoBookmark(records[static_cast<size_t>(p.record)])) {
        throw EngineError("A record to edit is gone.");
    }
    spaces.edit();
    spaces.field(p.field).setValue(p.value);
    spaces.post();
    say("P " + std::to_string(n + 1));
}

void posts(Study& s, int count) {
    Table& spaces = s.data.DravinT;
    std::vector<Table::Bookmark> records;
    for (spaces.first(); !spaces.eof(); spaces.next()) {
        records.push_back(spaces.bookmark());
    }
    if (records.empty()) {
        throw EngineError("The study has no spaces to edit.");
    }
    started();
    for (int n = 0; n < count;) {
        if (!test::postGrouped(n)) {
            post(spaces, records, n++);
            continue;
        }
        {
            DisplaySuspension suspended(spaces);
            do {
                post(spaces, records, n++);
            } while (n < count && n % test::kPostBlock != 0);
        }
        say("C " + std::to_string(n));
    }
    finished();
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::optional<double> killAfterMain;
    if (args.size() > 3 && args[0] == "--kill-at") {
        (args[1] == "main" ? killAfterMain : gKillAfterStart) = std::atof(args[2].c_str());
        args.erase(args.begin(), args.begin() + 3);
    }
    if (args.size() < 4) {
        std::fprintf(stderr,
                     "usage: crash_worker [--kill-at main|start SECONDS] MODE DATA "
                     "STUDIES STUDY [...]\n");
        return 2;
    }
    const std::string& mode = args[0];
    const fs::path dataDir = args[1];
    const fs::path studiesDir = args[2];
    const std::string& study = args[3];
    try {
        if (killAfterMain) {
            armKill(*killAfterMain);
        }
        if (mode == "saveas" && args.size() == 6) {
            saveAs(dataDir, studiesDir, study, args[4], args[5]);
        } else {
            Study s(dataDir, studiesDir, study);
            if (mode == "compute") {
                compute(s);
            } else if (mode == "import") {
                import(s, studiesDir);
            } else if (mode == "repeat") {
                repeat(s);
            } else if (mode == "posts" && args.size() == 5) {
                posts(s, std::atoi(args[4].c_str()));
            } else {
                std::fprintf(stderr, "crash_worker: unknown mode or arguments\n");
                return 2;
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "crash_worker: %s\n", e.what());
        return 1;
    }
    return 0;
}
