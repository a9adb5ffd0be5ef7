#include "devmodes/ParseComparisons.h"
#include "devmodes/ParseJSONReport.h"
#include "devmodes/SharedRoutines.h"

#include "support/Printers.h"

#include <gtest/gtest.h>

using namespace tavlin;
using namespace Qt::StringLiterals;
using nlohmann::json;

TEST(ParseJSONReport, ReadingDictionary) {
    parsing::ParsedQuickAdd reading;
    reading.title = u"water plants"_s;
    reading.locationRadius = 150.7;
    reading.recurrenceFrequency = parsing::RecurrenceFrequency::weekly;
    reading.recurrenceInterval = 2;
    reading.dueDateComponents = platform::DateComponents{.year = 2026, .month = 3, .day = 6};
    const json dateOnly = devmodes::readingDictionary(reading);
    EXPECT_EQ(dateOnly["range"], "150 m");
    EXPECT_EQ(dateOnly["repeat"], "weekly x2");
    EXPECT_EQ(dateOnly["deadline"], "Fri 2026-03-06 (date-only)");
    EXPECT_EQ(dateOnly["trigger"], "arrive");
    EXPECT_EQ(dateOnly["list"], nullptr);
    EXPECT_EQ(dateOnly.size(), 10u);

    reading.dueDateComponents->hour = 9;
    reading.dueDateComponents->minute = 5;
    reading.hasTime = true;
    reading.locationRadius = std::nullopt;
    const json timed = devmodes::readingDictionary(reading);
    EXPECT_EQ(timed["deadline"], "Fri 2026-03-06 09:05");
    EXPECT_EQ(timed["range"], nullptr);
}

TEST(ParseJSONReport, ListNamesFromTheArguments) {
    const QStringList defaults = devmodes::reportListNames({u"tavlin"_s, u"--parse-json"_s, u"f"_s});
    EXPECT_EQ(defaults.size(), 3);
    EXPECT_EQ(defaults.first(), u"Reminders"_s);
    EXPECT_EQ(devmodes::reportListNames({u"--parse-lists"_s}), defaults) << "as the last argument";
    EXPECT_EQ(devmodes::reportListNames({u"--parse-lists"_s, u""_s}), QStringList{});
    EXPECT_EQ(devmodes::reportListNames({u"--parse-lists"_s, u"\tA b ,, ,C"_s}),
              (QStringList{u"A b"_s, u""_s, u"C"_s}));
}

TEST(ParseJSONReport, TextIsSortedAndEscapesSlashes) {
    const QString text = devmodes::reportText(json{{"b", "x/y"}, {"a", json::array()}});
    EXPECT_LT(text.indexOf(u"\"a\""_s), text.indexOf(u"\"b\""_s));
    EXPECT_TRUE(text.contains(u"x\\/y"_s));
}

TEST(DeveloperRoutines, InputLinesAndFields) {
    EXPECT_EQ(devmodes::inputLines(u"a\r\nb\u000Bc\u000Cd\u0085e\u2028f\u2029g\n\n"_s),
              (QStringList{u"a"_s, u"b"_s, u"c"_s, u"d"_s, u"e"_s, u"f"_s, u"g"_s}));
    QStringView rest = u"\t\tid\t\tde\t\tprompt\t"_s;
    EXPECT_EQ(devmodes::takeTabField(rest), u"id"_s);
    EXPECT_EQ(devmodes::takeTabField(rest), u"de"_s);
    EXPECT_EQ(rest.toString(), u"\tprompt\t"_s) << "the prompt keeps its tabs";
    QStringView noTab = u"de"_s;
    EXPECT_EQ(devmodes::takeTabField(noTab), std::nullopt);
}

TEST(DeveloperRoutines, DateComponentsTextAndPrefix) {
    EXPECT_EQ(devmodes::dateComponentsText({.year = 2026, .month = 8, .day = 20, .hour = 14, .minute = 5}),
              u"2026-8-20 14:05"_s);
    EXPECT_EQ(devmodes::dateComponentsText({.year = 2026, .month = 8, .day = 5}), u"2026-8-5"_s);
    EXPECT_EQ(devmodes::dateComponentsText({.year = 2026, .hour = 9}), u"2026-0-0 09:00"_s);
    EXPECT_EQ(devmodes::stringPrefix(u"e\u0301tude"_s, 2), u"e\u0301t"_s);
    EXPECT_EQ(devmodes::stringPrefix(u"ab"_s, 8), u"ab"_s);
    EXPECT_EQ(devmodes::stringPrefix(u"ab"_s, 0), u""_s);
}
