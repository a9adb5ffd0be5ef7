#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

#include <unicode/uversion.h>

// ICU names its namespace by version; "icu" is only an alias.
U_NAMESPACE_BEGIN
class Locale;
U_NAMESPACE_END

namespace tavlin::platform {

enum class HourCycle { h11, h12, h23, h24 };

// Weekday lists have 7 entries starting with Sunday; month lists 12 entries.
struct DateSymbols {
    QStringList weekdaySymbols, shortWeekdaySymbols;
    QStringList standaloneWeekdaySymbols, shortStandaloneWeekdaySymbols;
    QStringList monthSymbols, shortMonthSymbols;
    QStringList standaloneMonthSymbols, shortStandaloneMonthSymbols;
};

// A calendar name as the vocabularies keep it: without leading or trailing
// full stops and spaces, and only when three characters are left.
std::optional<QString> usableCalendarName(const QString& symbol);

// A locale, named by a BCP 47 tag ("de-AT") or an ICU/POSIX identifier
// ("de_AT", "de_AT.UTF-8").
class Locale {
public:
    // The codeset and modifier of a POSIX name ("de_AT.UTF-8@euro") are
    // dropped; a tag ICU cannot read gives the root locale ("und").
    explicit Locale(const QString& identifier);

    // The user's regional formats: LC_ALL, else LC_TIME, else LANG; "en_US"
    // when none is set or the value is "C"/"POSIX".
    static Locale current();
    using Environment = std::function<QString(const char* name)>;
    static Locale current(const Environment& environment);
    static Locale posix();  // "en_US_POSIX": fixed formats and locale-free case mapping

    // The user's preferred languages as BCP 47 tags, most preferred first:
    // the list in LANGUAGE, else LC_ALL, else LC_MESSAGES, else LANG; values
    // "C" and "POSIX" (also "C.UTF-8") count as unset, and repeats are dropped;
    // ["en-US"] when nothing is set.
    static QStringList preferredLanguages();
    static QStringList preferredLanguages(const Environment& environment);

    QString identifier() const;    // BCP 47, "de-AT"
    QString languageCode() const;  // "de"; ICU's code for old aliases
    QString regionCode() const;    // "AT", or empty

    HourCycle hourCycle() const;   // from the locale's preferred time pattern ("j")
    bool uses24HourClock() const;  // h23 or h24
    struct WeekRules {
        int firstWeekday;  // 1 = Sunday … 7 = Saturday
        int minimumDaysInFirstWeek;
    };
    WeekRules weekRules() const;
    DateSymbols dateSymbols() const;
    // The locale's own pattern for the fields of `skeleton` ("EEEdMMM":
    // "Wed, 4 Mar" in en_GB, "Wed, Mar 4" in en_US), in its order and
    // punctuation; the skeleton itself when ICU has none.
    QString bestPattern(const QString& skeleton) const;
    // The locale's short time ("17:00", "5:00 PM"), in its own hour cycle.
    QString shortTimePattern() const;

    const icu::Locale& icu() const { return *locale_; }

    friend bool operator==(const Locale& a, const Locale& b);

private:
    std::shared_ptr<const icu::Locale> locale_;
};

}  // namespace tavlin::platform
