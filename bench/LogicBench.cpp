// Micro-benchmarks of the diagnosis core on answers held in memory, so that
// only the logic's own cost is measured.
#include <benchmark/benchmark.h>

#include <array>
#include <initializer_list>
#include <optional>

#include "Diagnosis.h"
#include "ItemCatalogue.h"
#include "PageCheck.h"

namespace {

using namespace tolvane::logic;

class MemorySheet final : public AnswerSheet {
public:
    // Every item answered: yes for the items listed, no for the rest.
    explicit MemorySheet(std::initializer_list<int> yes) {
        for (int item = 1; item <= kItemCount; ++item)
            Answer(item, false);
        for (const int item : yes)
            Answer(item, true);
    }

    Int16 BoxValue(int page, int box) override {
        return boxes_[static_cast<std::size_t>(page - 1)][static_cast<std::size_t>(box - 1)];
    }

    void Set(int page, int box, Int16 value) {
        boxes_[static_cast<std::size_t>(page - 1)][static_cast<std::size_t>(box - 1)] = value;
    }

private:
    void Answer(int item, bool yes) {
        const int k = PositionOfItem(item);
        Set(PageOfItem(item), YesBox(k), yes ? 1 : 0);
        Set(PageOfItem(item), NoBox(k), yes ? 0 : 1);
    }

    std::array<std::array<Int16, kBoxesPerPage>, 2> boxes_{};
};

// Flags A, B and C: the longest chain of result screens.
constexpr std::initializer_list<int> kTypesABC{2, 3, 4, 6, 7, 8, 9, 23, 11, 12, 13};

void CheckPagePasses(benchmark::State& state) {
    MemorySheet sheet(kTypesABC);
    for (auto _ : state)
        benchmark::DoNotOptimize(CheckPage(sheet, 1));
}
BENCHMARK(CheckPagePasses);

// The check stops at the first unanswered item: at the top or at the bottom.
void CheckPageFails(benchmark::State& state) {
    MemorySheet sheet(kTypesABC);
    const int position = static_cast<int>(state.range(0));
    sheet.Set(2, YesBox(position), 0);
    sheet.Set(2, NoBox(position), 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(CheckPage(sheet, 2));
}
BENCHMARK(CheckPageFails)->Arg(1)->Arg(kItemsPerPage);

void DiagnoseBothPages(benchmark::State& state) {
    MemorySheet sheet(kTypesABC);
    DiagnosisState diagnosis;
    for (auto _ : state) {
        Diagnose(sheet, diagnosis);
        benchmark::DoNotOptimize(diagnosis);
    }
}
BENCHMARK(DiagnoseBothPages);

// The whole chain: first flagged type, then each following one until none.
void NextFlaggedTypeChain(benchmark::State& state) {
    MemorySheet sheet(kTypesABC);
    DiagnosisState diagnosis;
    Diagnose(sheet, diagnosis);
    for (auto _ : state) {
        std::optional<ResultType> type;
        do {
            type = NextFlaggedType(diagnosis, type);
            benchmark::DoNotOptimize(type);
        } while (type);
    }
}
BENCHMARK(NextFlaggedTypeChain);

} // namespace

BENCHMARK_MAIN();
