#include "parsing/SmartQuickAddParser.h"

#include "support/Printers.h"
#include "support/ScopedVariable.h"
#include "support/ScriptedLanguageModel.h"

#include <gtest/gtest.h>

using namespace tavlin;
using namespace tavlin::parsing;
using namespace Qt::StringLiterals;
using platform::DateComponents;

namespace {

using Properties = std::map<QString, platform::GeneratedContent::Value>;

struct Fixture {
    platform::Calendar calendar =
        platform::Calendar::gregorian(*platform::TimeZone::fromIdentifier(u"Europe/Amsterdam"_s));
    platform::Date reference = *calendar.date({.year = 2026, .month = 3, .day = 4, .hour = 10});  // a Wednesday
    ParserVocabulary vocabulary = ParserVocabulary::forLocaleIdentifiers({u"en-US"_s});

    ParsedQuickAdd finish(const SmartParsedReminder& answer, const QString& note, const QStringList& lists = {}) const {
        return SmartQuickAddParser::finish(answer, note, lists, vocabulary, reference, calendar);
    }
};

SmartParsedReminder dated(const QString& text, const QString& day, const QString& time = {}) {
    return {.dateText = text, .dueDate = day, .dueTime = time};
}

DateComponents day(int year, int month, int dayOfMonth) { return {.year = year, .month = month, .day = dayOfMonth}; }

}  // namespace

TEST(SmartModel, InstructionsAndSchema) {
    const Fixture f;
    const QString instructions =
        SmartQuickAddParser::readingInstructions(f.reference, f.calendar, {u"Work"_s, u"Home"_s});
    EXPECT_TRUE(instructions.startsWith(
        u"You extract structured reminder fields from short task notes.\n\nDates for reference: Wednesday (today) = "
        u"2026-03-04, Thursday (tomorrow) = 2026-03-05, Friday = 2026-03-06, Saturday = 2026-03-07, Sunday = "
        u"2026-03-08, Monday = 2026-03-09, Tuesday = 2026-03-10. The current year is 2026; resolve every deadline"_s));
    EXPECT_TRUE(instructions.endsWith(u"\n\nAvailable lists: Work, Home."_s));
    const qsizetype rulesStart = instructions.indexOf(u"; resolve every"_s);
    const QString rules = instructions.mid(rulesStart, instructions.indexOf(u"Work, Home."_s) - rulesStart);
    EXPECT_EQ(rules.toUtf8().size(), 1430);
    EXPECT_EQ(rules.count(u'\n'), 11);
    EXPECT_EQ(rules.count(u" \u2014 "_s), 2);
    EXPECT_TRUE(
        SmartQuickAddParser::readingInstructions(f.reference, f.calendar, {}).endsWith(u"Available lists: ."_s));

    const platform::Date newYearsEve = *f.calendar.date({.year = 2026, .month = 12, .day = 31, .hour = 23});
    const QString yearEnd = SmartQuickAddParser::readingInstructions(newYearsEve, f.calendar, {});
    EXPECT_TRUE(yearEnd.contains(u"Friday (tomorrow) = 2027-01-01"_s));
    EXPECT_TRUE(yearEnd.contains(u"The current year is 2026;"_s));

    const auto& schema = SmartParsedReminder::schema();
    EXPECT_EQ(schema.typeName, u"SmartParsedReminder"_s);
    QStringList names;
    for (const auto& property : schema.properties) names.append(property.name);
    EXPECT_EQ(names, (QStringList{u"dateText"_s, u"dueDate"_s, u"dueTime"_s, u"locationText"_s, u"location"_s,
                                  u"priorityText"_s, u"priority"_s, u"listText"_s, u"list"_s}));
    EXPECT_EQ(schema.properties[6].description, u"That urgency as one of: none, low, medium, high"_s);
}

TEST(SmartModel, OneSessionPerReadingAndFailuresGiveNothing) {
    ScriptedLanguageModel model;
    platform::ScopedLanguageModel useModel(model);
    SmartParsedReminder full{.locationText = u"@office"_s, .location = u"office"_s};
    model.answers.push_back(full.toGeneratedContent());
    model.answers.push_back(platform::GeneratedContent(Properties{{u"dateText"_s, u""_s}}));  // fields missing
    model.answers.push_back(ScriptedLanguageModel::Failure{});

    const auto reading = SmartQuickAddParser::parse(u"pick up keys"_s, {u"Work"_s}, ParserVocabulary::english());
    ASSERT_TRUE(reading.isDone());
    ASSERT_TRUE(reading.result().has_value());
    EXPECT_EQ(reading.result()->title, u"pick up keys"_s);
    for (int i = 0; i < 2; ++i) {
        const auto failed = SmartQuickAddParser::parse(u"x"_s, {}, ParserVocabulary::english());
        ASSERT_TRUE(failed.isDone());
        EXPECT_EQ(failed.result(), std::nullopt);
    }
    ASSERT_EQ(model.requests.size(), 3u);
    const auto& first = model.requests[0];
    EXPECT_EQ(first.prompt, u"pick up keys"_s);
    EXPECT_TRUE(first.instructions.endsWith(u"Available lists: Work."_s));
    EXPECT_EQ(first.schema, SmartParsedReminder::schema());
    EXPECT_TRUE(first.includeSchemaInPrompt);
    EXPECT_EQ(first.options, platform::GenerationOptions{});  // greedy, nothing else set

    model.available = false;
    model.answers.push_back(full.toGeneratedContent());
    const auto offline = SmartQuickAddParser::parse(u"pick up keys"_s, {}, ParserVocabulary::english());
    ASSERT_TRUE(offline.isDone());
    EXPECT_EQ(offline.result(), std::nullopt);
    EXPECT_EQ(model.requests.size(), 3u) << "a model that is not there is not asked";
}

TEST(SmartModel, GroundedDates) {
    const Fixture f;
    struct Case {
        QString note;
        SmartParsedReminder answer;
        std::optional<DateComponents> due;
        QString title;
    };
    // Phrases the rules do not read themselves, so that the model's date counts.
    const Case cases[] = {
        {u"call mom end of day"_s, dated(u"end of day"_s, u"2026-03-04"_s), day(2026, 3, 4), u"call mom"_s},
        {u"call mom end of day"_s, dated(u"end of day"_s, u"2026-03-04"_s, u"17:30"_s),
         DateComponents{.year = 2026, .month = 3, .day = 4, .hour = 17, .minute = 30}, u"call mom"_s},
        {u"call mom end of day"_s, dated(u"end of day"_s, u"soon"_s), std::nullopt, u"call mom end of day"_s},
        {u"call mom yesterday"_s, dated(u"yesterday"_s, u"2026-03-03"_s), std::nullopt, u"call mom yesterday"_s},
        {u"taxes end of january"_s, dated(u"end of january"_s, u"2026-01-31"_s), day(2027, 1, 31), u"taxes"_s},
        {u"taxes end of january 2026"_s, dated(u"end of january 2026"_s, u"2026-01-31"_s), std::nullopt,
         u"taxes end of january 2026"_s},
        {u"renew end of january"_s, dated(u"end of january"_s, u"2029-01-31"_s), std::nullopt,
         u"renew end of january"_s},
        {u"renew end of january 2029"_s, dated(u"end of january 2029"_s, u"2029-01-31"_s), day(2029, 1, 31),
         u"renew"_s},
        {u"call mom"_s, dated(u"tomorrow"_s, u"2026-03-05"_s), std::nullopt, u"call mom"_s},  // not in the note
        {u"mow tomorrowland"_s, dated(u"tomorrow"_s, u"2026-03-05"_s), std::nullopt, u"mow tomorrowland"_s},
        // The rules read this one: the model's date is not asked for.
        {u"call mom tomorrow"_s, dated(u"tomorrow"_s, u"2026-03-09"_s), day(2026, 3, 5), u"call mom"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note.toStdString());
        const ParsedQuickAdd reading = f.finish(c.answer, c.note);
        EXPECT_EQ(reading.dueDateComponents, c.due);
        EXPECT_EQ(reading.hasTime, c.due && c.due->hour.has_value());
        EXPECT_EQ(reading.title, c.title);
        EXPECT_FALSE(reading.dueDateIsBareCadenceDefault);
    }
}

TEST(SmartModel, NumbersInThePhraseMustAgreeWithTheDate) {
    const Fixture f;
    const auto check = [&](const QString& phrase, DateComponents components) {
        return SmartQuickAddParser::resolveDueDate(phrase, components, f.reference, f.calendar, f.vocabulary);
    };
    EXPECT_TRUE(check(u"friday 5 pm"_s, day(2026, 3, 6))) << "5 before pm is a clock time";
    EXPECT_TRUE(check(u"friday 5 uhr"_s, day(2026, 3, 6)));
    EXPECT_FALSE(check(u"the 5th"_s, day(2026, 3, 6)));
    EXPECT_TRUE(check(u"the 5th"_s, day(2026, 3, 5)));
    EXPECT_TRUE(check(u"3 6"_s, day(2026, 3, 6))) << "a number may be the day or the month";
    EXPECT_FALSE(check(u"on 7"_s, day(2026, 3, 6)));
    EXPECT_FALSE(check(u"in 2027"_s, day(2026, 3, 6)));
    EXPECT_TRUE(check(u"in 2029"_s, day(2029, 3, 6))) << "a written year lifts the two-year limit";
    EXPECT_FALSE(check(u"soon"_s, day(2029, 3, 6)));
}

TEST(SmartModel, CadenceDefaultAndWhatTheRulesReadStay) {
    const Fixture f;
    const ParsedQuickAdd bare = f.finish({}, u"water plants weekly"_s);
    EXPECT_EQ(bare.dueDateComponents, day(2026, 3, 4));
    EXPECT_TRUE(bare.dueDateIsBareCadenceDefault);
    const ParsedQuickAdd grounded = f.finish(dated(u"tomorrow"_s, u"2026-03-05"_s), u"water plants tomorrow weekly"_s);
    EXPECT_EQ(grounded.dueDateComponents, day(2026, 3, 5));
    EXPECT_FALSE(grounded.dueDateIsBareCadenceDefault);

    // The rules take the whole note: their priority and cadence stay, the
    // note is the title.
    const ParsedQuickAdd consumed = f.finish({.priority = u"low"_s}, u"!!! every week"_s);
    EXPECT_EQ(consumed.priority, platform::Priority::high) << "the model's priority is never used";
    EXPECT_EQ(consumed.recurrenceFrequency, RecurrenceFrequency::weekly);
    EXPECT_EQ(consumed.title, u"!!! every week"_s);
    EXPECT_EQ(f.finish({}, u"-\n\n"_s).title, u"-"_s) << "a fallback title has no line breaks";
}

TEST(SmartModel, GroundedPlacesAndLists) {
    const Fixture f;
    const ParsedQuickAdd listed =
        f.finish({.listText = u"to my work list"_s, .list = u"work"_s}, u"draft memo to my work list"_s, {u"Work"_s});
    EXPECT_EQ(listed.listName, u"Work"_s);
    EXPECT_EQ(listed.title, u"draft memo"_s);
    EXPECT_EQ(f.finish({.listText = u"#chores"_s, .list = u"chores"_s}, u"sweep #chores"_s, {u"Work"_s}).listName,
              std::nullopt);

    EXPECT_TRUE(SmartQuickAddParser::groundList(u"#work"_s, u"Work"_s, f.vocabulary));
    EXPECT_TRUE(SmartQuickAddParser::groundList(u"my Work Stuff list"_s, u"Work Stuff"_s, f.vocabulary));
    EXPECT_FALSE(SmartQuickAddParser::groundList(u"#work-stuff"_s, u"Work Stuff"_s, f.vocabulary));
    EXPECT_FALSE(SmartQuickAddParser::groundList(u"to my list"_s, u"Work"_s, f.vocabulary));

    EXPECT_TRUE(
        SmartQuickAddParser::locationTextMatchesPlace(u"when I leave @the office"_s, u"office"_s, f.vocabulary));
    EXPECT_FALSE(SmartQuickAddParser::locationTextMatchesPlace(u"call @office"_s, u"office"_s, f.vocabulary));
    EXPECT_EQ(SmartQuickAddParser::groundPlace(u"at @Home!"_s, u"Home"_s, u"ring bell at @Home!"_s, f.vocabulary),
              u"at @Home"_s);
    EXPECT_EQ(SmartQuickAddParser::groundPlace(u"x"_s, u""_s, u"ring"_s, f.vocabulary), std::nullopt);
}

TEST(SmartModel, GroundingHelpers) {
    const Fixture f;
    EXPECT_EQ(SmartQuickAddParser::foldedTokens(u"“Café”, (Tomorrow) İş"_s),
              (QStringList{u"cafe"_s, u"tomorrow"_s, u"is"_s}));
    EXPECT_EQ(SmartQuickAddParser::wordBoundedRange(u"tomorrow"_s, u"tomorrowland, TOMORROW!"_s),
              (platform::TextRange{14, 8}));
    QString title = u"call  mom tomorrow  now"_s;
    EXPECT_TRUE(SmartQuickAddParser::removeSpan(u" tomorrow "_s, title));
    EXPECT_EQ(title, u"call  mom   now"_s) << "only the span goes";
    EXPECT_FALSE(SmartQuickAddParser::removeSpan(u"  "_s, title));

    EXPECT_EQ(SmartQuickAddParser::groundDateText(u"by next friday"_s, u"rent by next friday"_s, f.vocabulary),
              u"by next friday"_s);
    EXPECT_EQ(SmartQuickAddParser::groundDateText(u"due Friday please"_s, u"rent due Friday please"_s, f.vocabulary),
              u"due Friday"_s)
        << "longest accepted run, leftmost";
    EXPECT_FALSE(SmartQuickAddParser::isDatePhrase(u"one two three four five six seven eight nine"_s, f.vocabulary));
    EXPECT_TRUE(SmartQuickAddParser::isDatePhrase(u"on 12/5 at 9:30pm"_s, f.vocabulary));

    for (const auto& [token, value] : std::vector<std::pair<QString, std::optional<int>>>{{u"5th"_s, 5},
                                                                                          {u"31st"_s, 31},
                                                                                          {u"32nd"_s, std::nullopt},
                                                                                          {u"3e"_s, 3},
                                                                                          {u"21ste"_s, 21},
                                                                                          {u"5"_s, std::nullopt}})
        EXPECT_EQ(SmartQuickAddParser::ordinalDay(token), value) << token.toStdString();

    const QStringList tokens = {u"at"_s, u"5"_s,   u"on"_s,      u"5"_s, u"in"_s,
                                u"5"_s,  u"the"_s, u"morning"_s, u"5"_s, u"uhr"_s};
    for (const auto& [position, expected] :
         std::vector<std::pair<int, bool>>{{1, true}, {3, false}, {5, true}, {8, true}})
        EXPECT_EQ(SmartQuickAddParser::isTimeNumber(position, tokens, f.vocabulary), expected) << position;
}

TEST(SmartSplit, SanitizingAgainstTheNote) {
    const QString note =
        u"Hi team, please send the quarterly report and book flights to Oslo. Also renew the parking permit. Thanks, Ana"_s;
    EXPECT_EQ(
        SmartQuickAddParser::sanitizeSplitTasks(
            {u"  Send the quarterly report\n"_s, u"Book flights to Oslo"_s, u"Invent a task nobody asked"_s,
             u"Renew parking permit tomorrow"_s, u"to do it"_s, u""_s},
            note),
        (QStringList{u"Send the quarterly report"_s, u"Book flights to Oslo"_s, u"Renew parking permit tomorrow"_s}))
        << "3 of 4 long words in the note is enough; none is not";
}

TEST(SmartSplit, Limits) {
    const QString words = u"alpha beta gamma delta epsilon zeta theta iota kappa lambda"_s;
    const QString note = words + u" "_s + QString(200, u'x');
    const QString exactly200 = QString(200, u'x');
    const QString tooLong = QString(201, u'x');
    EXPECT_EQ(SmartQuickAddParser::sanitizeSplitTasks({exactly200, tooLong}, note), QStringList{exactly200});
    EXPECT_TRUE(SmartQuickAddParser::sanitizeSplitTasks({u"alpha beta omega"_s}, note).isEmpty())
        << "2 of 3 is below 0.7";
    EXPECT_EQ(SmartQuickAddParser::sanitizeSplitTasks({words.section(u' ', 0, 6) + u" mu nu xi"_s}, note).size(), 1)
        << "short words do not count";
    EXPECT_EQ(
        SmartQuickAddParser::sanitizeSplitTasks({words.section(u' ', 0, 6) + u" omicron sigma upsilon"_s}, note).size(),
        1)
        << "7 of 10 is exactly 0.7";
    EXPECT_TRUE(SmartQuickAddParser::sanitizeSplitTasks({u"do it on my own"_s}, note).isEmpty());
    QStringList twelve;
    for (int i = 0; i < 12; ++i) twelve.append(u"alpha beta"_s);
    EXPECT_EQ(SmartQuickAddParser::sanitizeSplitTasks(twelve, note).size(), 10);
}

TEST(SmartSplit, TheModelIsAskedOnlyForOneRuleTask) {
    ScriptedLanguageModel model;
    platform::ScopedLanguageModel useModel(model);
    const QString note = u"please book flights and renew the permit"_s;
    model.answers.push_back(
        platform::GeneratedContent(Properties{{u"tasks"_s, QStringList{u"book flights"_s, u"renew the permit"_s}}}));
    model.answers.push_back(platform::GeneratedContent(Properties{{u"tasks"_s, QStringList{u"book flights"_s}}}));

    auto listed = SmartQuickAddParser::splitNote(u"milk\neggs"_s);
    EXPECT_EQ(listed.result(), (QStringList{u"milk"_s, u"eggs"_s}));
    EXPECT_TRUE(model.requests.empty());

    auto split = SmartQuickAddParser::splitNote(note);
    EXPECT_EQ(split.result(), (QStringList{u"book flights"_s, u"renew the permit"_s}));
    ASSERT_EQ(model.requests.size(), 1u);
    EXPECT_EQ(model.requests[0].instructions, SmartQuickAddParser::splitInstructions());
    EXPECT_EQ(model.requests[0].schema, SplitTasks::schema());

    auto single = SmartQuickAddParser::splitNote(note);
    EXPECT_EQ(single.result(), QStringList{note}) << "one surviving task gives the rule split";
    auto failed = SmartQuickAddParser::splitNote(note);
    EXPECT_EQ(failed.result(), QStringList{note});
    model.available = false;
    auto offline = SmartQuickAddParser::splitNote(note);
    EXPECT_EQ(offline.result(), QStringList{note});
    EXPECT_EQ(model.requests.size(), 3u);
}

TEST(SmartModel, DebugLineWhenAskedForEvenEmpty) {
    const Fixture f;
    std::optional<ScopedVariable> debug(std::in_place, "TAVLIN_PARSE_DEBUG", QByteArray(""));
    testing::internal::CaptureStdout();
    f.finish({.dateText = u"friday"_s, .priority = u"high"_s, .list = u"Work"_s}, u"gym"_s);
    const std::string printed = testing::internal::GetCapturedStdout();
    debug.reset();
    EXPECT_EQ(printed,
              "raw model output: dateText=friday dueDate= dueTime= locationText= location= priorityText= "
              "priority=high listText= list=Work\n");
    testing::internal::CaptureStdout();
    f.finish({}, u"gym"_s);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}
