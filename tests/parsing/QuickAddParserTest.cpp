#include "parsing/ListTag.h"
#include "parsing/QuickAddParser.h"

#include "support/Printers.h"

#include <gtest/gtest.h>

using namespace tavlin;
using namespace tavlin::parsing;
using namespace Qt::StringLiterals;
using platform::Priority;

namespace {

ParsedQuickAdd parseLine(const QString& text, const QStringList& lists = {}, bool editing = false) {
    const platform::Calendar calendar =
        platform::Calendar::gregorian(*platform::TimeZone::fromIdentifier(u"Europe/Amsterdam"_s));
    const platform::Date reference = *calendar.date({.year = 2026, .month = 3, .day = 4, .hour = 10});
    return QuickAddParser::parse(text, {.referenceDate = reference,
                                        .calendar = calendar,
                                        .vocabulary = ParserVocabulary::english(),
                                        .listNames = lists,
                                        .isEditing = editing,
                                        .uses24HourClock = true});
}

}  // namespace

TEST(QuickAddParser, PriorityMarks) {
    struct Case {
        QString line;
        Priority priority;
        QString title;
    };
    const Case cases[] = {
        {u"buy milk !!"_s, Priority::medium, u"buy milk"_s},
        {u"buy milk !"_s, Priority::low, u"buy milk"_s},
        {u"!!! buy milk"_s, Priority::high, u"buy milk"_s},
        {u"buy milk!!"_s, Priority::none, u"buy milk!!"_s},
        {u"buy milk !!!!"_s, Priority::none, u"buy milk!!!!"_s},  // blanks before punctuation go
        {u"urgent !!, call Tom"_s, Priority::medium, u"urgent, call Tom"_s},
        {u"call Tom !!x"_s, Priority::none, u"call Tom!!x"_s},
        {u"! call ! Tom !!!"_s, Priority::low, u"call! Tom!!!"_s},
        {u" \t\n "_s, Priority::none, u""_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        const ParsedQuickAdd parsed = parseLine(c.line);
        EXPECT_EQ(parsed.priority, c.priority);
        EXPECT_EQ(parsed.title, c.title);
    }
    EXPECT_EQ(parseLine(u"   "_s), ParsedQuickAdd{}) << "a blank line gives the default result";
}

TEST(QuickAddParser, ListTag) {
    struct Case {
        QString line;
        QStringList lists;
        std::optional<QString> list;
        QString rest;
    };
    const QStringList groceriesAndWork = {u"Groceries"_s, u"Work"_s};
    const Case cases[] = {
        {u"buy milk #groceries"_s, groceriesAndWork, u"Groceries"_s, u"buy milk"_s},
        {u"#EINKAUFE Brot"_s, {u"Einkäufe"_s}, u"Einkäufe"_s, u"Brot"_s},
        {u"plan #workstuff"_s, {u"Work Stuff"_s}, u"Work Stuff"_s, u"plan"_s},
        {u"plan #work-stuff"_s, {u"Work Stuff"_s}, std::nullopt, u"plan #work-stuff"_s},
        {u"plan #work-stuff"_s, {u"Work-Stuff"_s}, u"Work-Stuff"_s, u"plan"_s},
        {u"plan #workstuff"_s, {u"Work-Stuff"_s}, std::nullopt, u"plan #workstuff"_s},
        {u"order item#3"_s, {u"3"_s}, std::nullopt, u"order item#3"_s},
        {u"#groceries, milk"_s, groceriesAndWork, u"Groceries"_s, u", milk"_s},
        {u"#work then #groceries"_s, groceriesAndWork, u"Work"_s, u"then #groceries"_s},
        {u"x #home"_s, {u"Home"_s, u"HOME"_s}, u"Home"_s, u"x"_s},
        {u"buy milk #groceries"_s, {}, std::nullopt, u"buy milk #groceries"_s},
        {u"read #x"_s, {u"📚"_s, u"X"_s}, u"X"_s, u"read"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        QString text = c.line;
        EXPECT_EQ(QuickAddParser::extractList(text, c.lists), c.list);
        EXPECT_EQ(text, c.rest);
    }
    EXPECT_EQ(parseLine(u"buy milk #groceries"_s, groceriesAndWork).listName, u"Groceries"_s);

    // In an edited line the last tag that names a list wins, and every such
    // tag goes; one that names no list stays.
    const Case lastWins[] = {
        {u"Dentist #groceries #work"_s, groceriesAndWork, u"Work"_s, u"Dentist"_s},
        {u"#work call #x Bob #groceries"_s, groceriesAndWork, u"Groceries"_s, u"call #x Bob"_s},
        {u"call #x Bob"_s, groceriesAndWork, std::nullopt, u"call #x Bob"_s},
    };
    for (const Case& c : lastWins) {
        SCOPED_TRACE(c.line.toStdString());
        QString text = c.line;
        EXPECT_EQ(QuickAddParser::extractList(text, c.lists, QuickAddParser::ListTagChoice::last), c.list);
        EXPECT_EQ(text, c.rest);
    }
    EXPECT_EQ(parseLine(u"Dentist #groceries #work"_s, groceriesAndWork, true).listName, u"Work"_s);
    EXPECT_EQ(parseLine(u"Dentist #groceries #work"_s, groceriesAndWork).listName, u"Groceries"_s)
        << "a new line keeps the first";
}

TEST(QuickAddParser, RequestWrapper) {
    EXPECT_EQ(parseLine(u"remind me to call mom"_s).title, u"call mom"_s);
    EXPECT_EQ(parseLine(u"Remind me about the tax return"_s).title, u"the tax return"_s);
    EXPECT_EQ(parseLine(u"remind me"_s).title, u"remind me"_s) << "a wrapper alone stays the title";
    EXPECT_EQ(parseLine(u"remind me to call mom"_s, {}, true).title, u"remind me to call mom"_s);
}

TEST(QuickAddParser, CleanTitle) {
    struct Case {
        QString text;
        QString title;
    };
    const Case cases[] = {
        {u"buy milk at the"_s, u"buy milk"_s},           {u"call  the   the dentist"_s, u"call the dentist"_s},
        {u"meet at, the lobby"_s, u"meet, the lobby"_s}, {u"pay bills ;"_s, u"pay bills"_s},
        {u" - , pay bills :"_s, u"pay bills"_s},         {u"call Tom on On"_s, u"call Tom"_s},
    };
    for (const Case& c : cases) EXPECT_EQ(QuickAddParser::cleanTitle(c.text, ParserVocabulary::english()), c.title);
    EXPECT_EQ(QuickAddParser::cleanTitle(u"  a  b "_s, ParserVocabulary::empty()), u"a b"_s);
}

TEST(ParsedQuickAdd, EqualityAndEquivalence) {
    ParsedQuickAdd a;
    a.title = u"Café"_s;
    ParsedQuickAdd b = a;
    b.title = u"Cafe\u0301"_s;
    EXPECT_EQ(a, b) << "titles compare as canonically equivalent";

    ParsedQuickAdd dated = a;
    dated.matchedDateText = u"tomorrow"_s;
    EXPECT_NE(a, dated);
    EXPECT_TRUE(a.isEquivalent(dated));

    ParsedQuickAdd leaving = a;
    leaving.locationTrigger = LocationTrigger::leave;
    EXPECT_NE(a, leaving);
    EXPECT_FALSE(a.isEquivalent(leaving));

    ParsedQuickAdd daily = a;
    daily.recurrenceFrequency = RecurrenceFrequency::daily;
    EXPECT_FALSE(a.isEquivalent(daily)) << "no cadence differs from daily, even at interval 1";

    ParsedQuickAdd midnight = a;
    midnight.dueDateComponents = platform::DateComponents{.year = 2026, .month = 3, .day = 4, .hour = 0};
    ParsedQuickAdd dateOnly = a;
    dateOnly.dueDateComponents = platform::DateComponents{.year = 2026, .month = 3, .day = 4};
    EXPECT_FALSE(midnight.isEquivalent(dateOnly)) << "an absent hour differs from hour 0";
}
