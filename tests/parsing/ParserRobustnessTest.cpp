#include "parsing/QuickAddParser.h"
#include "parsing/TaskSplitter.h"

#include "support/Printers.h"

#include <gtest/gtest.h>

#include <unicode/uchar.h>
#include <random>

using namespace tavlin;
using namespace tavlin::parsing;
using namespace Qt::StringLiterals;

namespace {

platform::Calendar amsterdam() {
    return platform::Calendar::gregorian(*platform::TimeZone::fromIdentifier(u"Europe/Amsterdam"_s));
}

ParsedQuickAdd parseLine(const QString& line, const ParserVocabulary& vocabulary, bool editing = false) {
    static const platform::Calendar calendar = amsterdam();
    static const platform::Date reference = *calendar.date({.year = 2026, .month = 3, .day = 4, .hour = 10});
    return QuickAddParser::parse(line, {.referenceDate = reference,
                                        .calendar = calendar,
                                        .vocabulary = vocabulary,
                                        .listNames = {u"work"_s, u"Einkäufe"_s},
                                        .isEditing = editing,
                                        .uses24HourClock = true});
}

// The title, white space aside, as a subsequence of the line: the parser
// takes text out and never writes any of its own.
::testing::AssertionResult titleStandsInTheLine(const QString& title, const QString& line) {
    qsizetype at = 0;
    for (const QChar c : title) {
        if (u_isUWhiteSpace(c.unicode())) continue;
        at = line.indexOf(c, at);
        if (at < 0)
            return ::testing::AssertionFailure() << "the title has " << QString(c).toStdString() << " out of order";
        ++at;
    }
    return ::testing::AssertionSuccess();
}

// Lines of random pieces: markers of every stage, numbers, quotes, and text
// that is hard on a reader (marks, joiners, right-to-left, lone surrogates).
QStringList randomLines(int count) {
    const QStringList pieces = {
        u"call"_s,
        u"mom"_s,
        u"Zahnarzt"_s,
        u"tomorrow"_s,
        u"morgen"_s,
        u"friday"_s,
        u"next week"_s,
        u"at"_s,
        u"um"_s,
        u"halb"_s,
        u"quarter past"_s,
        u"10 to"_s,
        u"5"_s,
        u"17:30"_s,
        u"9.45"_s,
        u"5pm"_s,
        u"3rd"_s,
        u"on the"_s,
        u"in 3 days"_s,
        u"in an hour"_s,
        u"every"_s,
        u"other"_s,
        u"monday"_s,
        u"weekly"_s,
        u"@gym"_s,
        u"@“Corner Shop”"_s,
        u"@"_s,
        u"“"_s,
        u"\""_s,
        u"within 500 m"_s,
        u"200m"_s,
        u"when I leave"_s,
        u"#work"_s,
        u"#"_s,
        u"!"_s,
        u"!!"_s,
        u"!!!"_s,
        u","_s,
        u";"_s,
        u":"_s,
        u"remind me to"_s,
        u"the"_s,
        u"e\u0301\u0301"_s,
        u"👩‍👩‍👧"_s,
        u"שלום"_s,
        u"\u200F"_s,
        QString(QChar(0xD800)),
        QString(QChar(0xDC00)),
        QString(QChar(0)),
        u"\t"_s,
        u"\u2028"_s,
        u"  "_s,
        u"İ"_s,
        u"ß"_s,
    };
    std::mt19937 random(12);
    std::uniform_int_distribution<qsizetype> piece(0, pieces.size() - 1);
    std::uniform_int_distribution<int> length(1, 12);
    std::bernoulli_distribution blank(0.7);
    QStringList lines;
    for (int n = 0; n < count; ++n) {
        QString line;
        for (int i = length(random); i > 0; --i) line += pieces[piece(random)] + (blank(random) ? u" "_s : QString());
        lines.append(line);
    }
    return lines;
}

}  // namespace

TEST(ParserRobustness, TitlesOnlyLoseTextForAnyLine) {
    const ParserVocabulary threeLanguages = ParserVocabulary::forLocaleIdentifiers({u"de"_s, u"fr"_s, u"en"_s});
    for (const QString& line : randomLines(400)) {
        SCOPED_TRACE(line.toStdString());
        for (const bool editing : {false, true}) {
            ParsedQuickAdd parsed;
            EXPECT_NO_THROW(parsed = parseLine(line, threeLanguages, editing));
            EXPECT_TRUE(titleStandsInTheLine(parsed.title, line));
        }
    }
}

TEST(ParserRobustness, SplitTasksArePiecesOfTheText) {
    for (const QString& text : randomLines(200)) {
        const QString list = QString(text).replace(u";"_s, u"\n- "_s);
        for (const QString& whole : {text, list}) {
            SCOPED_TRACE(whole.toStdString());
            const QStringList tasks = TaskSplitter::split(whole);
            EXPECT_LE(tasks.size(), 10);
            for (const QString& task : tasks)
                EXPECT_TRUE(!task.isEmpty() && whole.contains(task)) << task.toStdString();
        }
    }
}

// How long these take is the benchmark's business; here they must finish
// and keep their text.
TEST(ParserRobustness, LinesOf4096UnitsFinish) {
    const QStringList units = {
        u"!"_s,      u"a "_s,     u"call mom tomorrow at 5pm "_s, u"@"_s, u"@gym "_s, u"12 "_s, u"“"_s, u"every "_s,
        u"#work "_s, u"\u0301"_s, QString(QChar(0xD800))};
    for (const QString& unit : units) {
        SCOPED_TRACE(unit.toStdString());
        QString line;
        while (line.size() + unit.size() <= 4096) line += unit;
        EXPECT_TRUE(titleStandsInTheLine(parseLine(line, ParserVocabulary::english()).title, line));
    }
}
