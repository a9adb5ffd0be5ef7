#include "platform/Text.h"

#include <benchmark/benchmark.h>

using namespace tavlin::platform;
using namespace Qt::StringLiterals;

namespace {

const QString kLine40 = u"Zahnärztin Freitag um Viertel nach drei"_s;
const QString kLine100 =
    u"Termin bei der Zahnärztin am Freitag um Viertel nach drei, danach Einkäufe im Café Ölmühle erledigen"_s;

void FoldBoth(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(folded(kLine40, FoldOption::CaseInsensitive | FoldOption::DiacriticInsensitive));
}
BENCHMARK(FoldBoth);

void InsensitiveRangeOf(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(
            rangeOf(kLine100, u"olmuhle"_s, SearchOption::CaseInsensitive | SearchOption::DiacriticInsensitive));
}
BENCHMARK(InsensitiveRangeOf);

void GraphemeCount(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(graphemeCount(kLine100));
}
BENCHMARK(GraphemeCount);

}  // namespace
