#include "platform/Locale.h"

#include "platform/CharacterSet.h"
#include "platform/IcuString.h"
#include "platform/Text.h"

#include <unicode/calendar.h>
#include <unicode/datefmt.h>
#include <unicode/dtfmtsym.h>
#include <unicode/dtptngen.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <QHash>

#include <algorithm>
#include <initializer_list>
#include <mutex>

namespace tavlin::platform {

namespace {

// "de_AT.UTF-8@euro" → "de_AT": ICU has no use for the codeset or modifier.
QString withoutCodesetAndModifier(const QString& identifier) {
    const auto end = std::find_if(identifier.begin(), identifier.end(), [](QChar c) { return c == u'.' || c == u'@'; });
    return identifier.left(end - identifier.begin());
}

// "C", "POSIX" and their codeset forms ("C.UTF-8") name no language or region.
bool isPosixDefault(const QString& value) {
    const QString name = withoutCodesetAndModifier(value);
    return name == u"C" || name == u"POSIX";
}

icu::Locale makeIcuLocale(const QString& identifier) {
    const QByteArray name = withoutCodesetAndModifier(identifier).toUtf8();
    if (!name.contains('-')) return icu::Locale(name.constData());
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale locale = icu::Locale::forLanguageTag(name.constData(), status);
    return U_SUCCESS(status) ? locale : icu::Locale::getRoot();
}

// The value of the first variable that is set to something other than the
// POSIX default, or an empty string.
QString firstSet(const Locale::Environment& environment, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        const QString value = environment(name);
        if (!value.isEmpty() && !isPosixDefault(value)) return value;
    }
    return {};
}

QStringList languageTags(const QStringList& entries) {
    QStringList tags;
    for (const QString& entry : entries) {
        if (isPosixDefault(entry)) continue;
        const QString tag = Locale(entry).identifier();
        if (tag != u"und" && !tags.contains(tag)) tags << tag;
    }
    return tags;
}

QString processVariable(const char* name) { return qEnvironmentVariable(name); }

HourCycle hourCycleFromIcu(UDateFormatHourCycle cycle) {
    switch (cycle) {
    case UDAT_HOUR_CYCLE_11: return HourCycle::h11;
    case UDAT_HOUR_CYCLE_12: return HourCycle::h12;
    case UDAT_HOUR_CYCLE_23: return HourCycle::h23;
    case UDAT_HOUR_CYCLE_24: return HourCycle::h24;
    }
    return HourCycle::h23;
}

// ICU's weekday lists start with an empty entry, so that index 1 is Sunday.
QStringList symbols(const icu::UnicodeString* items, int32_t count, int32_t first = 0) {
    QStringList list;
    for (int32_t i = first; i < count; ++i) list << fromIcu(items[i]);
    return list;
}

DateSymbols makeDateSymbols(const icu::Locale& locale) {
    using Symbols = icu::DateFormatSymbols;
    UErrorCode status = U_ZERO_ERROR;
    const Symbols icuSymbols(locale, status);
    const auto weekdays = [&](Symbols::DtContextType context, Symbols::DtWidthType width) {
        int32_t count = 0;
        const icu::UnicodeString* items = icuSymbols.getWeekdays(count, context, width);
        return symbols(items, count, 1);
    };
    const auto months = [&](Symbols::DtContextType context, Symbols::DtWidthType width) {
        int32_t count = 0;
        const icu::UnicodeString* items = icuSymbols.getMonths(count, context, width);
        return symbols(items, count);
    };
    return {
        .weekdaySymbols = weekdays(Symbols::FORMAT, Symbols::WIDE),
        .shortWeekdaySymbols = weekdays(Symbols::FORMAT, Symbols::ABBREVIATED),
        .standaloneWeekdaySymbols = weekdays(Symbols::STANDALONE, Symbols::WIDE),
        .shortStandaloneWeekdaySymbols = weekdays(Symbols::STANDALONE, Symbols::ABBREVIATED),
        .monthSymbols = months(Symbols::FORMAT, Symbols::WIDE),
        .shortMonthSymbols = months(Symbols::FORMAT, Symbols::ABBREVIATED),
        .standaloneMonthSymbols = months(Symbols::STANDALONE, Symbols::WIDE),
        .shortStandaloneMonthSymbols = months(Symbols::STANDALONE, Symbols::ABBREVIATED),
    };
}

}  // namespace

Locale::Locale(const QString& identifier) : locale_(std::make_shared<const icu::Locale>(makeIcuLocale(identifier))) {}

Locale Locale::current() { return current(processVariable); }

Locale Locale::current(const Environment& environment) {
    const QString value = firstSet(environment, {"LC_ALL", "LC_TIME", "LANG"});
    return Locale(value.isEmpty() ? QStringLiteral("en_US") : value);
}

Locale Locale::posix() {
    static const Locale locale(QStringLiteral("en_US_POSIX"));
    return locale;
}

QStringList Locale::preferredLanguages() { return preferredLanguages(processVariable); }

QStringList Locale::preferredLanguages(const Environment& environment) {
    QStringList tags = languageTags(environment("LANGUAGE").split(u':', Qt::SkipEmptyParts));
    if (tags.isEmpty()) tags = languageTags({firstSet(environment, {"LC_ALL", "LC_MESSAGES", "LANG"})});
    return tags.isEmpty() ? QStringList{QStringLiteral("en-US")} : tags;
}

QString Locale::identifier() const {
    UErrorCode status = U_ZERO_ERROR;
    const std::string tag = locale_->toLanguageTag<std::string>(status);
    return U_SUCCESS(status) ? QString::fromStdString(tag) : QStringLiteral("und");
}

QString Locale::languageCode() const { return QString::fromLatin1(locale_->getLanguage()); }

QString Locale::regionCode() const { return QString::fromLatin1(locale_->getCountry()); }

HourCycle Locale::hourCycle() const {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::DateTimePatternGenerator> generator(
        icu::DateTimePatternGenerator::createInstance(*locale_, status));
    if (U_FAILURE(status)) return HourCycle::h23;
    const UDateFormatHourCycle cycle = generator->getDefaultHourCycle(status);
    return U_SUCCESS(status) ? hourCycleFromIcu(cycle) : HourCycle::h23;
}

QString Locale::bestPattern(const QString& skeleton) const {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::DateTimePatternGenerator> generator(
        icu::DateTimePatternGenerator::createInstance(*locale_, status));
    if (U_FAILURE(status)) return skeleton;
    const icu::UnicodeString pattern = generator->getBestPattern(icuView(skeleton), status);
    return U_SUCCESS(status) ? fromIcu(pattern) : skeleton;
}

QString Locale::shortTimePattern() const {
    const std::unique_ptr<icu::DateFormat> format(
        icu::DateFormat::createTimeInstance(icu::DateFormat::kShort, *locale_));
    auto* simple = dynamic_cast<icu::SimpleDateFormat*>(format.get());
    if (!simple) return uses24HourClock() ? QStringLiteral("HH:mm") : QStringLiteral("h:mm a");
    icu::UnicodeString pattern;
    return fromIcu(simple->toPattern(pattern));
}

bool Locale::uses24HourClock() const {
    const HourCycle cycle = hourCycle();
    return cycle == HourCycle::h23 || cycle == HourCycle::h24;
}

// ICU's calendar for the locale carries the locale's week rules.
Locale::WeekRules Locale::weekRules() const {
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<icu::Calendar> calendar(
        icu::Calendar::createInstance(icu::TimeZone::getGMT()->clone(), *locale_, status));
    return {calendar->getFirstDayOfWeek(status), calendar->getMinimalDaysInFirstWeek()};
}

std::optional<QString> usableCalendarName(const QString& symbol) {
    static const CharacterSet dotAndSpace = CharacterSet::fromCharacters(QStringLiteral(". "));
    QString name = trimmed(symbol, dotAndSpace);
    if (graphemeCount(name) < 3) return std::nullopt;
    return name;
}

DateSymbols Locale::dateSymbols() const {
    // Every vocabulary reads English's besides its own language's: the
    // names are made once per locale and process.
    static std::mutex mutex;
    static QHash<QByteArray, DateSymbols> made;
    const QByteArray name(locale_->getName());
    const std::lock_guard lock(mutex);
    if (const auto found = made.constFind(name); found != made.constEnd()) return *found;
    return made.insert(name, makeDateSymbols(*locale_)).value();
}

bool operator==(const Locale& a, const Locale& b) { return *a.locale_ == *b.locale_; }

}  // namespace tavlin::platform
