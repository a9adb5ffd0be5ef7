#include "parsing/QuickAddParser.h"
#include "parsing/TaskSplitter.h"
#include "platform/TimeZone.h"

#include <QFile>
#include <QRegularExpression>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <stdexcept>

using namespace tavlin;
using namespace tavlin::parsing;
using namespace Qt::StringLiterals;

namespace {

// The corpus by language code: lines of make_corpus.py.
const std::map<QString, QStringList>& corpus() {
    static const std::map<QString, QStringList> lines = [] {
        QFile file(QStringLiteral(TAVLIN_QUICKADD_CORPUS));
        if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error("the quick-add corpus cannot be read");
        std::map<QString, QStringList> byLanguage;
        for (const QString& row : QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
            const qsizetype tab = row.indexOf(u'\t');
            byLanguage[row.left(tab)].append(row.mid(tab + 1));
        }
        return byLanguage;
    }();
    return lines;
}

QStringList linesOf(const QStringList& languages) {
    QStringList lines;
    for (const QString& language : languages) lines += corpus().at(language);
    return lines;
}

// The lists a user of these lines keeps: every tag the lines write.
QStringList listNamesIn(const QStringList& lines) {
    static const QRegularExpression tag(u"#(\\w+)"_s);
    QStringList names;
    for (const QString& line : lines)
        for (const QRegularExpressionMatch& match : tag.globalMatch(line))
            if (!names.contains(match.captured(1))) names.append(match.captured(1));
    return names;
}

// One vocabulary per set of languages for the whole run, as a session has.
const ParserVocabulary& vocabularyOf(const QStringList& localeIdentifiers) {
    static std::map<QStringList, ParserVocabulary> vocabularies;
    auto found = vocabularies.find(localeIdentifiers);
    if (found == vocabularies.end())
        found =
            vocabularies.emplace(localeIdentifiers, ParserVocabulary::forLocaleIdentifiers(localeIdentifiers)).first;
    return found->second;
}

// The panel reads each line against the moment it is typed: every parse
// here has a reference a second later than the one before.
struct Reading {
    platform::Calendar calendar =
        platform::Calendar::gregorian(*platform::TimeZone::fromIdentifier(u"Europe/Amsterdam"_s));
    platform::Date reference = *calendar.date({.year = 2026, .month = 3, .day = 4, .hour = 10});

    ParsedQuickAdd parse(const QString& line, const QStringList& lists, const ParserVocabulary& vocabulary) {
        reference = reference.addingTimeInterval(1);
        return QuickAddParser::parse(line, {.referenceDate = reference,
                                            .calendar = calendar,
                                            .vocabulary = vocabulary,
                                            .listNames = lists,
                                            .uses24HourClock = true});
    }
};

double percentile(std::vector<double>& samples, double fraction) {
    const auto at = samples.begin() + static_cast<std::ptrdiff_t>(fraction * static_cast<double>(samples.size() - 1));
    std::nth_element(samples.begin(), at, samples.end());
    return *at;
}

// Each iteration parses every line once, timing each parse; the counters
// give the median and the 99th percentile of one line, in microseconds.
void ParseCorpusLines(benchmark::State& state, const QStringList& languages, const QStringList& localeIdentifiers) {
    Reading reading;
    const QStringList lines = linesOf(languages);
    const QStringList lists = listNamesIn(lines);
    const ParserVocabulary& vocabulary = vocabularyOf(localeIdentifiers);
    reading.parse(lines.first(), lists, vocabulary);  // the detector and the patterns are made once
    std::vector<double> microseconds;
    for (auto _ : state) {
        for (const QString& line : lines) {
            const auto start = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(reading.parse(line, lists, vocabulary));
            microseconds.push_back(
                std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
        }
    }
    state.SetItemsProcessed(state.iterations() * lines.size());
    state.counters["median_us"] = percentile(microseconds, 0.5);
    state.counters["p99_us"] = percentile(microseconds, 0.99);
    state.counters["max_us"] = *std::max_element(microseconds.begin(), microseconds.end());
}

// Targets: English lines with English alone, median ≤ 15 µs and p99 ≤ 100
// µs; three languages merged, median ≤ 40 µs.
BENCHMARK_CAPTURE(ParseCorpusLines, English, QStringList{u"en"_s}, QStringList{u"en"_s})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ParseCorpusLines, GermanFrenchEnglish, (QStringList{u"de"_s, u"fr"_s, u"en"_s}),
                  (QStringList{u"de-DE"_s, u"fr-FR"_s, u"en-GB"_s}))
    ->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(ParseCorpusLines, EnglishWithGerman, QStringList{u"en"_s}, (QStringList{u"de-DE"_s, u"en"_s}))
    ->Unit(benchmark::kMillisecond);

// The lines of the corpus, each with its own language's vocabulary (that
// language and English), as `tavlin --parse-batch` reads them
// (bench/devmodes/parse-switches.sh). Reports the mean per line. Warm
// parses them again and again; BatchFromScratch once, building each
// vocabulary and its patterns as it goes, and is cold only in a process of
// its own:
//   bench_parsing --benchmark_filter=ParseCorpusBatchFromScratch
std::vector<std::pair<QString, QString>> corpusRows() {  // language, line
    std::vector<std::pair<QString, QString>> rows;
    for (const auto& [language, lines] : corpus())
        for (const QString& line : lines) rows.emplace_back(language, line);
    return rows;
}

void ParseCorpusBatch(benchmark::State& state, bool fromScratch) {
    const std::vector<std::pair<QString, QString>> rows = corpusRows();
    Reading reading;
    std::map<QString, ParserVocabulary> vocabularies;
    const auto parseAll = [&] {
        for (const auto& [language, line] : rows) {
            auto found = vocabularies.find(language);
            if (found == vocabularies.end())
                found = vocabularies.emplace(language, ParserVocabulary::forLocaleIdentifiers({language})).first;
            benchmark::DoNotOptimize(reading.parse(line, {}, found->second));
        }
    };
    if (!fromScratch) parseAll();
    std::chrono::steady_clock::duration spent{};
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        parseAll();
        spent += std::chrono::steady_clock::now() - start;
    }
    state.counters["mean_us"] = std::chrono::duration<double, std::micro>(spent).count() /
                                static_cast<double>(state.iterations() * rows.size());
}
BENCHMARK_CAPTURE(ParseCorpusBatch, Warm, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ParseCorpusBatch, FromScratch, true)->Iterations(1)->Unit(benchmark::kMillisecond);

// The first keystroke of a session: the detector, the user's vocabulary and
// every pattern made for the first time. Cold only in a process of its own:
//   LANGUAGE=de:fr:en bench_parsing --benchmark_filter=FirstParseOfTheProcess
void FirstParseOfTheProcess(benchmark::State& state) {
    Reading reading;
    for (auto _ : state)
        benchmark::DoNotOptimize(reading.parse(u"dentist friday at quarter past 3 @clinic !! #health"_s, {u"health"_s},
                                               ParserVocabulary::current()));
}
BENCHMARK(FirstParseOfTheProcess)->Iterations(1)->Unit(benchmark::kMillisecond);

// Every other language's lines, read with that language and English.
const bool kEachLanguageRegistered = [] {
    for (const QString& code : ParserVocabulary::supportedLanguageCodes()) {
        if (code == u"en"_s) continue;
        benchmark::RegisterBenchmark(("ParseCorpusLines/" + code.toStdString()).c_str(), [code](
                                                                                             benchmark::State& state) {
            ParseCorpusLines(state, {code}, {code});
        })->Unit(benchmark::kMillisecond);
    }
    return true;
}();

// Long lines and the shapes that make a careless pattern backtrack: they
// must finish in well under 10 ms.
void ParseLongLine(benchmark::State& state, const QString& unit) {
    Reading reading;
    QString line;
    while (line.size() + unit.size() <= 4096) line += unit;
    for (auto _ : state) benchmark::DoNotOptimize(reading.parse(line, {u"work"_s}, ParserVocabulary::english()));
    state.counters["units"] = static_cast<double>(line.size());
}
BENCHMARK_CAPTURE(ParseLongLine, Words, u"call mom about the rent tomorrow at 5pm "_s)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ParseLongLine, Exclamations, u"!"_s)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ParseLongLine, AlternatingLetters, u"a "_s)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ParseLongLine, Places, u"@gym "_s)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ParseLongLine, Digits, u"12 "_s)->Unit(benchmark::kMillisecond);

void SplitLongText(benchmark::State& state) {
    QString text;
    while (text.size() < 4096) text += u"- buy milk; call mom\n"_s;
    for (auto _ : state) benchmark::DoNotOptimize(TaskSplitter::split(text));
}
BENCHMARK(SplitLongText)->Unit(benchmark::kMicrosecond);

}  // namespace
