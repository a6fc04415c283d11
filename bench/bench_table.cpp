// The table engine against the floor SQLite sets: a study of 10,000 spaces is opened,
// then every space is edited once inside one display suspension, and a bare SQLite loop
// writes the same rows once in one transaction. Prints the ratio of the two.

#include "benchstudy.h"
#include "ratioreporter.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <sys/resource.h>

#include <cstdio>
#include <map>
#include <string>

#include "data/studyfiles.h"
#include "data/table.h"
#include "data/tabledefinitions.h"
#include "data/tdravindatat.h"

namespace {

using namespace dravin;

constexpr int kSpaces = 10000;

struct Study {
    std::filesystem::path dir;
    Study() {
        char pattern[] = "/tmp/dravin-bench-XXXXXX";
        dir = mkdtemp(pattern);
        Table spaces("DravinT", dravinTableDef());
        spaces.setDirectory(dir);
        spaces.setTableName(studyTableName("BENCH", "Dravin"));
        CreateTableWithDriver(spaces);
        std::vector<std::vector<Value>> rows;
        for (int i = 0; i < kSpaces; ++i) {
            std::vector<Value> r(spaces.def().fields.size());
            r[0] = Value::integer(i % 20);       // IDfloor
            r[1] = Value::integer(10 + i % 7);   // IDXoros
            r[2] = Value::integer(i / 20);       // NumberXoros
            r[3] = Value::bytes("\xC1");         // Name2Floor
            r[5] = Value::real(50.0 + i % 100);  // AreaClear
            r[8] = Value::real(2.8);             // Height
            for (size_t f = 18; f < r.size(); ++f) {
                r[f] = Value::real(1.0);  // coefficients
            }
            rows.push_back(std::move(r));
        }
        spaces.close();
        spaces.replaceAllRecords(std::move(rows));
    }
    ~Study() { std::filesystem::remove_all(dir); }
    std::filesystem::path file() const { return dir / (studyTableName("BENCH", "Dravin") + ".DB"); }
};

Study& study() {
    static Study s;
    return s;
}

void BM_OpenSpaces10k(benchmark::State& state) {
    Table spaces("DravinT", dravinTableDef());
    spaces.setDirectory(study().dir);
    spaces.setTableName(studyTableName("BENCH", "Dravin"));
    for (auto _ : state) {
        spaces.open();
        benchmark::DoNotOptimize(spaces.recordCount());
        spaces.close();
    }
}

void BM_SuspendedPosts10k(benchmark::State& state) {
    Table spaces("DravinT", dravinTableDef());
    spaces.setDirectory(study().dir);
    spaces.setTableName(studyTableName("BENCH", "Dravin"));
    spaces.open();
    double area = 1.0;
    for (auto _ : state) {
        DisplaySuspension suspended(spaces);
        for (spaces.first(); !spaces.eof(); spaces.next()) {
            spaces.edit();
            spaces.field("AreaClear").setFloat(area += 0.01);
        }
        spaces.checkBrowseMode();
    }
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_BareSqliteUpdates10k(benchmark::State& state) {
    sqlite3* db = bench::openBare(study().file());
    const auto def = dravinTableDef();
    const std::string sql = bench::fullRowUpdate(def);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr);
    const int n = static_cast<int>(def.fields.size());
    double area = 1.0;
    for (auto _ : state) {
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        for (int row = 1; row <= kSpaces; ++row) {
            // The same full row a post writes.
            sqlite3_bind_int(st, 1, row % 20);
            sqlite3_bind_int(st, 2, 10 + row % 7);
            sqlite3_bind_int(st, 3, row / 20);
            sqlite3_bind_blob(st, 4, "\xC1", 1, SQLITE_STATIC);
            sqlite3_bind_null(st, 5);
            sqlite3_bind_double(st, 6, area += 0.01);
            for (int c = 7; c <= n; ++c) {
                sqlite3_bind_double(st, c, 1.0);
            }
            sqlite3_bind_int64(st, n + 1, row);
            sqlite3_step(st);
            sqlite3_reset(st);
        }
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
}

BENCHMARK(BM_OpenSpaces10k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SuspendedPosts10k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareSqliteUpdates10k)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return dravin::bench::runWithRatios(argc, argv, [](const auto& r) {
        r.printRatio("BM_SuspendedPosts10k", "BM_BareSqliteUpdates10k",
                     "suspended posts / bare SQLite loop", 3);
    });
}
