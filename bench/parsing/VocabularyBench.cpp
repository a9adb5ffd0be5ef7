#include "parsing/ParserVocabulary.h"

#include <benchmark/benchmark.h>

using namespace tavlin::parsing;
using namespace Qt::StringLiterals;

namespace {

// What the first parse of a session pays: three preferred languages merged,
// with their locale names and compiled patterns (the tables themselves are
// built by the first iteration and then shared).
void BuildVocabularyOfThreeLanguages(benchmark::State& state) {
    const QStringList identifiers = {u"de-DE"_s, u"fr-FR"_s, u"en-GB"_s};
    for (auto _ : state) benchmark::DoNotOptimize(ParserVocabulary::forLocaleIdentifiers(identifiers));
}
BENCHMARK(BuildVocabularyOfThreeLanguages)->Unit(benchmark::kMillisecond);

// The first parse of a session builds the user's vocabulary once, language
// tables and all. Cold only in a process of its own:
//   LANGUAGE=de:fr:en bench_parsing --benchmark_filter=CurrentVocabularyOnce
// Target: at most 20 ms.
void CurrentVocabularyOnce(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(&ParserVocabulary::current());
}
BENCHMARK(CurrentVocabularyOnce)->Iterations(1)->Unit(benchmark::kMillisecond);

void FoldLine(benchmark::State& state) {
    const QString line = u"Zahnärztin Freitag um Viertel nach drei"_s;
    for (auto _ : state) benchmark::DoNotOptimize(WordSet::fold(line));
}
BENCHMARK(FoldLine);

void FoldAsciiWord(benchmark::State& state) {
    const QString word = u"Tomorrow"_s;
    for (auto _ : state) benchmark::DoNotOptimize(WordSet::fold(word));
}
BENCHMARK(FoldAsciiWord);

}  // namespace
