#include "store/ListToken.h"

#include <benchmark/benchmark.h>

using namespace tavlin::store;
using namespace Qt::StringLiterals;

namespace {

// The panel asks at every keystroke of a line that ends in a list token:
// where the token is, and which of the user's lists it may mean.
void TokenAndSuggestionsAtAKeystroke(benchmark::State& state) {
    QStringList lists;
    for (int i = 0; i < state.range(0); ++i) lists.append(u"Café list %1"_s.arg(i));
    lists.append(u"Homework"_s);
    const QString text = u"dentist friday at quarter past 3 @clinic !! #hom"_s;
    for (auto _ : state) {
        const auto token = ListToken::trailingToken(text);
        benchmark::DoNotOptimize(ListToken::suggestions(text.mid(token->location, token->length), lists));
    }
}
BENCHMARK(TokenAndSuggestionsAtAKeystroke)->Arg(10)->Arg(200)->Unit(benchmark::kMicrosecond);

}  // namespace
