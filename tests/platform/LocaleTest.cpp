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

TEST(LocaleTest, PreferredLanguagesFollowTheEnvironment) {
    struct Case {
        const char* name;
        Variables variables;
        QStringList expected;
    };
    const Case cases[] = {
        {"nothing set", {}, {"en-US"}},
        {"LANG", {{"LANG", "de_DE.UTF-8"}}, {"de-DE"}},
        {"LC_MESSAGES over LANG", {{"LANG", "de_DE.UTF-8"}, {"LC_MESSAGES", "fr_FR.UTF-8"}}, {"fr-FR"}},
        {"LC_ALL over LC_MESSAGES",
         {{"LANG", "de_DE"}, {"LC_MESSAGES", "fr_FR"}, {"LC_ALL", "it_IT.UTF-8"}},
         {"it-IT"}},
        {"LANGUAGE over all", {{"LC_ALL", "it_IT"}, {"LANGUAGE", "pt_BR:pt:en"}}, {"pt-BR", "pt", "en"}},
        {"empty LANGUAGE counts as unset", {{"LANGUAGE", ""}, {"LANG", "nl_NL.UTF-8"}}, {"nl-NL"}},
        {"LANGUAGE drops empty entries and repeats", {{"LANGUAGE", "de_DE::de-DE:de"}}, {"de-DE", "de"}},
        {"LANGUAGE of only C falls through", {{"LANGUAGE", "C"}, {"LANG", "sv_SE"}}, {"sv-SE"}},
        {"C counts as unset", {{"LC_ALL", "C"}, {"LANG", "de_DE.UTF-8"}}, {"de-DE"}},
        {"POSIX counts as unset", {{"LC_MESSAGES", "POSIX"}, {"LANG", "fi_FI"}}, {"fi-FI"}},
        {"C.UTF-8 counts as unset", {{"LANG", "C.UTF-8"}}, {"en-US"}},
        {"modifier dropped", {{"LANG", "ca_ES.UTF-8@valencia"}}, {"ca-ES"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Locale::preferredLanguages(environmentOf(c.variables)), c.expected);
    }
}

TEST(LocaleTest, CurrentLocaleFollowsTheTimeVariables) {
    struct Case {
        const char* name;
        Variables variables;
        QString expected;
    };
    const Case cases[] = {
        {"nothing set", {}, "en-US"},
        {"LANG", {{"LANG", "de_DE.UTF-8"}}, "de-DE"},
        {"LC_TIME over LANG", {{"LANG", "de_DE.UTF-8"}, {"LC_TIME", "en_GB.UTF-8"}}, "en-GB"},
        {"LC_ALL over LC_TIME", {{"LC_TIME", "en_GB"}, {"LC_ALL", "fr_CA"}}, "fr-CA"},
        {"LC_MESSAGES is not about formats", {{"LC_MESSAGES", "fr_FR"}}, "en-US"},
        {"C counts as unset", {{"LC_ALL", "C"}, {"LANG", "nl_BE"}}, "nl-BE"},
        {"POSIX alone", {{"LANG", "POSIX"}}, "en-US"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Locale::current(environmentOf(c.variables)).identifier(), c.expected);
    }
}

TEST(LocaleTest, HourCycleOfTheRegion) {
    struct Case {
        QString locale;
        HourCycle cycle;
        bool twentyFourHours;
    };
    const Case cases[] = {
        {"en_US", HourCycle::h12, false},
        {"en_GB", HourCycle::h23, true},
        {"de_DE", HourCycle::h23, true},
        {"ja_JP", HourCycle::h23, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.locale.toStdString());
        const Locale locale(c.locale);
        EXPECT_EQ(locale.hourCycle(), c.cycle);
        EXPECT_EQ(locale.uses24HourClock(), c.twentyFourHours);
    }
}

TEST(LocaleTest, WeekRulesOfTheRegion) {
    struct Case {
        QString locale;
        int firstWeekday, minimumDays;
    };
    const Case cases[] = {
        {"en_US", 1, 1},
        {"en_GB", 2, 4},
        {"de_DE", 2, 4},
        {"de", 2, 4},  // a bare language takes its likely region's rules
        {"pt_BR", 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.locale.toStdString());
        const Locale locale(c.locale);
        EXPECT_EQ(locale.firstWeekday(), c.firstWeekday);
        EXPECT_EQ(locale.minimumDaysInFirstWeek(), c.minimumDays);
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
