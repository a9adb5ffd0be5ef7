#include "platform/datedetector/Lexicon.h"

#include "platform/Text.h"
#include "platform/datedetector/IcuWords.h"

#include <QSet>

#include <algorithm>
#include <iterator>
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

// The mark that glues an ending on, made canonical: "'", "-" or ":".
std::optional<QChar> endingMark(char32_t c) {
    if (isApostrophe(c)) return QChar(u'\'');
    if (isHyphen(c)) return QChar(u'-');
    if (c == ':') return QChar(u':');
    return std::nullopt;
}

// Everything but the languages: the same word in several languages is one
// entry, looked at once.
QString entryKey(const LexiconEntry& entry) {
    // The numbers first, each as two units (its halves): a fixed width, and
    // some thousands of keys are made before the first parse.
    const int values[] = {static_cast<int>(entry.kind),
                          entry.number,
                          entry.minute,
                          entry.dayOffset,
                          static_cast<int>(entry.mode),
                          static_cast<int>(entry.rules),
                          int{entry.needsCompanion},
                          int{entry.followsWeekday},
                          int{entry.countsFromSix},
                          int{entry.beforeCount},
                          int{entry.singular}};
    char16_t halves[2 * std::size(values)];
    for (size_t index = 0; index < std::size(values); ++index) {
        const auto bits = static_cast<std::uint32_t>(values[index]);
        halves[2 * index] = static_cast<char16_t>(bits & 0xFFFFu);
        halves[2 * index + 1] = static_cast<char16_t>(bits >> 16);
    }
    QString key;
    key.reserve(64);
    key.append(QStringView(halves, std::size(halves)));
    for (const QString& token : entry.tokens) key.append(token).append(QChar(0x1F));
    key.append(QChar(u'|'));
    for (const QString& separator : entry.separators) key.append(separator).append(QChar(0x1F));
    key.append(QChar(u'|'));
    key.append(entry.trailing);
    return key;
}

WeekdayMode nextWeekdayMode(const DetectorLanguage& language) {
    return language.nextWeekdayNamesFollowingWeek ? WeekdayMode::followingWeek : WeekdayMode::afterToday;
}

// The words of a text ("in 3 days" → in, 3, days): runs of anything but blanks.
QStringList wordsOf(const QString& text) { return text.split(u' ', Qt::SkipEmptyParts); }

// How many words all the lists begin with alike (or, from the back, end with).
qsizetype commonWords(const std::vector<QStringList>& lists, bool fromTheBack) {
    if (lists.empty()) return 0;
    for (qsizetype count = 0;; ++count) {
        for (const QStringList& words : lists) {
            if (count >= words.size()) return count;
            const QString& word = fromTheBack ? words[words.size() - 1 - count] : words[count];
            const QStringList& first = lists.front();
            if (word != (fromTheBack ? first[first.size() - 1 - count] : first[count])) return count;
        }
    }
}

QString joinedWords(const QStringList& words, qsizetype from, qsizetype count) {
    return words.mid(from, count).join(u' ');
}

}  // namespace

std::optional<Lexicon> Lexicon::build() {
    Lexicon lexicon;
    const std::vector<const DetectorLanguage*>& languages = detectorLanguages();
    for (size_t index = 0; index < languages.size(); ++index) {
        const LexiconWords words = lexiconWords(languages[index]->code).value_or(LexiconWords{});
        const bool english = index == 0;  // the languages list English first
        if (english && (words.symbols.weekdaySymbols.size() != 7 || words.symbols.monthSymbols.size() != 12))
            return std::nullopt;
        lexicon.addLanguage(*languages[index], LanguageMask{1} << index, words);
    }
    lexicon.index();
    return lexicon;
}

LanguageMask Lexicon::writesDayMonthWith(char16_t mark) const {
    if (mark == '.') return dayMonthDot_;
    if (mark == '-') return dayMonthDash_;
    return 0;
}

LanguageMask Lexicon::languageMask(const QStringList& codes) const {
    LanguageMask mask = 1;  // English
    for (const QString& code : codes) {
        const qsizetype index = codes_.indexOf(code);
        if (index >= 0) mask |= LanguageMask{1} << index;
    }
    return mask;
}

void Lexicon::addLanguage(const DetectorLanguage& language, LanguageMask bit, const LexiconWords& words) {
    codes_.append(language.code);
    if (language.readsHourLetterH) hourLetterH_ |= bit;
    if (language.readsHourLetterU) hourLetterU_ |= bit;
    if (language.countMayBeLeftOut) countLeftOut_ |= bit;
    if (language.partsLeadTimes) partsLeadTimes_ |= bit;
    if (language.dayMonthMarks.contains(u'.')) dayMonthDot_ |= bit;
    if (language.dayMonthMarks.contains(u'-')) dayMonthDash_ |= bit;
    if (language.monthFirst) monthFirst_ |= bit;
    if (language.dotsOrdinals) dotsOrdinals_ |= bit;
    addCalendarNames(language, bit, words.symbols);
    addRelativePhrases(language, bit, words.relative);
    addNumberWords(language, bit);
    addSpans(language, bit, words.relative);
    addHandTable(language, bit);
    addGlued(language, bit);
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
    // A weekday and a part of the day written as one word.
    if (language.gluesWeekdayAndPart) {
        QStringList joins = language.weekdayPartJoins;
        joins.prepend(QString());
        QSet<QString> names;  // the standalone names are mostly the others again
        for (const QStringList* list : {&symbols.weekdaySymbols, &symbols.standaloneWeekdaySymbols}) {
            for (qsizetype index = 0; index < list->size(); ++index) {
                if (names.contains(list->at(index))) continue;
                names.insert(list->at(index));
                for (const TimedWord& part : language.dayParts)
                    for (const QString& join : std::as_const(joins))
                        add({.kind = Lex::weekdayWithPart,
                             .languages = bit,
                             .number = static_cast<int>(index) + 1,
                             .minute = part.hour},
                            list->at(index) + join + part.word.toLower());
            }
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
void Lexicon::addRelativePhrases(const DetectorLanguage& language, LanguageMask bit, const RelativeWords& words) {
    for (qsizetype index = 0; index < words.days.size(); ++index) {
        const QString& phrase = words.days[index];
        const int offset = static_cast<int>(index) - 2;  // from two days back
        if (!phrase.isEmpty()) add({.kind = Lex::relativeDay, .languages = bit, .number = offset}, phrase);
    }
    // Next week is a day a week on, next month the same day a month on.
    const QString nextWeek = words.ahead.value(0);
    if (!nextWeek.isEmpty()) add({.kind = Lex::relativeDay, .languages = bit, .number = 7}, nextWeek);
    const QString nextMonth = words.ahead.value(1);
    if (!nextMonth.isEmpty()) add({.kind = Lex::relativeMonth, .languages = bit, .number = 1}, nextMonth);
    const WeekdayMode modes[RelativeWords::kDirections] = {WeekdayMode::fromToday, nextWeekdayMode(language),
                                                           WeekdayMode::past};
    for (int weekday = 1; weekday <= 7; ++weekday) {
        QStringList seen;  // Danish says "på onsdag" for this and for next Wednesday: it stays "this"
        for (int direction = 0; direction < RelativeWords::kDirections; ++direction) {
            const QString phrase = words.weekdays.value((weekday - 1) * RelativeWords::kDirections + direction);
            if (phrase.isEmpty()) continue;
            const QString key = foldedWord(phrase);
            if (seen.contains(key)) continue;
            seen.append(key);
            add({.kind = Lex::weekdayPhrase, .languages = bit, .number = weekday, .mode = modes[direction]}, phrase);
        }
    }
}

// The cardinal numbers in every form that CLDR's spelled-out number rules
// give (genders, cases): one to twelve as hours and counts, on to sixty and
// the tens as counts ("in twenty minutes", "in ninety days"). They come from
// a table made from those rules, each spelling once.
void Lexicon::addNumberWords(const DetectorLanguage& language, LanguageMask bit) {
    for (const SpelledNumber& spelled : spelledNumbers(language.code))
        add({.kind = Lex::numberWord, .languages = bit, .number = spelled.number}, tableText(spelled.word));
}

// ICU's phrases for spans from now ("in 3 days", "3 gün sonra", "baada ya
// siku 3"), cut into what leads every one of them, what trails every one,
// and the unit words between; and the hand table's additions.
void Lexicon::addSpans(const DetectorLanguage& language, LanguageMask bit, const RelativeWords& words) {
    if (!words.spans.isEmpty()) {
        const Span units[] = {Span::minute, Span::hour, Span::day, Span::week,
                              Span::month};  // as RelativeWords lists them
        struct Written {
            QStringList before, after;  // the words around the count
            QString whole;              // or the whole phrase, when it has no digits
            Span span;
            int count;
        };
        std::vector<Written> phrases;
        std::vector<QStringList> leads, trails;
        qsizetype next = 0;
        for (const Span span : units) {
            for (const int count : RelativeWords::kSpanCounts) {
                const QString phrase = words.spans.value(next++);
                const QString digits = QString::number(count);
                const qsizetype at = phrase.indexOf(digits);
                if (phrase.isEmpty()) continue;
                if (at < 0) {
                    phrases.push_back({{}, {}, phrase, span, count});
                    continue;
                }
                const QStringList before = wordsOf(phrase.left(at)), after = wordsOf(phrase.mid(at + digits.size()));
                phrases.push_back({before, after, {}, span, count});
                leads.push_back(before);
                trails.push_back(after);
            }
        }
        const qsizetype leadWords = commonWords(leads, false), trailWords = commonWords(trails, true);
        const QString lead = leads.empty() ? QString() : joinedWords(leads.front(), 0, leadWords);
        const QString trail =
            trails.empty() ? QString() : joinedWords(trails.front(), trails.front().size() - trailWords, trailWords);
        if (!lead.isEmpty()) add({.kind = Lex::durationLead, .languages = bit}, lead);
        if (!trail.isEmpty()) add({.kind = Lex::durationTrail, .languages = bit}, trail);
        for (const Written& written : phrases) {
            const LexiconEntry span{.kind = Lex::spanWord,
                                    .languages = bit,
                                    .number = static_cast<int>(written.span),
                                    .singular = written.count == 1};
            if (!written.whole.isEmpty()) {
                const QStringList words = wordsOf(written.whole);
                if (leadWords == 0 || words.mid(0, leadWords) != leads.front().mid(0, leadWords)) continue;
                LexiconEntry held = span;
                held.minute = written.count;
                add(held, joinedWords(words, leadWords, words.size() - leadWords));
                continue;
            }
            LexiconEntry before = span;
            before.beforeCount = true;
            add(before, joinedWords(written.before, leadWords, written.before.size() - leadWords));
            add(span, joinedWords(written.after, 0, written.after.size() - trailWords));
        }
    }
    for (const QString& word : language.durationLeads) add({.kind = Lex::durationLead, .languages = bit}, word);
    for (const QString& word : language.durationTrails) add({.kind = Lex::durationTrail, .languages = bit}, word);
    for (const SpanWord& word : language.spanWords)
        add({.kind = Lex::spanWord,
             .languages = bit,
             .number = static_cast<int>(word.span),
             .minute = word.count,
             .beforeCount = word.beforeCount,
             .singular = word.singular},
            word.word);
}

void Lexicon::addGlued(const DetectorLanguage& language, LanguageMask bit) {
    for (const QString& prefix : language.prefixes) {
        prefixes_.emplace_back(foldedWord(prefix), bit);
        prefixed_ |= bit;
    }
    for (const QStringList* list :
         {&language.endings, &language.dayEndings, &language.timeEndings, &language.clockEndings}) {
        for (const QString& ending : *list) {
            const std::optional<QChar> mark = ending.isEmpty() ? std::nullopt : endingMark(ending.front().unicode());
            if (!mark) continue;
            Ending& known = endings_[*mark + foldedWord(ending.mid(1))];
            known.languages |= bit;
            if (list == &language.dayEndings) known.marksDay |= bit;
            if (list == &language.timeEndings || list == &language.clockEndings) known.marksTime |= bit;
            if (list == &language.clockEndings) known.onlyTime |= bit;
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
    for (const QString& word : language.clockMarkers)
        add({.kind = Lex::clockMarker, .languages = bit, .countsFromSix = language.hoursCountFromSix}, word);
    for (const QString& word : language.hourWordsBefore)
        add({.kind = Lex::hourWordBefore, .languages = bit, .countsFromSix = language.hoursCountFromSix}, word);
    addWords(Lex::articleMarker, language.articleMarkers);
    addWords(Lex::timeLead, language.timeLeads);
    addWords(Lex::hourWordAfter, language.hourWordsAfter);
    addWords(Lex::hourWordAfterMarker, language.hourWordsAfterMarker);
    addTimed(Lex::timeWord, language.timeWords);
    addTimed(Lex::dayPart, language.dayParts);
    for (const TimedWord& word : language.tonightWords)
        add({.kind = Lex::tonight,
             .languages = bit,
             .number = word.hour,
             .minute = word.minute,
             .dayOffset = word.dayOffset},
            word.word);
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
    addWords(Lex::oneWord, language.oneWords);
    addWords(Lex::oneAndAHalf, language.oneAndAHalfWords);
    addWords(Lex::spanHalf, language.spanHalves);
    addWords(Lex::dayNumberLead, language.dayNumberLeads);
    addWords(Lex::dayNumberWord, language.dayNumberWords);
    for (const NumberedWord& name : language.numberWords)
        add({.kind = Lex::numberWord, .languages = bit, .number = name.number}, name.word);
    for (const DialWord& dial : language.dialWords)
        add({.kind = dial.beforeHour ? Lex::dialBefore : Lex::dialAfter,
             .languages = bit,
             .minute = dial.minutes,
             .rules = dial.rules},
            dial.word);
    for (const NumberedWord& month : language.relativeMonths)
        add({.kind = Lex::relativeMonth, .languages = bit, .number = month.number}, month.word);
    for (const NumberedWord& weekend : language.weekendWords)
        add({.kind = Lex::weekend, .languages = bit, .number = weekend.number}, weekend.word);
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
    const QString& first = text.tokens()[static_cast<size_t>(tokenIndex)].folded;
    collect(found, text, tokenIndex, first, active);
    // A word with a prefix glued on ("ביום", "במרץ") is the word, in the
    // languages that glue it.
    if (active & prefixed_) {
        for (const auto& [prefix, languages] : prefixes_) {
            if ((languages & active) && first.size() > prefix.size() + 1 && first.startsWith(prefix))
                collect(found, text, tokenIndex, first.mid(prefix.size()), languages & active);
        }
        std::stable_sort(found.begin(), found.end(),
                         [](const LexiconMatch& a, const LexiconMatch& b) { return a.end > b.end; });
    }
    return found;
}

void Lexicon::collect(std::vector<LexiconMatch>& found, const TokenizedText& text, int tokenIndex, const QString& first,
                      LanguageMask active) const {
    const std::vector<Token>& tokens = text.tokens();
    const auto ids = byFirstToken_.constFind(first);
    if (ids == byFirstToken_.constEnd()) return;
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
        qsizetype end = tokens[last].end + entry.trailing.size();
        if (!same || QStringView(text.text()).mid(tokens[last].end, entry.trailing.size()) != entry.trailing ||
            end > text.end())
            continue;
        // A word that ends in a joining mark ("ב-" before "15:15") runs on.
        const bool runsOn = !entry.trailing.isEmpty() && endingMark(entry.trailing.back().unicode());
        if (!runsOn && !text.canEnd(end)) {
            const std::optional<EndingMatch> ending = endingAt(text, end, entry.languages & active);
            if (!ending) continue;
            end = ending->end;
        }
        found.push_back({&entry, end});
    }
}

std::optional<EndingMatch> Lexicon::endingAt(const TokenizedText& text, qsizetype position, LanguageMask active) const {
    if (endings_.isEmpty()) return std::nullopt;
    const std::optional<QChar> mark = endingMark(text.at(position));
    const int token = mark ? text.tokenStartingAt(position + 1) : -1;
    if (token < 0) return std::nullopt;
    const Token& word = text.tokens()[static_cast<size_t>(token)];
    if (word.isNumber || !text.canEnd(word.end)) return std::nullopt;
    const auto known = endings_.constFind(*mark + word.folded);
    if (known == endings_.constEnd() || !(known->languages & active)) return std::nullopt;
    return EndingMatch{word.end, (known->marksDay & active) != 0, (known->marksTime & active) != 0,
                       (known->onlyTime & active) != 0};
}

}  // namespace tavlin::platform::datedetector
