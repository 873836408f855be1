// The diagnosis core on its own: a page check and a whole diagnosis over an
// answer sheet in memory.
#include <benchmark/benchmark.h>

#include <array>

#include "Diagnosis.h"
#include "PageCheck.h"

namespace {

struct Sheet final : tolvane::logic::AnswerSheet {
    tolvane::logic::Int16 BoxValue(int page, int box) override {
        return static_cast<tolvane::logic::Int16>((page + box) % 2);
    }
};

void CheckPage(benchmark::State& state) {
    Sheet sheet;
    for (auto _ : state)
        benchmark::DoNotOptimize(tolvane::logic::CheckPage(sheet, 2));
}
BENCHMARK(CheckPage);

void Diagnose(benchmark::State& state) {
    Sheet sheet;
    tolvane::logic::DiagnosisState result;
    for (auto _ : state) {
        tolvane::logic::Diagnose(sheet, result);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(Diagnose);

} // namespace

BENCHMARK_MAIN();
