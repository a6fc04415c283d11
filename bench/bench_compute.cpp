// ComputeAll on studies of 1,000 and 10,000 spaces against the floor: writing every
// record of the same study once in one SQLite transaction. Prints the ratios and the
// cost per space, which should stay flat as the study grows.

#include "benchstudy.h"
#include "ratioreporter.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <sys/resource.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "compute/computation.h"
#include "compute/entryrules.h"
#include "data/studyfiles.h"
#include "data/tabledefinitions.h"
#include "data/tdravindatat.h"

namespace {

using namespace dravin;
using bench::row;

// A study of n spaces over 20 floors: apartments, storage rooms, shops, a staircase per
// floor, and a future-constructions per-mille.
struct BenchStudy {
    std::filesystem::path dir;
    TDravinDataT data;
    SilentFeedback silent;

    explicit BenchStudy(int spaces) {
        dir = bench::makeStudyDirectory("dravin-bench");
        std::string name = "B";
        name += std::to_string(spaces);
        auto fill = [&](Table& t, const char* part, std::vector<std::vector<Value>> rows) {
            bench::fillStudyTable(t, dir, name, part, std::move(rows));
        };
        const TableDef floors = floorTableDef(), kinds = xorosTableDef(),
                       spacesDef = dravinTableDef(), general = genDataTableDef();
        std::vector<std::vector<Value>> floorRows, kindRows, spaceRows;
        for (int f = -1; f <= 18; ++f) {
            floorRows.push_back(row(floors, {{"IDFloor", Value::integer(f)},
                                             {"Coef1", Value::real(1.0 + 0.02 * f)},
                                             {"Coef2", Value::real(f < 0 ? 0.5 : 1.0)},
                                             {"Coef3", Value::real(f <= 0 ? 0.0 : 1.0 + 0.1 * f)},
                                             {"Height", Value::real(2.8)}}));
        }
        floorRows.push_back(row(floors, {{"IDFloor", Value::integer(40)}}));
        for (int k : {10, 20, 40, 213}) {
            kindRows.push_back(row(kinds, {{"IDXoros", Value::integer(k)},
                                           {"Coef1", Value::real(k == 20 ? 0.3 : 1.0)},
                                           {"Coef2", Value::real(1.0)},
                                           {"Coef3", Value::real(1.0)},
                                           {"Coef4", Value::real(1.0)},
                                           {"Coef5", Value::real(k == 40 ? 0.0 : 1.0)}}));
        }
        const int perFloor = spaces / 20;
        for (int i = 0; i < spaces; ++i) {
            const int floor = -1 + i / perFloor;
            const int n = i % perFloor;
            const int kind = n == 0 ? 213 : (floor < 0 ? 20 : (floor == 0 ? 40 : 10));
            spaceRows.push_back(row(spacesDef, {{"IDfloor", Value::integer(floor)},
                                                {"IDXoros", Value::integer(kind)},
                                                {"NumberXoros", Value::integer(n + 1)},
                                                {"AreaClear", Value::real(40.0 + (i * 7) % 90)},
                                                {"Height", Value::real(2.8)},
                                                {"XCoef7", Value::real(1.0)}}));
        }
        fill(data.FloorT, "Floor", floorRows);
        fill(data.XorosT, "Xoros", kindRows);
        fill(data.OwnersT, "Owner", {});
        fill(data.DravinT, "Dravin", spaceRows);
        fill(data.GenDataT, "GenData",
             {row(general, {{"AreaOikopedo", Value::real(4000.0)},
                            {"DravinTotal", Value::real(1000.0)},
                            {"Dravinmelontika", Value::real(50.0)}})});
        data.OpenStudy(dir, name);
        installEntryRules(data, silent);
    }
    ~BenchStudy() { std::filesystem::remove_all(dir); }
};

BenchStudy& study(int spaces) {
    static std::map<int, std::unique_ptr<BenchStudy>> studies;
    auto& s = studies[spaces];
    if (!s) {
        s = std::make_unique<BenchStudy>(spaces);
    }
    return *s;
}

void BM_ComputeAll(benchmark::State& state) {
    BenchStudy& s = study(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        s.data.DravinT.first();
        ComputeAll(s.data, s.silent);
    }
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
    state.counters["us_per_space"] = benchmark::Counter(
        static_cast<double>(state.range(0)),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Every record of the study written once, as a bare SQLite loop in one transaction.
void BM_WriteEveryRecordOnce(benchmark::State& state) {
    BenchStudy& s = study(static_cast<int>(state.range(0)));
    const auto path = s.data.DravinT.filePath();
    s.data.DravinT.close();
    sqlite3* db = bench::openBare(path);
    const auto def = dravinTableDef();
    const std::string sql = bench::fullRowUpdate(def);
    sqlite3_stmt* read = nullptr;
    sqlite3_prepare_v2(db, "SELECT rowid, * FROM data", -1, &read, nullptr);
    sqlite3_stmt* write = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &write, nullptr);
    const int n = static_cast<int>(def.fields.size());
    for (auto _ : state) {
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        while (sqlite3_step(read) == SQLITE_ROW) {
            for (int c = 1; c <= n; ++c) {
                sqlite3_bind_value(write, c, sqlite3_column_value(read, c));
            }
            sqlite3_bind_int64(write, n + 1, sqlite3_column_int64(read, 0));
            sqlite3_step(write);
            sqlite3_reset(write);
        }
        sqlite3_reset(read);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
    sqlite3_finalize(read);
    sqlite3_finalize(write);
    sqlite3_close(db);
    s.data.DravinT.open();
}

BENCHMARK(BM_ComputeAll)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteEveryRecordOnce)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return dravin::bench::runWithRatios(argc, argv, [](const auto& r) {
        r.printRatio("BM_ComputeAll/1000", "BM_WriteEveryRecordOnce/1000",
                     "1000 spaces: ComputeAll / write every record once", 2);
        r.printRatio("BM_ComputeAll/10000", "BM_WriteEveryRecordOnce/10000",
                     "10000 spaces: ComputeAll / write every record once", 2);
    });
}
