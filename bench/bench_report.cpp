// The full large table (A3 landscape, floor totals printed) of a 1,000-space study:
// generating its pages, and generating them and writing the PDF. Prints the time per
// page, which should stay well under what a printer takes to print one.

#include "benchstudy.h"
#include "ratioreporter.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "compute/computation.h"
#include "data/cp1253.h"
#include "data/studyfiles.h"
#include "data/tabledefinitions.h"
#include "data/tdravindatat.h"
#include "reports/engine/reportrenderer.h"
#include "reports/layouts/tdravinreport00.h"

namespace {

using namespace dravin;
using bench::row;

constexpr int kSpaces = 1000;
constexpr int kFullLargeWithFloorTotals = 9;

Value greek(const std::string& utf8) {
    return Value::bytes(cp1253::encode(utf8));
}

// Numbered with leading zeros, so that name order is number order.
std::string ownerName(int n) {
    char number[8];
    std::snprintf(number, sizeof number, "%04d", n);
    return std::string("Ιδιοκτήτης Παπαδόπουλος ") + number;
}

// A computed study of 1,000 spaces over 20 floors, each space with an owner.
struct BenchStudy {
    std::filesystem::path dir;
    TDravinDataT data;
    SilentFeedback silent;

    BenchStudy() {
        dir = bench::makeStudyDirectory("dravin-bench-report");
        const std::string name = "R";
        auto fill = [&](Table& t, const char* part, std::vector<std::vector<Value>> rows) {
            bench::fillStudyTable(t, dir, name, part, std::move(rows));
        };
        const TableDef floors = floorTableDef(), kinds = xorosTableDef(), owners = ownersTableDef(),
                       spacesDef = dravinTableDef(), general = genDataTableDef();
        std::vector<std::vector<Value>> floorRows, kindRows, ownerRows, spaceRows;
        for (int f = -1; f <= 18; ++f) {
            floorRows.push_back(row(floors, {{"IDFloor", Value::integer(f)},
                                             {"Name1", greek("Όροφος " + std::to_string(f))},
                                             {"Coef1", Value::real(1.0 + 0.02 * f)},
                                             {"Coef2", Value::real(1.0)},
                                             {"Coef3", Value::real(f <= 0 ? 0.0 : 1.0)},
                                             {"Height", Value::real(2.8)}}));
        }
        for (int k : {10, 20, 213}) {
            kindRows.push_back(row(kinds, {{"IDXoros", Value::integer(k)},
                                           {"Name", greek(k == 10 ? "Διαμέρισμα" : "Αποθήκη")},
                                           {"Coef1", Value::real(k == 20 ? 0.3 : 1.0)},
                                           {"Coef2", Value::real(1.0)},
                                           {"Coef3", Value::real(1.0)},
                                           {"Coef4", Value::real(1.0)},
                                           {"Coef5", Value::real(1.0)}}));
        }
        const int perFloor = kSpaces / 20;
        for (int i = 0; i < kSpaces; ++i) {
            const int floor = -1 + i / perFloor;
            const int n = i % perFloor;
            ownerRows.push_back(
                row(owners, {{"ID", Value::integer(i + 1)}, {"Name", greek(ownerName(i + 1))}}));
            spaceRows.push_back(row(spacesDef, {{"IDfloor", Value::integer(floor)},
                                                {"IDXoros", Value::integer(floor < 0 ? 20 : 10)},
                                                {"NumberXoros", Value::integer(n + 1)},
                                                {"AreaClear", Value::real(40.0 + (i * 7) % 90)},
                                                {"Height", Value::real(2.8)},
                                                {"IDowner", Value::integer(i + 1)},
                                                {"XCoef7", Value::real(1.0)}}));
        }
        fill(data.FloorT, "Floor", floorRows);
        fill(data.XorosT, "Xoros", kindRows);
        fill(data.OwnersT, "Owner", ownerRows);
        fill(data.DravinT, "Dravin", spaceRows);
        fill(data.GenDataT, "GenData",
             {row(general, {{"Name1", greek("Πολυκατοικία")},
                            {"AreaOikopedo", Value::real(4000.0)},
                            {"DravinTotal", Value::real(1000.0)}})});
        data.OpenStudy(dir, name);
        data.DravinT.first();
        ComputeAll(data, silent);
    }
    ~BenchStudy() { std::filesystem::remove_all(dir); }
};

BenchStudy& study() {
    static BenchStudy s;
    return s;
}

void perPage(benchmark::State& state, int pages) {
    state.counters["pages"] = pages;
    // Printed in seconds with an SI prefix: "3.3m" is 3.3 ms a page.
    state.counters["seconds_per_page"] = benchmark::Counter(
        pages, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_GeneratePages(benchmark::State& state) {
    BenchStudy& s = study();
    auto layout = TDravinReport00::create(s.data, kFullLargeWithFloorTotals, ReportOptions{});
    int pages = 0;
    for (auto _ : state) {
        pages = static_cast<int>(layout->generate().pages.size());
    }
    perPage(state, pages);
}

void BM_GenerateAndWritePdf(benchmark::State& state) {
    BenchStudy& s = study();
    const QString pdf = QString::fromStdString((s.dir / "table.pdf").string());
    int pages = 0;
    for (auto _ : state) {
        auto layout = TDravinReport00::create(s.data, kFullLargeWithFloorTotals, ReportOptions{});
        const ReportRenderer renderer(layout->generate());
        renderer.writePdf(pdf);
        pages = renderer.pageCount();
    }
    perPage(state, pages);
}

BENCHMARK(BM_GeneratePages)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GenerateAndWritePdf)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    return dravin::bench::runWithRatios(argc, argv, [](const auto& r) {
        r.printRatio("BM_GenerateAndWritePdf", "BM_GeneratePages",
                     "Full large table of 1000 spaces: PDF / pages alone", 3);
    });
}
