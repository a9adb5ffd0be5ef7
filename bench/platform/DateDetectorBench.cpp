#include "platform/DateDetector.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace tavlin::platform;
using namespace Qt::StringLiterals;

namespace {

// 100 UTF-16 units, with a date and a time written apart and some words
// that look like dates in other languages.
const QString kEnglishLine =
    u"Call the dentist about the crown next friday at 3pm, then pick up morgen's parcel @“Post Office” #home"_s;
const QString kGermanLine =
    u"Zahnärztin wegen der Krone anrufen, nächsten Freitag um 15 Uhr, danach Einkäufe im Café Ölmühle"_s;

const DateDetector& detector() {
    static const std::unique_ptr<DateDetector> made = DateDetector::create();
    return *made;
}

DetectionContext contextFor(QStringList languages) {
    const Calendar calendar = Calendar::gregorian(TimeZone::fromIdentifier(u"Europe/Amsterdam"_s).value());
    return {.reference = Date::fromSecondsSince1970(1'787'126'400), .calendar = calendar, .languages = languages};
}

void Matches(benchmark::State& state, const QString& line, const QStringList& languages) {
    const DetectionContext context = contextFor(languages);
    for (auto _ : state) benchmark::DoNotOptimize(detector().matches(line, {0, line.size()}, context));
}

// Target: at most 0.1 ms per call.
BENCHMARK_CAPTURE(Matches, OneLanguage, kEnglishLine, QStringList{u"en"_s});
BENCHMARK_CAPTURE(Matches, ThreeLanguages, kGermanLine, (QStringList{u"de"_s, u"fr"_s, u"en"_s}));

void FirstMatchOfAShortText(benchmark::State& state) {
    const DetectionContext context = contextFor({u"de"_s, u"fr"_s, u"en"_s});
    const QString text = u"tomorrow"_s;
    for (auto _ : state) benchmark::DoNotOptimize(detector().firstMatch(text, {0, text.size()}, context));
}
BENCHMARK(FirstMatchOfAShortText);

}  // namespace
