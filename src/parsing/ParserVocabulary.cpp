#include "parsing/ParserVocabulary.h"

#include "platform/Locale.h"

#include <QSet>

namespace tavlin::parsing {

using namespace Qt::StringLiterals;
using platform::Regex;

namespace {

// Visits the language tables in their fixed order until `visit` answers true.
template <class Visit>
void forEachTable(Visit visit) {
    for (const QString& code : ParserVocabulary::supportedLanguageCodes()) {
        if (const ParserVocabulary* table = ParserVocabulary::languageTable(code); table && visit(*table)) return;
    }
}

bool inSet(const WordSet& set, const std::optional<QString>& foldedWord) {
    return !foldedWord || set.containsFolded(*foldedWord);
}

std::optional<QString> foldedOrNone(const std::optional<QString>& word) {
    if (!word) return std::nullopt;
    return WordSet::fold(*word);
}

// The weekday names of a locale, and each one's weekday: 1 (Sunday) … 7.
std::pair<WordSet, QHash<QString, int>> weekdayNames(const platform::DateSymbols& symbols) {
    QStringList names;
    QHash<QString, int> index;
    for (const QStringList* list : {&symbols.weekdaySymbols, &symbols.shortWeekdaySymbols,
                                    &symbols.standaloneWeekdaySymbols, &symbols.shortStandaloneWeekdaySymbols}) {
        for (qsizetype position = 0; position < list->size(); ++position) {
            const std::optional<QString> name = platform::usableCalendarName(list->at(position));
            if (!name) continue;
            names.append(*name);
            index.insert(WordSet::fold(*name), static_cast<int>(position) + 1);
        }
    }
    return {WordSet(std::move(names)), std::move(index)};
}

// Every weekday and month name of a locale.
void appendCalendarNames(QStringList& names, const platform::DateSymbols& s) {
    for (const QStringList* list :
         {&s.weekdaySymbols, &s.shortWeekdaySymbols, &s.standaloneWeekdaySymbols, &s.shortStandaloneWeekdaySymbols,
          &s.monthSymbols, &s.shortMonthSymbols, &s.standaloneMonthSymbols, &s.shortStandaloneMonthSymbols}) {
        for (const QString& symbol : *list)
            if (const std::optional<QString> name = platform::usableCalendarName(symbol)) names.append(*name);
    }
}

QString languageCodeOf(const QString& identifier) { return platform::Locale(identifier).languageCode(); }

QStringList concatenated(std::initializer_list<const WordSet*> sets) {
    QStringList words;
    for (const WordSet* set : sets) words += set->raw();
    return words;
}

// Merges every word-set field, in declaration order.
template <class Merge>
void forEachWordSet(ParserVocabulary& out, const ParserVocabulary& self, const ParserVocabulary& other, Merge merge) {
    auto fields = {
        &ParserVocabulary::dateFunctionWords,  &ParserVocabulary::pastMarkers,
        &ParserVocabulary::timeWords,          &ParserVocabulary::connectors,
        &ParserVocabulary::locationMarkers,    &ParserVocabulary::leaveWords,
        &ParserVocabulary::locationLeadIns,    &ParserVocabulary::articles,
        &ParserVocabulary::priorityWords,      &ParserVocabulary::listGlue,
        &ParserVocabulary::radiusPrepositions, &ParserVocabulary::radiusUnitWords,
        &ParserVocabulary::partitiveWords,     &ParserVocabulary::homeSynonyms,
        &ParserVocabulary::workSynonyms,       &ParserVocabulary::purposeMarkers,
        &ParserVocabulary::taskWrappers,       &ParserVocabulary::durationMarkers,
        &ParserVocabulary::minuteUnitWords,    &ParserVocabulary::hourUnitWords,
        &ParserVocabulary::dayUnitWords,       &ParserVocabulary::weekUnitWords,
        &ParserVocabulary::halfWords,          &ParserVocabulary::oneAndAHalfWords,
        &ParserVocabulary::halfHourUnitWords,  &ParserVocabulary::oneWords,
        &ParserVocabulary::clockMarkers,       &ParserVocabulary::ordinalSuffixes,
        &ParserVocabulary::quarterWords,       &ParserVocabulary::pastDirectionWords,
        &ParserVocabulary::toDirectionWords,   &ParserVocabulary::dailyWords,
        &ParserVocabulary::weeklyWords,        &ParserVocabulary::monthlyWords,
        &ParserVocabulary::yearlyWords,
    };
    for (WordSet ParserVocabulary::*field : fields) out.*field = merge(self.*field, other.*field);
}

}  // namespace

std::optional<Regex> RecurrenceGrammar::makeEveryPhraseRegex() const {
    const WordSet units(concatenated({&dayWords, &weekWords, &monthWords, &yearWords, &weekdayNames}));
    if (everyWords.isEmpty() || units.isEmpty()) return std::nullopt;
    const QString every = everyWords.alternation();
    const QString alternate = alternateWords.alternationOrNever();
    const QString pattern = u"(?:^|\\s)(?:"_s + every + u")\\s+(?:(\\d{1,3})\\s+|("_s + alternate + u")\\s+)?("_s +
                            units.alternation() + u")(?=[\\s,;:.!?]|$)"_s;
    return Regex::cached(pattern, Regex::Option::CaseInsensitive);
}

std::optional<RecurrenceFrequency> RecurrenceGrammar::frequency(const QString& unitWord) const {
    const QString folded = WordSet::fold(unitWord);
    if (dayWords.containsFolded(folded)) return RecurrenceFrequency::daily;
    if (weekWords.containsFolded(folded)) return RecurrenceFrequency::weekly;
    if (monthWords.containsFolded(folded)) return RecurrenceFrequency::monthly;
    if (yearWords.containsFolded(folded)) return RecurrenceFrequency::yearly;
    return std::nullopt;
}

const QStringList& ParserVocabulary::supportedLanguageCodes() {
    static const QStringList codes = {u"en"_s, u"nl"_s, u"de"_s, u"fr"_s, u"es"_s, u"it"_s, u"pt"_s,
                                      u"pl"_s, u"da"_s, u"sv"_s, u"nb"_s, u"cs"_s, u"ro"_s, u"hr"_s,
                                      u"el"_s, u"tr"_s, u"fi"_s, u"hu"_s, u"he"_s, u"sw"_s};
    return codes;
}

std::optional<ParserVocabulary> ParserVocabulary::forLanguageCode(const QString& code) {
    if (const ParserVocabulary* table = languageTable(code)) return *table;
    return std::nullopt;
}

const ParserVocabulary* ParserVocabulary::languageTable(const QString& code) {
    using Table = const ParserVocabulary& (*)();
    static const QHash<QString, Table> tables = {
        {u"en"_s, &ParserVocabulary::english},    {u"nl"_s, &ParserVocabulary::dutch},
        {u"de"_s, &ParserVocabulary::german},     {u"fr"_s, &ParserVocabulary::french},
        {u"es"_s, &ParserVocabulary::spanish},    {u"it"_s, &ParserVocabulary::italian},
        {u"pt"_s, &ParserVocabulary::portuguese}, {u"pl"_s, &ParserVocabulary::polish},
        {u"da"_s, &ParserVocabulary::danish},     {u"sv"_s, &ParserVocabulary::swedish},
        {u"nb"_s, &ParserVocabulary::norwegian},  {u"no"_s, &ParserVocabulary::norwegian},
        {u"nn"_s, &ParserVocabulary::norwegian},  {u"cs"_s, &ParserVocabulary::czech},
        {u"ro"_s, &ParserVocabulary::romanian},   {u"hr"_s, &ParserVocabulary::croatian},
        {u"bs"_s, &ParserVocabulary::croatian},   {u"sr"_s, &ParserVocabulary::croatian},
        {u"el"_s, &ParserVocabulary::greek},      {u"tr"_s, &ParserVocabulary::turkish},
        {u"fi"_s, &ParserVocabulary::finnish},    {u"hu"_s, &ParserVocabulary::hungarian},
        {u"he"_s, &ParserVocabulary::hebrew},     {u"iw"_s, &ParserVocabulary::hebrew},
        {u"sw"_s, &ParserVocabulary::swahili},
    };
    const auto found = tables.constFind(code);
    return found == tables.cend() ? nullptr : &(*found)();
}

const ParserVocabulary& ParserVocabulary::empty() {
    static const ParserVocabulary vocabulary;
    return vocabulary;
}

ParserVocabulary ParserVocabulary::merged(const ParserVocabulary& other) const {
    ParserVocabulary result;
    forEachWordSet(result, *this, other,
                   [](const WordSet& a, const WordSet& b) { return WordSet::unionOf(a.raw(), b.raw()); });
    result.clockHourWords = clockHourWords;
    QSet<QString> keys;
    for (const auto& [word, hour] : clockHourWords) keys.insert(word);
    for (const auto& entry : other.clockHourWords)
        if (!keys.contains(entry.first)) result.clockHourWords.append(entry);
    result.recurrenceGrammars = recurrenceGrammars + other.recurrenceGrammars;
    result.languageCodes = languageCodes;
    for (const QString& code : other.languageCodes)
        if (!result.languageCodes.contains(code)) result.languageCodes.append(code);
    return result;
}

WordSet ParserVocabulary::cadenceAdverbs() const {
    return WordSet(concatenated({&dailyWords, &weeklyWords, &monthlyWords, &yearlyWords}));
}

std::optional<Regex> ParserVocabulary::makeCadenceAdverbRegex() const {
    const WordSet adverbs = cadenceAdverbs();
    if (adverbs.isEmpty()) return std::nullopt;
    return Regex::cached(u"(?:^|\\s)("_s + adverbs.alternation() + u")(?=\\s*$)"_s, Regex::Option::CaseInsensitive);
}

ParserVocabulary ParserVocabulary::forLocaleIdentifiers(const QStringList& localeIdentifiers) {
    ParserVocabulary vocabulary = empty();
    QSet<QString> seenCodes;
    QStringList calendarNames;  // of every language read, with a table or without
    for (const QString& identifier : localeIdentifiers + QStringList{u"en"_s}) {
        const QString code = languageCodeOf(identifier);
        if (code.isEmpty() || seenCodes.contains(code)) continue;
        seenCodes.insert(code);
        const platform::DateSymbols symbols = platform::Locale(identifier).dateSymbols();
        appendCalendarNames(calendarNames, symbols);
        std::optional<ParserVocabulary> table = forLanguageCode(code);
        if (!table) continue;
        auto [names, index] = weekdayNames(symbols);
        for (RecurrenceGrammar& grammar : table->recurrenceGrammars) {
            grammar.weekdayNames = names;
            grammar.weekdayIndex = index;
            grammar.everyPhraseRegex.value = grammar.makeEveryPhraseRegex();
        }
        vocabulary = vocabulary.merged(*table);
    }
    vocabulary.dateFunctionWords = WordSet::unionOf(vocabulary.dateFunctionWords.raw(), calendarNames);

    vocabulary.cadenceAdverbRegex.value = vocabulary.makeCadenceAdverbRegex();
    return vocabulary;
}

const ParserVocabulary& ParserVocabulary::current() {
    static const ParserVocabulary vocabulary = forLocaleIdentifiers(platform::Locale::preferredLanguages());
    return vocabulary;
}

bool ParserVocabulary::isQuarterPhrase(const std::optional<QString>& quarterWord, const QString& directionWord,
                                       const std::optional<QString>& clockMarker) {
    const QString direction = WordSet::fold(directionWord);
    const auto quarter = foldedOrNone(quarterWord);
    const auto marker = foldedOrNone(clockMarker);
    bool found = false;
    forEachTable([&](const ParserVocabulary& table) {
        found =
            (table.pastDirectionWords.containsFolded(direction) || table.toDirectionWords.containsFolded(direction)) &&
            inSet(table.quarterWords, quarter) && inSet(table.clockMarkers, marker);
        return found;
    });
    return found;
}

std::optional<int> ParserVocabulary::clockHourValue(const QString& hourWord, const std::optional<QString>& quarterWord,
                                                    const std::optional<QString>& directionWord,
                                                    const std::optional<QString>& clockMarker,
                                                    const std::optional<QString>& halfWord) {
    const QString hour = WordSet::fold(hourWord);
    const auto quarter = foldedOrNone(quarterWord);
    const auto direction = foldedOrNone(directionWord);
    const auto marker = foldedOrNone(clockMarker);
    const auto half = foldedOrNone(halfWord);
    QSet<int> hours;
    forEachTable([&](const ParserVocabulary& table) {
        const auto entry = std::find_if(table.clockHourWords.cbegin(), table.clockHourWords.cend(),
                                        [&](const auto& pair) { return WordSet::fold(pair.first) == hour; });
        if (entry == table.clockHourWords.cend()) return false;
        const bool directionKnown = !direction || table.pastDirectionWords.containsFolded(*direction) ||
                                    table.toDirectionWords.containsFolded(*direction);
        if (inSet(table.quarterWords, quarter) && directionKnown && inSet(table.clockMarkers, marker) &&
            inSet(table.halfWords, half))
            hours.insert(entry->second);
        return false;
    });
    if (hours.size() != 1) return std::nullopt;
    return *hours.cbegin();
}

std::optional<HalfHourDirection> ParserVocabulary::halfHourDirectionFor(const QString& clockMarker,
                                                                        const QString& halfWord) {
    const QString marker = WordSet::fold(clockMarker);
    const QString half = WordSet::fold(halfWord);
    bool before = false, after = false;
    forEachTable([&](const ParserVocabulary& table) {
        if (table.halfHourDirection && table.clockMarkers.containsFolded(marker) &&
            table.halfWords.containsFolded(half))
            (*table.halfHourDirection == HalfHourDirection::beforeTheHour ? before : after) = true;
        return false;
    });
    if (before == after) return std::nullopt;  // none, or the languages disagree
    return before ? HalfHourDirection::beforeTheHour : HalfHourDirection::afterTheHour;
}

bool ParserVocabulary::isDurationPhrase(const QString& marker, const std::optional<QString>& numberWord,
                                        const std::optional<QString>& halfWord, const QString& unitWord) {
    const QString foldedMarker = WordSet::fold(marker);
    const auto number = foldedOrNone(numberWord);
    const auto half = foldedOrNone(halfWord);
    const QString unit = WordSet::fold(unitWord);
    bool found = false;
    forEachTable([&](const ParserVocabulary& table) {
        if (!table.durationMarkers.containsFolded(foldedMarker)) return false;
        if (number && !table.oneWords.containsFolded(*number)) return false;
        if (half && !table.halfWords.containsFolded(*half) && !table.oneAndAHalfWords.containsFolded(*half))
            return false;
        found = table.minuteUnitWords.containsFolded(unit) || table.hourUnitWords.containsFolded(unit) ||
                table.dayUnitWords.containsFolded(unit) || table.weekUnitWords.containsFolded(unit) ||
                table.halfHourUnitWords.containsFolded(unit);
        return found;
    });
    return found;
}

}  // namespace tavlin::parsing
