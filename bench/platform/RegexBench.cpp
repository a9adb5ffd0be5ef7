#include "platform/Regex.h"

#include <benchmark/benchmark.h>

using namespace tavlin::platform;
using namespace Qt::StringLiterals;

namespace {

const QString kLine =
    u"call the dentist about the appointment tomorrow at quarter past 3 @clinic !! #health and more"_s;

const Regex& typicalPattern() {
    static const Regex regex =
        *Regex::compile(u"(?:^|\\s)(tomorrow|today|tonight)(?=\\s|$)"_s, Regex::Option::CaseInsensitive);
    return regex;
}

void FirstMatch(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(typicalPattern().firstMatch(kLine));
}
BENCHMARK(FirstMatch);

void AllMatches(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(typicalPattern().matches(kLine));
}
BENCHMARK(AllMatches);

void Compile(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(
            Regex::compile(u"(?:^|\\s)(!{1,3})(?=\\s|$|[,.;:?])"_s, Regex::Option::CaseInsensitive));
}
BENCHMARK(Compile);

}  // namespace
