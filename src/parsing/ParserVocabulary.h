#pragma once

#include "parsing/ParsedQuickAdd.h"
#include "parsing/WordSet.h"
#include "platform/Regex.h"
#include "platform/UncheckedSendable.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

namespace tavlin::parsing {

// Which way a language's "half" counts from the hour it names: English
// "half five" is 5:30 (after), German "halb fünf" is 4:30 (before).
enum class HalfHourDirection { beforeTheHour, afterTheHour };

using OptionalRegex = platform::UncheckedSendable<std::optional<platform::Regex>>;

// One way a language says "every <unit>" or "every <weekday>".
struct RecurrenceGrammar {
    WordSet everyWords;
    WordSet alternateWords;  // "other" in "every other week"
    int defaultInterval = 1;
    WordSet nextWords;  // "next" in "next week monday"
    WordSet dayWords;
    WordSet weekWords;
    WordSet monthWords;
    WordSet yearWords;
    WordSet weekdayNames;              // from the locale, when a vocabulary is built
    QHash<QString, int> weekdayIndex;  // folded weekday name → 1 (Sunday) … 7
    OptionalRegex everyPhraseRegex;

    // Groups: 1 a count of one to three digits, 2 the alternate word, 3 the
    // unit or weekday. Nothing without every-words or units.
    std::optional<platform::Regex> makeEveryPhraseRegex() const;
    std::optional<RecurrenceFrequency> frequency(const QString& unitWord) const;
};

// The marker words the parser reads: one fixed table per language, and the
// merged vocabulary of the languages a user reads.
struct ParserVocabulary {
    WordSet dateFunctionWords;
    WordSet pastMarkers;
    WordSet timeWords;
    WordSet connectors;
    WordSet locationMarkers;
    WordSet leaveWords;
    WordSet locationLeadIns;
    WordSet articles;
    WordSet priorityWords;
    WordSet listGlue;
    WordSet radiusPrepositions;
    WordSet radiusUnitWords;
    WordSet partitiveWords;
    WordSet homeSynonyms;
    WordSet workSynonyms;
    WordSet purposeMarkers;
    WordSet taskWrappers;
    WordSet durationMarkers;
    WordSet minuteUnitWords;
    WordSet hourUnitWords;
    WordSet dayUnitWords;
    WordSet weekUnitWords;
    WordSet halfWords;
    WordSet oneAndAHalfWords;
    WordSet halfHourUnitWords;
    WordSet oneWords;
    WordSet clockMarkers;
    WordSet ordinalSuffixes;
    WordSet quarterWords;
    WordSet pastDirectionWords;
    WordSet toDirectionWords;
    QList<std::pair<QString, int>> clockHourWords;  // word → hour 1 … 12, keys unique, in order
    std::optional<HalfHourDirection> halfHourDirection;
    QList<RecurrenceGrammar> recurrenceGrammars;
    WordSet dailyWords;
    WordSet weeklyWords;
    WordSet monthlyWords;
    WordSet yearlyWords;
    OptionalRegex cadenceAdverbRegex;  // "(?:^|\\s)(adverb)(?=\\s*$)" over the four sets above
    // The codes of the language tables this vocabulary was built from ("en"
    // always among them in a built vocabulary), so that the date detector
    // reads the same languages.
    QStringList languageCodes;

    // "en", "nl", "de", … in the fixed order the any-language checks visit.
    static const QStringList& supportedLanguageCodes();
    // A copy of the table for a code or one of its aliases ("no" and "nn"
    // for Norwegian, "bs" and "sr" for Croatian, "iw" for Hebrew).
    static std::optional<ParserVocabulary> forLanguageCode(const QString& code);
    // The same table itself, or null: no copy.
    static const ParserVocabulary* languageTable(const QString& code);
    static const ParserVocabulary& empty();

    // Self's words first; self wins clock-hour conflicts; grammars appended.
    ParserVocabulary merged(const ParserVocabulary& other) const;

    // The daily, weekly, monthly and yearly words together.
    WordSet cadenceAdverbs() const;
    // The adverb pattern over cadenceAdverbs(); nothing without adverbs.
    std::optional<platform::Regex> makeCadenceAdverbRegex() const;

    // The vocabulary of the languages of these locales, each once, English
    // always last among them unless named earlier.
    static ParserVocabulary forLocaleIdentifiers(const QStringList& localeIdentifiers);
    // The user's preferred languages, built once per process.
    static const ParserVocabulary& current();

    // Checks that a group of words belongs to one single language table.
    static bool isQuarterPhrase(const std::optional<QString>& quarterWord, const QString& directionWord,
                                const std::optional<QString>& clockMarker);
    static std::optional<int> clockHourValue(const QString& hourWord, const std::optional<QString>& quarterWord,
                                             const std::optional<QString>& directionWord,
                                             const std::optional<QString>& clockMarker,
                                             const std::optional<QString>& halfWord);
    static std::optional<HalfHourDirection> halfHourDirectionFor(const QString& clockMarker, const QString& halfWord);
    static bool isDurationPhrase(const QString& marker, const std::optional<QString>& numberWord,
                                 const std::optional<QString>& halfWord, const QString& unitWord);

    // The twenty language tables, each built once on first use.
    static const ParserVocabulary& english();
    static const ParserVocabulary& dutch();
    static const ParserVocabulary& german();
    static const ParserVocabulary& french();
    static const ParserVocabulary& spanish();
    static const ParserVocabulary& italian();
    static const ParserVocabulary& portuguese();
    static const ParserVocabulary& polish();
    static const ParserVocabulary& danish();
    static const ParserVocabulary& swedish();
    static const ParserVocabulary& norwegian();
    static const ParserVocabulary& czech();
    static const ParserVocabulary& romanian();
    static const ParserVocabulary& croatian();
    static const ParserVocabulary& greek();
    static const ParserVocabulary& turkish();
    static const ParserVocabulary& finnish();
    static const ParserVocabulary& hungarian();
    static const ParserVocabulary& hebrew();
    static const ParserVocabulary& swahili();
};

}  // namespace tavlin::parsing
