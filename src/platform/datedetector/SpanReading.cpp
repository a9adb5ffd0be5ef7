#include "platform/datedetector/PhraseReader.h"

namespace tavlin::platform::datedetector {

namespace {

// The longest spans read, as the parser's own duration rule reads them.
constexpr int kMostMinutes = 24 * 60;
constexpr int kMostHours = 7 * 24;
constexpr int kMostDays = 366;
constexpr int kMostWeeks = 52;
constexpr int kMostMonths = 24;

// A span and a half holds only whole minutes of hours: "an hour and a half",
// not "a day and a half".
std::optional<Atom> spanAtom(qsizetype start, qsizetype end, Span span, int count, bool half) {
    Atom atom{.kind = Atom::Kind::day, .start = start, .end = end};
    if (half) {
        if (span != Span::hour || count >= kMostHours) return std::nullopt;
        atom.kind = Atom::Kind::span;
        atom.minutesAhead = count * 60 + 30;
        return atom;
    }
    switch (span) {
    case Span::minute:
    case Span::hour:
        if (count > (span == Span::minute ? kMostMinutes : kMostHours)) return std::nullopt;
        atom.kind = Atom::Kind::span;
        atom.minutesAhead = span == Span::minute ? count : count * 60;
        return atom;
    case Span::day:
    case Span::week:
        if (count > (span == Span::day ? kMostDays : kMostWeeks)) return std::nullopt;
        atom.day = WrittenDay{.kind = WrittenDay::Kind::relative, .offset = span == Span::day ? count : count * 7};
        return atom;
    case Span::month:
        if (count > kMostMonths) return std::nullopt;
        atom.day = WrittenDay{.kind = WrittenDay::Kind::monthsAhead, .offset = count};
        return atom;
    }
    return std::nullopt;
}

}  // namespace

std::optional<PhraseReader::Count> PhraseReader::countAt(qsizetype position, bool asHour) const {
    if (text_.isDigitAt(position)) {
        int value = 0;
        const int digits = text_.digitsAt(position, &value, 3);
        if (digits > (asHour ? 2 : 3)) return std::nullopt;
        const qsizetype digitsEnd = position + digits;
        if (endsCleanly(digitsEnd)) return Count{.value = value, .end = digitsEnd};
        const std::optional<EndingMatch> ending = lexicon_.endingAt(text_, digitsEnd, active_);
        if (!ending) return std::nullopt;
        return Count{.value = value, .end = ending->end, .timeEnding = ending->marksTime};
    }
    std::optional<LexiconMatch> number = word(position, Lex::numberWord);
    if (!number && !asHour) number = word(position, Lex::oneWord);
    if (!number && !asHour) number = word(position, Lex::oneAndAHalf);
    if (!number) return std::nullopt;
    const Lex kind = number->entry->kind;
    const int value = kind == Lex::numberWord ? number->entry->number : 1;
    return Count{.value = value,
                 .end = number->end,
                 .inWords = true,
                 .half = kind == Lex::oneAndAHalf,
                 .languages = number->entry->languages};
}

bool PhraseReader::followsACount(qsizetype position) const {
    const int token = text_.tokenStartingAt(position);
    if (token <= 0) return false;
    const Token& previous = text_.tokens()[static_cast<size_t>(token - 1)];
    if (text_.skipBlanks(previous.end) != position) return false;
    return previous.isNumber || word(previous.start, Lex::numberWord) || word(previous.start, Lex::oneWord);
}

std::optional<LexiconMatch> PhraseReader::spanWordAt(qsizetype position, bool beforeCount,
                                                     LanguageMask languages) const {
    const int token = text_.tokenStartingAt(position);
    if (token < 0) return std::nullopt;
    for (const LexiconMatch& match : words_[static_cast<size_t>(token)]) {
        const LexiconEntry& entry = *match.entry;
        if (entry.kind == Lex::spanWord && entry.beforeCount == beforeCount && (entry.languages & languages))
            return match;
    }
    return std::nullopt;
}

// "in 3 days", "dans deux heures", "3 gün sonra", "kolmen päivän päästä",
// "baada ya siku tatu", "za godzinę": what leads or trails a span, its count
// and its unit, all of one language.
std::optional<Atom> PhraseReader::spanAt(qsizetype position) const {
    LanguageMask languages = active_;
    qsizetype at = position;
    const std::optional<LexiconMatch> lead = word(position, Lex::durationLead);
    if (lead && followsACount(position)) return std::nullopt;  // Romanian "din două în două săptămâni" is a cadence
    if (lead) {
        const std::optional<qsizetype> next = afterWord(*lead);
        if (!next) return std::nullopt;
        languages &= lead->entry->languages;
        at = *next;
    }
    std::optional<LexiconMatch> unit = spanWordAt(at, true, languages);
    if (unit) {
        const std::optional<qsizetype> next = afterBlanks(unit->end);
        if (!next) return std::nullopt;
        at = *next;
    }
    std::optional<Count> count = countAt(at, false);
    if (count) {
        languages &= count->languages;
        if (!unit) {
            // Italian "un'ora": a count that ends in its apostrophe runs on.
            const bool elided = count->inWords && text_.tokenStartingAt(count->end) >= 0;
            std::optional<qsizetype> next = elided ? std::optional(count->end) : afterBlanks(count->end);
            if (!next) return std::nullopt;
            // Turkish "bir buçuk saat": the half between the count and its unit.
            if (const std::optional<LexiconMatch> half = count->half ? std::nullopt : word(*next, Lex::spanHalf);
                half && (half->entry->languages & languages)) {
                languages &= half->entry->languages;
                count->half = true;
                next = afterBlanks(half->end);
                if (!next) return std::nullopt;
            }
            at = *next;
        }
    }
    if (!unit) unit = spanWordAt(at, false, languages);
    if (!unit) return std::nullopt;
    languages &= unit->entry->languages;
    qsizetype end = unit->entry->beforeCount ? (count ? count->end : unit->end) : unit->end;
    bool half = count && count->half;
    // "une heure et demie", "saa moja na nusu": the half after the unit.
    if (const std::optional<qsizetype> next = half ? std::nullopt : afterBlanks(end)) {
        if (const std::optional<LexiconMatch> more = word(*next, Lex::spanHalf);
            more && (more->entry->languages & languages)) {
            languages &= more->entry->languages;
            half = true;
            end = more->end;
        }
    }
    bool trailed = false;
    if (const std::optional<qsizetype> next = afterBlanks(end)) {
        if (const std::optional<LexiconMatch> trail = word(*next, Lex::durationTrail);
            trail && (trail->entry->languages & languages)) {
            languages &= trail->entry->languages;
            end = trail->end;
            trailed = true;
        }
    }
    if ((!lead && !trailed) || !languages) return std::nullopt;
    const LexiconEntry& span = *unit->entry;
    int amount = 0;
    if (span.minute > 0 && !count) amount = span.minute;  // Hebrew "יומיים"
    else if (count && span.minute == 0) amount = count->value;
    else if (!count && span.singular && (lexicon_.leavesCountOut() & languages)) amount = 1;
    if (amount < 1) return std::nullopt;
    return spanAtom(position, end, static_cast<Span>(span.number), amount, half);
}

}  // namespace tavlin::platform::datedetector
