// Converting a study of 10,000 spaces kept by the older program as Paradox tables into
// our store: reading and checking the five tables, writing ours, keeping the originals.
// The goal is under one second.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "data/paradox/paradoxconversion.h"
#include "support/paradoxsample.h"
#include "support/paradoxwriter.h"

namespace {

namespace fs = std::filesystem;
using namespace dravin;

constexpr int kSpaces = 10000;

fs::path scratch() {
    char pattern[] = "/tmp/dravin-bench-paradox-XXXXXX";
    return ::mkdtemp(pattern);
}

void BM_ConvertStudy(benchmark::State& state) {
    const fs::path source = scratch();
    test::writeParadoxStudy(source, "BIG", test::sampleStudy(kSpaces));
    const fs::path work = scratch();
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(work);
        fs::copy(source, work);
        state.ResumeTiming();
        ParadoxConversion::forStudy(work, "BIG").run();
    }
    state.counters["spaces"] = kSpaces;
    fs::remove_all(work);
    fs::remove_all(source);
}
BENCHMARK(BM_ConvertStudy)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
