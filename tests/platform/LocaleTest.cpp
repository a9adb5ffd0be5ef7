#include "platform/Locale.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using tavlin::platform::HourCycle;
using tavlin::platform::Locale;

namespace {

using Variables = std::map<std::string, QString>;

Locale::Environment environmentOf(const Variables& variables) {
    return [variables](const char* name) {
        const auto found = variables.find(name);
        return found == variables.end() ? QString() : found->second;
    };
}

TEST(LocaleTest, ReadsTagsAndPosixNames) {
    struct Case {
        QString input, identifier, language, region;
    };
    const Case cases[] = {
        {"de-AT", "de-AT", "de", "AT"},
        {"de_AT", "de-AT", "de", "AT"},
        {"de_AT.UTF-8", "de-AT", "de", "AT"},
        {"de_AT.UTF-8@euro", "de-AT", "de", "AT"},
        {"sr_Latn_RS", "sr-Latn-RS", "sr", "RS"},
        {"zh-Hant-TW", "zh-Hant-TW", "zh", "TW"},
        {"de", "de", "de", ""},
        // ICU keeps the old code as the language and writes the new one in the tag.
        {"iw", "he", "iw", ""},
        {"iw_IL", "he-IL", "iw", "IL"},
        {"no", "no", "no", ""},
        {"not a locale!", "und", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input.toStdString());
        const Locale locale(c.input);
        EXPECT_EQ(locale.identifier(), c.identifier);
        EXPECT_EQ(locale.languageCode(), c.language);
        EXPECT_EQ(locale.regionCode(), c.region);
    }
}

TEST(LocaleTest, EqualWhenIcuNamesTheSameLocale) {
    EXPECT_EQ(Locale("de_AT.UTF-8"), Locale("de-AT"));
    EXPECT_NE(Locale("de_AT"), Locale("de_DE"));
}

// Languages come from LANGUAGE, LC_ALL, LC_MESSAGES, LANG; formats from
// LC_ALL, LC_TIME, LANG.
TEST(LocaleTest, LanguagesAndFormatsFollowTheEnvironment) {
    struct Case {
        const char* name;
        Variables variables;
        QStringList languages;
        QString formats;
    };
    const Case cases[] = {
        {"nothing set", {}, {"en-US"}, "en-US"},
        {"LANG", {{"LANG", "de_DE.UTF-8"}}, {"de-DE"}, "de-DE"},
        {"LC_MESSAGES over LANG", {{"LANG", "de_DE.UTF-8"}, {"LC_MESSAGES", "fr_FR.UTF-8"}}, {"fr-FR"}, "de-DE"},
        {"LC_TIME over LANG", {{"LANG", "de_DE.UTF-8"}, {"LC_TIME", "en_GB.UTF-8"}}, {"de-DE"}, "en-GB"},
        {"LC_ALL over all but LANGUAGE",
         {{"LANG", "de_DE"}, {"LC_MESSAGES", "fr_FR"}, {"LC_TIME", "en_GB"}, {"LC_ALL", "it_IT.UTF-8"}},
         {"it-IT"},
         "it-IT"},
        {"LANGUAGE over all", {{"LC_ALL", "it_IT"}, {"LANGUAGE", "pt_BR:pt:en"}}, {"pt-BR", "pt", "en"}, "it-IT"},
        {"empty LANGUAGE counts as unset", {{"LANGUAGE", ""}, {"LANG", "nl_NL.UTF-8"}}, {"nl-NL"}, "nl-NL"},
        {"LANGUAGE drops empty entries and repeats", {{"LANGUAGE", "de_DE::de-DE:de"}}, {"de-DE", "de"}, "en-US"},
        {"LANGUAGE of only C falls through", {{"LANGUAGE", "C"}, {"LANG", "sv_SE"}}, {"sv-SE"}, "sv-SE"},
        {"C counts as unset", {{"LC_ALL", "C"}, {"LANG", "de_DE.UTF-8"}}, {"de-DE"}, "de-DE"},
        {"POSIX counts as unset",
         {{"LC_MESSAGES", "POSIX"}, {"LC_TIME", "POSIX"}, {"LANG", "fi_FI"}},
         {"fi-FI"},
         "fi-FI"},
        {"C.UTF-8 counts as unset", {{"LANG", "C.UTF-8"}}, {"en-US"}, "en-US"},
        {"modifier dropped", {{"LANG", "ca_ES.UTF-8@valencia"}}, {"ca-ES"}, "ca-ES"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Locale::preferredLanguages(environmentOf(c.variables)), c.languages);
        EXPECT_EQ(Locale::current(environmentOf(c.variables)).identifier(), c.formats);
    }
}

TEST(LocaleTest, ClockAndWeekRulesOfTheRegion) {
    struct Case {
        QString locale;
        HourCycle cycle;
        bool twentyFourHours;
        int firstWeekday, minimumDays;
    };
    const Case cases[] = {
        {"en_US", HourCycle::h12, false, 1, 1},
        {"en_GB", HourCycle::h23, true, 2, 4},
        {"de_DE", HourCycle::h23, true, 2, 4},
        {"de", HourCycle::h23, true, 2, 4},  // a bare language takes its likely region's rules
        {"ja_JP", HourCycle::h23, true, 1, 1},
        {"pt_BR", HourCycle::h23, true, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.locale.toStdString());
        const Locale locale(c.locale);
        EXPECT_EQ(locale.hourCycle(), c.cycle);
        EXPECT_EQ(locale.uses24HourClock(), c.twentyFourHours);
        const Locale::WeekRules rules = locale.weekRules();
        EXPECT_EQ(rules.firstWeekday, c.firstWeekday);
        EXPECT_EQ(rules.minimumDaysInFirstWeek, c.minimumDays);
    }
}

TEST(LocaleTest, DateSymbolsStartOnSunday) {
    const auto symbols = Locale("en_US").dateSymbols();
    EXPECT_EQ(symbols.weekdaySymbols,
              QStringList({"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"}));
    EXPECT_EQ(symbols.shortWeekdaySymbols, QStringList({"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"}));
    ASSERT_EQ(symbols.monthSymbols.size(), 12);
    EXPECT_EQ(symbols.monthSymbols.front(), "January");
    EXPECT_EQ(symbols.shortMonthSymbols.back(), "Dec");

    const auto german = Locale("de_DE").dateSymbols();
    EXPECT_EQ(german.shortWeekdaySymbols, QStringList({"So.", "Mo.", "Di.", "Mi.", "Do.", "Fr.", "Sa."}));
    EXPECT_EQ(german.weekdaySymbols.front(), "Sonntag");
    EXPECT_EQ(german.monthSymbols.at(2), "März");
}

// The names are kept per locale once made: a region that names a month
// otherwise keeps its own, whichever was asked first.
TEST(LocaleTest, EachRegionKeepsItsOwnSymbols) {
    for (const char* first : {"de_AT", "de"}) {
        SCOPED_TRACE(first);
        const QString january = Locale(first).dateSymbols().monthSymbols.front();
        EXPECT_EQ(Locale("de_AT").dateSymbols().monthSymbols.front(), "Jänner");
        EXPECT_EQ(Locale("de").dateSymbols().monthSymbols.front(), "Januar");
        EXPECT_EQ(Locale(first).dateSymbols().monthSymbols.front(), january);
    }
}

TEST(LocaleTest, FormatAndStandaloneSymbolsStayApart) {
    struct Case {
        QString locale;
        QString januaryInADate, januaryAlone;
    };
    const Case cases[] = {
        {"pl_PL", "stycznia", "styczeń"},
        {"cs_CZ", "ledna", "leden"},
        {"fi_FI", "tammikuuta", "tammikuu"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.locale.toStdString());
        const auto symbols = Locale(c.locale).dateSymbols();
        ASSERT_EQ(symbols.standaloneMonthSymbols.size(), 12);
        EXPECT_EQ(symbols.monthSymbols.front(), c.januaryInADate);
        EXPECT_EQ(symbols.standaloneMonthSymbols.front(), c.januaryAlone);
        EXPECT_EQ(symbols.standaloneWeekdaySymbols.size(), 7);
        EXPECT_EQ(symbols.shortStandaloneWeekdaySymbols.size(), 7);
        EXPECT_EQ(symbols.shortStandaloneMonthSymbols.size(), 12);
    }
}

}  // namespace
