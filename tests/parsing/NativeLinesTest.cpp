#include "parsing/QuickAddParser.h"
#include "platform/Calendar.h"
#include "platform/TimeZone.h"

#include "support/Printers.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

#include <gtest/gtest.h>

#include <iostream>

using namespace tavlin;
using namespace tavlin::parsing;
using namespace Qt::StringLiterals;

// The lines of tests/parsing/native-lines, as speakers of each language type
// them, read on Wednesday 4 March 2026 at 10:00 in Berlin. Each row gives
// what the line must come to; a row marked as a known miss is one the
// folder's README explains, and it must stay a miss until the README changes.
namespace {

constexpr int kLeastLines = 30;
constexpr int kLeastPercentRead = 95;

// A reading in the corpus's own words: "-" for nothing.
struct Reading {
    QString title;
    QString due;      // "2026-03-06 15:15", "2026-03-06"
    QString cadence;  // "weekly", "weekly/2"
    QString place;
    QString list;
    QString priority;  // "!", "!!", "!!!"

    friend bool operator==(const Reading&, const Reading&) = default;
};

struct Row {
    int lineNumber = 0;
    QString line;
    Reading expected;
    bool knownMiss = false;
};

QString orDash(const std::optional<QString>& text) { return text && !text->isEmpty() ? *text : u"-"_s; }

QString dueOf(const ParsedQuickAdd& parsed) {
    if (!parsed.dueDateComponents) return u"-"_s;
    const platform::DateComponents& c = *parsed.dueDateComponents;
    QString due = u"%1-%2-%3"_s.arg(c.year.value_or(0))
                      .arg(c.month.value_or(0), 2, 10, QChar(u'0'))
                      .arg(c.day.value_or(0), 2, 10, QChar(u'0'));
    if (parsed.hasTime)
        due += u" %1:%2"_s.arg(c.hour.value_or(0), 2, 10, QChar(u'0')).arg(c.minute.value_or(0), 2, 10, QChar(u'0'));
    return due;
}

QString cadenceOf(const ParsedQuickAdd& parsed) {
    if (!parsed.recurrenceFrequency) return u"-"_s;
    static const QStringList names = {u"daily"_s, u"weekly"_s, u"monthly"_s, u"yearly"_s};
    const QString name = names[static_cast<int>(*parsed.recurrenceFrequency)];
    return parsed.recurrenceInterval == 1 ? name : name + u'/' + QString::number(parsed.recurrenceInterval);
}

QString priorityOf(const ParsedQuickAdd& parsed) {
    switch (parsed.priority) {
    case platform::Priority::low: return u"!"_s;
    case platform::Priority::medium: return u"!!"_s;
    case platform::Priority::high: return u"!!!"_s;
    case platform::Priority::none: break;
    }
    return u"-"_s;
}

Reading readingOf(const ParsedQuickAdd& parsed) {
    return {parsed.title.isEmpty() ? u"-"_s : parsed.title,
            dueOf(parsed),
            cadenceOf(parsed),
            orDash(parsed.locationName),
            orDash(parsed.listName),
            priorityOf(parsed)};
}

std::string describe(const Reading& reading) {
    return (reading.title + u" | "_s + reading.due + u" | "_s + reading.cadence + u" | "_s + reading.place + u" | "_s +
            reading.list + u" | "_s + reading.priority)
        .toStdString();
}

// line, title, due, cadence, place, list, priority and, for a known miss,
// "known miss"; blank lines and lines that start with "#" are comments.
std::vector<Row> readCorpus(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return {};
    }
    std::vector<Row> rows;
    QTextStream stream(&file);
    stream.setEncoding(QStringConverter::Utf8);
    for (int lineNumber = 1; !stream.atEnd(); ++lineNumber) {
        const QString text = stream.readLine();
        if (text.trimmed().isEmpty() || text.startsWith(u'#')) continue;
        const QStringList fields = text.split(u'\t');
        if (fields.size() < 7 || fields.size() > 8 || (fields.size() == 8 && fields[7] != u"known miss"_s)) {
            ADD_FAILURE() << path.toStdString() << ":" << lineNumber << ": not a row of the corpus";
            continue;
        }
        rows.push_back({lineNumber,
                        fields[0],
                        {fields[1], fields[2], fields[3], fields[4], fields[5], fields[6]},
                        fields.size() == 8});
    }
    return rows;
}

QStringList corpusLanguages() {
    QStringList codes;
    for (const QString& name : QDir(QStringLiteral(TAVLIN_NATIVE_LINES_DIR)).entryList({u"*.tsv"_s}, QDir::Files))
        codes.append(name.chopped(4));
    return codes;
}

class NativeLines : public testing::TestWithParam<QString> {};

TEST(NativeLinesCorpus, HoldsEveryLanguage) {
    QStringList expected = ParserVocabulary::supportedLanguageCodes();
    QStringList found = corpusLanguages();
    expected.sort();
    found.sort();
    EXPECT_EQ(found, expected);
}

TEST_P(NativeLines, AreReadAsTheirSpeakersMeanThem) {
    const QString code = GetParam();
    const std::vector<Row> rows = readCorpus(QStringLiteral(TAVLIN_NATIVE_LINES_DIR "/") + code + u".tsv"_s);
    QStringList lists;
    for (const Row& row : rows)
        if (row.expected.list != u"-"_s && !lists.contains(row.expected.list)) lists.append(row.expected.list);

    platform::Calendar calendar =
        platform::Calendar::gregorian(*platform::TimeZone::fromIdentifier(u"Europe/Berlin"_s));
    calendar.setFirstWeekday(2);
    calendar.setMinimumDaysInFirstWeek(4);
    const platform::Date reference = *calendar.date({.year = 2026, .month = 3, .day = 4, .hour = 10});
    const ParserVocabulary vocabulary = ParserVocabulary::forLocaleIdentifiers({code});
    const bool uses24HourClock = code != u"en"_s;

    int read = 0;
    for (const Row& row : rows) {
        const Reading got = readingOf(QuickAddParser::parse(row.line, {.referenceDate = reference,
                                                                       .calendar = calendar,
                                                                       .vocabulary = vocabulary,
                                                                       .listNames = lists,
                                                                       .uses24HourClock = uses24HourClock}));
        const bool asMeant = got == row.expected;
        if (asMeant) ++read;
        const std::string where =
            code.toStdString() + ".tsv:" + std::to_string(row.lineNumber) + " \"" + row.line.toStdString() + "\"";
        if (!asMeant && !row.knownMiss)
            ADD_FAILURE() << where << "\n  expected " << describe(row.expected) << "\n  got      " << describe(got);
        else if (asMeant && row.knownMiss)
            ADD_FAILURE() << where << " is read as meant now: unmark it and take it out of the README";
        else if (!asMeant) std::cout << "  known miss " << where << "\n    gives " << describe(got) << "\n";
    }
    const int total = static_cast<int>(rows.size());
    std::cout << "[ native   ] " << code.toStdString() << ": " << read << "/" << total << " lines read as meant\n";
    EXPECT_GE(total, kLeastLines);
    EXPECT_GE(read * 100, total * kLeastPercentRead) << read << " of " << total;
}

INSTANTIATE_TEST_SUITE_P(Corpus, NativeLines, testing::ValuesIn(corpusLanguages()),
                         [](const testing::TestParamInfo<QString>& info) { return info.param.toStdString(); });

}  // namespace
