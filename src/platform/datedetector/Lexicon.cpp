#include "platform/datedetector/Lexicon.h"

#include "platform/IcuString.h"
#include "platform/Locale.h"
#include "platform/Text.h"

#include <unicode/reldatefmt.h>

#include <algorithm>
#include <memory>

namespace tavlin::platform::datedetector {

namespace {

// Blanks of any width match each other, and so do the apostrophes and the
// hyphens, so that "aujourd'hui" and ICU's "aujourd’hui" are one word.
QString canonicalSeparator(QStringView separator) {
    const bool blanks = !separator.isEmpty() &&
                        std::all_of(separator.begin(), separator.end(), [](QChar c) { return isBlank(c.unicode()); });
    if (blanks) return QStringLiteral(" ");
    if (separator.size() == 1 && isApostrophe(separator.front().unicode())) return QStringLiteral("'");
    if (separator.size() == 1 && isHyphen(separator.front().unicode())) return QStringLiteral("-");
    return separator.toString();
}

// Everything but the languages: the same word in several languages is one
// entry, looked at once.
QString entryKey(const LexiconEntry& entry) {
    return QStringLiteral("%1|%2|%3|%4|%5|%6|%7|%8|%9")
        .arg(static_cast<int>(entry.kind))
        .arg(entry.tokens.join(QChar(0x1F)), entry.separators.join(QChar(0x1F)), entry.trailing)
        .arg(entry.number)
        .arg(entry.minute)
        .arg(static_cast<int>(entry.mode))
        .arg(int{entry.needsCompanion})
        .arg(int{entry.followsWeekday});
}

QString relativePhrase(const icu::RelativeDateTimeFormatter& formatter, UDateDirection direction,
                       UDateAbsoluteUnit unit) {
    icu::UnicodeString phrase;
    UErrorCode status = U_ZERO_ERROR;
    formatter.format(direction, unit, phrase, status);
    return U_SUCCESS(status) ? fromIcu(phrase) : QString();
}

WeekdayMode nextWeekdayMode(const DetectorLanguage& language) {
    return language.nextWeekdayNamesFollowingWeek ? WeekdayMode::followingWeek : WeekdayMode::afterToday;
}

}  // namespace

std::optional<Lexicon> Lexicon::build() {
    Lexicon lexicon;
    const std::vector<const DetectorLanguage*>& languages = detectorLanguages();
    for (size_t index = 0; index < languages.size(); ++index) {
        const Locale locale(languages[index]->code);
        const DateSymbols symbols = locale.dateSymbols();
        const bool english = index == 0;  // the languages list English first
        if (english && (symbols.weekdaySymbols.size() != 7 || symbols.monthSymbols.size() != 12)) return std::nullopt;
        lexicon.addLanguage(*languages[index], LanguageMask{1} << index, locale, symbols);
    }
    lexicon.index();
    return lexicon;
}

LanguageMask Lexicon::languageMask(const QStringList& codes) const {
    LanguageMask mask = 1;  // English
    for (const QString& code : codes) {
        const qsizetype index = codes_.indexOf(code);
        if (index >= 0) mask |= LanguageMask{1} << index;
    }
    return mask;
}

void Lexicon::addLanguage(const DetectorLanguage& language, LanguageMask bit, const Locale& locale,
                          const DateSymbols& symbols) {
    codes_.append(language.code);
    if (language.readsHourLetterH) hourLetterH_ |= bit;
    if (language.readsHourLetterU) hourLetterU_ |= bit;
    addCalendarNames(language, bit, symbols);
    addRelativePhrases(language, bit, locale);
    addHandTable(language, bit);
}

void Lexicon::addCalendarNames(const DetectorLanguage& language, LanguageMask bit, const DateSymbols& symbols) {
    QStringList wideNames;
    for (const QStringList* list : {&symbols.weekdaySymbols, &symbols.standaloneWeekdaySymbols}) {
        for (qsizetype index = 0; index < list->size(); ++index) {
            const std::optional<QString> name = usableCalendarName(list->at(index));
            if (!name) continue;
            wideNames.append(foldedWord(*name));
            add({.kind = Lex::weekday, .languages = bit, .number = static_cast<int>(index) + 1}, *name);
        }
    }
    for (const QStringList* list : {&symbols.shortWeekdaySymbols, &symbols.shortStandaloneWeekdaySymbols}) {
        for (qsizetype index = 0; index < list->size(); ++index) {
            const std::optional<QString> name = usableCalendarName(list->at(index));
            if (!name) continue;
            const QString key = foldedWord(*name);
            const bool standalone = wideNames.contains(key) || language.standaloneAbbreviations.contains(key);
            add({.kind = Lex::weekday,
                 .languages = bit,
                 .number = static_cast<int>(index) + 1,
                 .needsCompanion = !standalone},
                *name);
        }
    }
    for (const QStringList* list : {&symbols.monthSymbols, &symbols.shortMonthSymbols, &symbols.standaloneMonthSymbols,
                                    &symbols.shortStandaloneMonthSymbols}) {
        for (qsizetype index = 0; index < list->size(); ++index)
            if (const std::optional<QString> name = usableCalendarName(list->at(index)))
                add({.kind = Lex::month, .languages = bit, .number = static_cast<int>(index) + 1}, *name);
    }
}

// ICU's phrases for the days around today and for this, next and last
// weekday, each kept whole with its meaning.
void Lexicon::addRelativePhrases(const DetectorLanguage& language, LanguageMask bit, const Locale& locale) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::RelativeDateTimeFormatter formatter(locale.icu(), nullptr, UDAT_STYLE_LONG, UDISPCTX_CAPITALIZATION_NONE,
                                                   status);
    if (U_FAILURE(status)) return;
    const std::pair<UDateDirection, int> days[] = {
        {UDAT_DIRECTION_LAST_2, -2}, {UDAT_DIRECTION_LAST, -1},  {UDAT_DIRECTION_THIS, 0},
        {UDAT_DIRECTION_NEXT, 1},    {UDAT_DIRECTION_NEXT_2, 2},
    };
    for (const auto& [direction, offset] : days) {
        const QString phrase = relativePhrase(formatter, direction, UDAT_ABSOLUTE_DAY);
        if (!phrase.isEmpty()) add({.kind = Lex::relativeDay, .languages = bit, .number = offset}, phrase);
    }
    const std::pair<UDateDirection, WeekdayMode> weekdays[] = {
        {UDAT_DIRECTION_THIS, WeekdayMode::fromToday},
        {UDAT_DIRECTION_NEXT, nextWeekdayMode(language)},
        {UDAT_DIRECTION_LAST, WeekdayMode::past},
    };
    for (int weekday = 1; weekday <= 7; ++weekday) {
        QStringList seen;  // Danish says "på onsdag" for this and for next Wednesday: it stays "this"
        for (const auto& [direction, mode] : weekdays) {
            const auto unit = static_cast<UDateAbsoluteUnit>(UDAT_ABSOLUTE_SUNDAY + weekday - 1);
            const QString phrase = relativePhrase(formatter, direction, unit);
            if (phrase.isEmpty()) continue;
            const QString key = foldedWord(phrase);
            if (seen.contains(key)) continue;
            seen.append(key);
            add({.kind = Lex::weekdayPhrase, .languages = bit, .number = weekday, .mode = mode}, phrase);
        }
    }
}

void Lexicon::addHandTable(const DetectorLanguage& language, LanguageMask bit) {
    const auto addWords = [&](Lex kind, const QStringList& words) {
        for (const QString& word : words) add({.kind = kind, .languages = bit}, word);
    };
    const auto addTimed = [&](Lex kind, const std::vector<TimedWord>& words) {
        for (const TimedWord& word : words)
            add({.kind = kind, .languages = bit, .number = word.hour, .minute = word.minute}, word.word);
    };
    addWords(Lex::clockMarker, language.clockMarkers);
    addWords(Lex::hourWordBefore, language.hourWordsBefore);
    addWords(Lex::hourWordAfter, language.hourWordsAfter);
    addWords(Lex::hourWordAfterMarker, language.hourWordsAfterMarker);
    addTimed(Lex::timeWord, language.timeWords);
    addTimed(Lex::dayPart, language.dayParts);
    addTimed(Lex::tonight, language.tonightWords);
    addWords(Lex::dayPartLead, language.dayPartLeads);
    for (const NumberedWord& day : language.relativeDays)
        add({.kind = Lex::relativeDay, .languages = bit, .number = day.number}, day.word);
    for (const NumberedWord& name : language.weekdayNames)
        add({.kind = Lex::weekday, .languages = bit, .number = name.number}, name.word);
    for (const WeekdayModifier& modifier : language.weekdayModifiers)
        add({.kind = Lex::weekdayModifier,
             .languages = bit,
             .mode = modifier.mode,
             .followsWeekday = modifier.followsWeekday},
            modifier.word);
    addWords(Lex::joiner, language.joiners);
    addWords(Lex::dateJoiner, language.dateJoiners);
    addWords(Lex::weekdayDateJoiner, language.weekdayDateJoiners);
    addWords(Lex::ordinalSuffix, language.ordinalSuffixes);
    addWords(Lex::ordinalConnector, language.ordinalConnectors);
}

void Lexicon::add(LexiconEntry entry, const QString& written) {
    const TokenizedText words(written, {0, written.size()});
    const std::vector<Token>& tokens = words.tokens();
    if (tokens.empty() || tokens.front().start != 0) return;
    for (size_t index = 0; index < tokens.size(); ++index) {
        entry.tokens.append(tokens[index].folded);
        if (index > 0) {
            const qsizetype from = tokens[index - 1].end;
            entry.separators.append(canonicalSeparator(QStringView(written).mid(from, tokens[index].start - from)));
        }
    }
    entry.trailing = written.mid(tokens.back().end).trimmed();
    const QString key = entryKey(entry);
    if (const auto existing = entryIndex_.constFind(key); existing != entryIndex_.constEnd()) {
        entries_[*existing].languages |= entry.languages;
        return;
    }
    entryIndex_.insert(key, entries_.size());
    entries_.push_back(std::move(entry));
}

void Lexicon::index() {
    for (std::uint32_t id = 0; id < entries_.size(); ++id) byFirstToken_[entries_[id].tokens.front()].push_back(id);
    for (std::vector<std::uint32_t>& ids : byFirstToken_) {
        std::stable_sort(ids.begin(), ids.end(), [this](std::uint32_t a, std::uint32_t b) {
            const LexiconEntry& x = entries_[a];
            const LexiconEntry& y = entries_[b];
            if (x.tokens.size() != y.tokens.size()) return x.tokens.size() > y.tokens.size();
            return x.trailing.size() > y.trailing.size();
        });
    }
}

std::vector<LexiconMatch> Lexicon::matchesAt(const TokenizedText& text, int tokenIndex, LanguageMask active) const {
    std::vector<LexiconMatch> found;
    const std::vector<Token>& tokens = text.tokens();
    const auto ids = byFirstToken_.constFind(tokens[static_cast<size_t>(tokenIndex)].folded);
    if (ids == byFirstToken_.constEnd()) return found;
    for (const std::uint32_t id : *ids) {
        const LexiconEntry& entry = entries_[id];
        if (!(entry.languages & active)) continue;
        const size_t last = static_cast<size_t>(tokenIndex) + static_cast<size_t>(entry.tokens.size()) - 1;
        if (last >= tokens.size()) continue;
        bool same = true;
        for (qsizetype part = 1; same && part < entry.tokens.size(); ++part) {
            const Token& previous = tokens[static_cast<size_t>(tokenIndex + part - 1)];
            const Token& token = tokens[static_cast<size_t>(tokenIndex + part)];
            const QStringView separator = QStringView(text.text()).mid(previous.end, token.start - previous.end);
            same = token.folded == entry.tokens[part] && canonicalSeparator(separator) == entry.separators[part - 1];
        }
        const qsizetype end = tokens[last].end + entry.trailing.size();
        if (!same || QStringView(text.text()).mid(tokens[last].end, entry.trailing.size()) != entry.trailing ||
            end > text.end() || !text.canEnd(end))
            continue;
        found.push_back({&entry, end});
    }
    return found;
}

}  // namespace tavlin::platform::datedetector
