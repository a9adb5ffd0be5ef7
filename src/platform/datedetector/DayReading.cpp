#include "platform/datedetector/PhraseReader.h"

namespace tavlin::platform::datedetector {

namespace {

Atom weekdayAtom(qsizetype start, qsizetype end, int weekday, WeekdayMode mode) {
    return {.kind = Atom::Kind::day,
            .start = start,
            .end = end,
            .day = WrittenDay{.kind = WrittenDay::Kind::weekday, .weekday = weekday, .mode = mode},
            .suppressed = mode == WeekdayMode::past};
}

std::optional<Atom> calendarAtom(qsizetype start, qsizetype end, std::optional<int> year, int month, int day) {
    if (month < 1 || month > 12 || day < 1 || day > 31 || (year && (*year < 1 || *year > 9999))) return std::nullopt;
    return Atom{.kind = Atom::Kind::day,
                .start = start,
                .end = end,
                .day = WrittenDay{.kind = WrittenDay::Kind::calendarDate, .year = year, .month = month, .day = day}};
}

}  // namespace

void keepLonger(std::optional<Atom>& best, std::optional<Atom> candidate) {
    if (candidate && (!best || candidate->end > best->end)) best = std::move(candidate);
}

std::optional<Atom> PhraseReader::dayAt(qsizetype position) const {
    if (text_.isDigitAt(position)) {
        std::optional<Atom> best = calendarDateAt(position);
        keepLonger(best, dayOfMonthAt(position));
        return best;
    }
    std::optional<Atom> best = relativeDayAt(position);
    keepLonger(best, weekdayAt(position));
    keepLonger(best, monthFirstDateAt(position));
    keepLonger(best, dayOfMonthAt(position));
    return best;
}

// A day of the month alone, where the language marks it as one: a lead
// word ("am 15.", "le 15", which the parser takes away as a marker), a day
// word ("dia 15", "tarehe 15", part of the phrase) or an ending ("15-én",
// "15'inde").
std::optional<Atom> PhraseReader::dayOfMonthAt(qsizetype position) const {
    qsizetype numberStart = position;
    qsizetype start = position;
    std::optional<LexiconMatch> lead = word(position, Lex::dayNumberWord);
    const bool inPhrase = lead.has_value();
    if (!lead) lead = word(position, Lex::dayNumberLead);
    if (lead) {
        const std::optional<qsizetype> next = afterWord(*lead);
        if (!next) return std::nullopt;
        // "dia 12 de março" with its day word; "am 12. März" is the date's alone.
        if (std::optional<Atom> date = calendarDateAt(*next)) {
            if (!inPhrase) return std::nullopt;
            date->start = position;
            return date;
        }
        numberStart = *next;
        if (!inPhrase) start = *next;
    }
    // Not "le 1er" (an ordinal) nor "do 17:00" (a time).
    const std::optional<DayNumber> number = dayNumberAt(numberStart);
    if (!number || (!lead && !number->marked) || ordinalNumberAt(numberStart) || !endsCleanly(number->end))
        return std::nullopt;
    const std::optional<qsizetype> next = afterBlanks(number->end);
    if (next && word(*next, Lex::hourWordAfter)) return std::nullopt;  // "am 15 Uhr" is no day
    return Atom{.kind = Atom::Kind::day,
                .start = start,
                .end = number->end,
                .day = WrittenDay{.kind = WrittenDay::Kind::dayOfMonth, .day = number->day}};
}

// "on the 5th", "due the 21st", "5th": the day number with up to two
// connector words before it, as the parser's ordinal rule reads it.
std::optional<Atom> PhraseReader::ordinalAt(qsizetype position) const {
    qsizetype at = position;
    for (int connectors = 0;; ++connectors) {
        if (const std::optional<DayNumber> number = ordinalNumberAt(at))
            return Atom{.kind = Atom::Kind::ordinal,
                        .start = position,
                        .end = number->end,
                        .day = WrittenDay{.kind = WrittenDay::Kind::dayOfMonth, .day = number->day}};
        if (connectors == 2) return std::nullopt;
        const std::optional<LexiconMatch> connector = word(at, Lex::ordinalConnector);
        const std::optional<qsizetype> next = connector ? afterBlanks(connector->end) : std::nullopt;
        if (!next) return std::nullopt;
        at = *next;
    }
}

std::optional<Atom> PhraseReader::relativeDayAt(qsizetype position) const {
    std::optional<Atom> found;
    if (const std::optional<LexiconMatch> relative = word(position, Lex::relativeDay)) {
        const int offset = relative->entry->number;
        const Atom atom{.kind = Atom::Kind::day,
                        .start = position,
                        .end = relative->end,
                        .day = WrittenDay{.kind = WrittenDay::Kind::relative, .offset = offset},
                        .past = offset < 0};
        found = atom.past ? atom : withDayPart(atom);
    }
    if (const std::optional<LexiconMatch> tonight = word(position, Lex::tonight))
        keepLonger(found,
                   Atom{.kind = Atom::Kind::day,
                        .start = position,
                        .end = tonight->end,
                        .day = WrittenDay{.kind = WrittenDay::Kind::relative, .offset = tonight->entry->dayOffset},
                        .time = WrittenTime{.hour = tonight->entry->number, .minute = tonight->entry->minute},
                        .partOfDay = true});
    for (const auto& [kind, dayKind] : {std::pair{Lex::relativeMonth, WrittenDay::Kind::monthsAhead},
                                        std::pair{Lex::weekend, WrittenDay::Kind::weekend}}) {
        if (const std::optional<LexiconMatch> period = word(position, kind))
            keepLonger(found, Atom{.kind = Atom::Kind::day,
                                   .start = position,
                                   .end = period->end,
                                   .day = WrittenDay{.kind = dayKind, .offset = period->entry->number}});
    }
    return found;
}

// ICU's whole phrases ("next Wednesday", "w przyszłą środę"), a modifier
// before a weekday ("next friday"), or a weekday with what follows it.
std::optional<Atom> PhraseReader::weekdayAt(qsizetype position) const {
    std::optional<Atom> phrase;
    if (const std::optional<LexiconMatch> whole = word(position, Lex::weekdayPhrase))
        phrase = weekdayAtom(position, whole->end, whole->entry->number, whole->entry->mode);
    std::optional<Atom> modified;
    const std::optional<LexiconMatch> modifier = word(position, Lex::weekdayModifier);
    if (modifier && !modifier->entry->followsWeekday) {
        if (const std::optional<qsizetype> next = afterBlanks(modifier->end)) {
            if (const std::optional<LexiconMatch> name = word(*next, Lex::weekday))
                modified = weekdayAtom(position, name->end, name->entry->number, modifier->entry->mode);
        }
    }
    keepLonger(phrase, std::move(modified));
    if (phrase && !phrase->suppressed) phrase = withDayPart(*phrase);
    keepLonger(phrase, namedWeekdayAt(position));
    if (const std::optional<LexiconMatch> glued = word(position, Lex::weekdayWithPart)) {
        Atom atom = weekdayAtom(position, glued->end, glued->entry->number, WeekdayMode::fromToday);
        atom.time = WrittenTime{.hour = glued->entry->minute};
        atom.partOfDay = true;
        keepLonger(phrase, atom);
    }
    return phrase;
}

qsizetype PhraseReader::afterAbbreviationDot(qsizetype end) const {
    return text_.at(end) == '.' && text_.canEnd(end + 1) ? end + 1 : end;
}

std::optional<Atom> PhraseReader::namedWeekdayAt(qsizetype position) const {
    const std::optional<LexiconMatch> name = word(position, Lex::weekday);
    if (!name) return std::nullopt;
    const int weekday = name->entry->number;
    const qsizetype end = afterAbbreviationDot(name->end);
    if (const std::optional<qsizetype> next = afterBlanks(end)) {
        const std::optional<LexiconMatch> modifier = word(*next, Lex::weekdayModifier);
        if (modifier && modifier->entry->followsWeekday) {  // "vendredi prochain"
            const Atom atom = weekdayAtom(position, modifier->end, weekday, modifier->entry->mode);
            return atom.suppressed ? atom : withDayPart(atom);
        }
    }
    // "Tue 25 Aug", "Friday, 21 August", "Friday the 21st": the date decides.
    if (const std::optional<qsizetype> next = afterBlanks(text_.at(end) == ',' ? end + 1 : end)) {
        if (std::optional<Atom> date = calendarDateAt(*next)) {
            date->start = position;
            return date;
        }
        const std::optional<LexiconMatch> joiner = word(*next, Lex::weekdayDateJoiner);
        const std::optional<qsizetype> numberStart = joiner ? afterBlanks(joiner->end) : std::nullopt;
        if (const std::optional<DayNumber> ordinal = numberStart ? ordinalNumberAt(*numberStart) : std::nullopt)
            return Atom{.kind = Atom::Kind::day,
                        .start = position,
                        .end = ordinal->end,
                        .day = WrittenDay{.kind = WrittenDay::Kind::dayOfMonth, .day = ordinal->day}};
        // "martes 17", "vendredi 6": the day of the month that falls on that weekday.
        const std::optional<DayNumber> number = dayNumberAt(*next);
        const std::optional<qsizetype> afterNumber = number ? afterBlanks(number->end) : std::nullopt;
        const bool hourFollows =
            afterNumber && (word(*afterNumber, Lex::hourWordAfter) || word(*afterNumber, Lex::dialAfter));
        if (number && endsCleanly(number->end) && !hourFollows)
            return Atom{
                .kind = Atom::Kind::day,
                .start = position,
                .end = number->end,
                .day = WrittenDay{.kind = WrittenDay::Kind::dayOfMonth, .weekday = weekday, .day = number->day}};
    }
    Atom atom = weekdayAtom(position, end, weekday, WeekdayMode::fromToday);
    atom.needsCompanion = name->entry->needsCompanion;
    return withDayPart(atom);
}

// "tomorrow morning", "vrijdag avond", "mañana por la tarde".
Atom PhraseReader::withDayPart(Atom atom) const {
    const std::optional<LexiconMatch> part = partOfDayAfter(atom.end);
    if (!part) return atom;
    atom.end = part->end;
    atom.time = WrittenTime{.hour = part->entry->number, .minute = part->entry->minute};
    atom.needsCompanion = false;
    atom.partOfDay = true;
    return atom;
}

std::optional<Atom> PhraseReader::calendarDateAt(qsizetype position) const {
    std::optional<Atom> best = numericDateAt(position);
    keepLonger(best, dayFirstDateAt(position));
    keepLonger(best, monthFirstDateAt(position));
    return best;
}

// "25 Aug 2026", "20. August", "20 de agosto de 2026", "20th of August".
std::optional<Atom> PhraseReader::dayFirstDateAt(qsizetype position) const {
    const std::optional<DayNumber> number = dayNumberAt(position);
    const std::optional<qsizetype> next = number && !number->ended ? afterBlanks(number->end) : std::nullopt;
    if (!next) return std::nullopt;
    qsizetype monthStart = *next;
    if (const std::optional<LexiconMatch> joiner = word(monthStart, Lex::dateJoiner))
        monthStart = afterBlanks(joiner->end).value_or(monthStart);
    const std::optional<LexiconMatch> month = word(monthStart, Lex::month);
    if (!month) return std::nullopt;
    qsizetype end = afterAbbreviationDot(month->end);
    const std::optional<int> year = yearAfter(&end);
    return calendarAtom(position, end, year, month->entry->number, number->day);
}

// "aug 20", "August 20th, 2026".
std::optional<Atom> PhraseReader::monthFirstDateAt(qsizetype position) const {
    const std::optional<LexiconMatch> month = word(position, Lex::month);
    if (!month) return std::nullopt;
    qsizetype end = afterAbbreviationDot(month->end);
    const std::optional<qsizetype> next = afterBlanks(end);
    const std::optional<DayNumber> number = next ? dayNumberAt(*next) : std::nullopt;
    if (!number) return std::nullopt;
    end = number->end;
    const std::optional<int> year = yearAfter(&end);
    return calendarAtom(position, end, year, month->entry->number, number->day);
}

// "12/5", "12/5/26", "5.12.", "5.12.2026", "19-09-2026", "2026/09/19" and
// the ISO form. Without a year a dotted date needs its closing dot, and a
// dashed one is no date ("3.12" and "5-12" are versions and ranges), unless
// a language in use writes its dates so: German "15.04", Dutch "15-4",
// Hungarian "04.15-én" with the month first.
std::optional<Atom> PhraseReader::numericDateAt(qsizetype position) const {
    int first = 0;
    const int firstDigits = text_.digitsAt(position, &first, 4);
    const qsizetype separatorAt = position + firstDigits;
    const char16_t separator = text_.at(separatorAt);
    if (firstDigits == 4 && separator == '-') return isoDateAt(position, first);
    if (separator != '/' && separator != '.' && separator != '-') return std::nullopt;
    const bool yearFirst = firstDigits == 4 && separator == '/';
    if (!yearFirst && (firstDigits < 1 || firstDigits > 2)) return std::nullopt;
    int second = 0;
    const int secondDigits = text_.digitsAt(separatorAt + 1, &second, 2);
    if (secondDigits < 1 || secondDigits > 2) return std::nullopt;
    qsizetype end = separatorAt + 1 + secondDigits;
    int third = 0;
    int thirdDigits = 0;
    const bool closed = text_.at(end) == separator;
    if (closed) {
        thirdDigits = text_.digitsAt(end + 1, &third, 4);
        end += 1 + thirdDigits;
    }
    // A case ending glued on ("04.15-én", "15.04'te") where the date has
    // no year; one that only follows clock times makes it a time ("10.30-kor").
    std::optional<EndingMatch> ending;
    if (!endsCleanly(end)) {
        ending = thirdDigits == 0 && !yearFirst ? lexicon_.endingAt(text_, end, active_) : std::nullopt;
        if (!ending || ending->onlyTime) return std::nullopt;
    }
    if (yearFirst) {
        if (thirdDigits < 1 || thirdDigits > 2) return std::nullopt;
        return calendarAtom(position, end, first, second, third);
    }
    std::optional<int> year;
    bool loose = false;
    if (thirdDigits == 4) year = third;
    else if (thirdDigits == 2 && separator == '/') year = 2000 + third;
    else if (thirdDigits != 0) return std::nullopt;
    else if (separator != (closed ? '.' : '/')) {
        loose = !closed && looseDayMonth(separator, firstDigits, secondDigits, ending ? ending->end : end);
        if (!loose) return std::nullopt;
    }
    if (ending) end = ending->end;
    bool monthFirst =
        separator == '/' ? order_ == NumericDateOrder::monthDayYear : (lexicon_.writesMonthFirst() & active_) != 0;
    if (monthFirst && first > 12 && second <= 12) monthFirst = false;
    std::optional<Atom> atom = monthFirst ? calendarAtom(position, end, year, first, second)
                                          : calendarAtom(position, end, year, second, first);
    if (atom) atom->looseDate = loose;
    return atom;
}

// A day and month joined by a mark that a language in use writes them with,
// not both of one digit ("1.5" is a number) and no hour word after them
// ("15.04 Uhr" is a time).
bool PhraseReader::looseDayMonth(char16_t mark, int firstDigits, int secondDigits, qsizetype end) const {
    if (!(lexicon_.writesDayMonthWith(mark) & active_) || (firstDigits == 1 && secondDigits == 1)) return false;
    const std::optional<qsizetype> next = afterBlanks(end);
    return !(next && word(*next, Lex::hourWordAfter));
}

// "2026-09-19", "2026-09-19T17:00", "2026-09-19T15:00:00Z", and the date
// with its designator alone ("2026-09-19T") once the time is blanked out.
std::optional<Atom> PhraseReader::isoDateAt(qsizetype position, int year) const {
    int month = 0;
    int day = 0;
    const qsizetype monthAt = position + 5;
    const int monthDigits = text_.digitsAt(monthAt, &month, 2);
    const qsizetype dashAt = monthAt + monthDigits;
    if (monthDigits < 1 || monthDigits > 2 || text_.at(dashAt) != '-') return std::nullopt;
    const int dayDigits = text_.digitsAt(dashAt + 1, &day, 2);
    if (dayDigits < 1 || dayDigits > 2) return std::nullopt;
    const qsizetype end = dashAt + 1 + dayDigits;
    std::optional<Atom> atom = calendarAtom(position, end, year, month, day);
    if (!atom) return std::nullopt;
    if (text_.at(end) != 'T' && text_.at(end) != 't') return endsCleanly(end) ? atom : std::nullopt;
    const std::optional<ClockPart> time = clockPartAt(end + 1, false);
    if (time && time->form == ClockPart::Form::colon && !time->pm) {
        WrittenTime written{.hour = time->hour, .minute = time->minute, .second = time->second};
        qsizetype after = time->end;
        readStatedZone(&after, &written, true);
        if (endsCleanly(after)) {
            atom->time = written;
            atom->end = after;
            return atom;
        }
    }
    if (!text_.canEnd(end + 1)) return std::nullopt;
    atom->end = end + 1;
    return atom;
}

std::optional<DayNumber> PhraseReader::dayNumberAt(qsizetype position) const {
    int day = 0;
    const int digits = text_.digitsAt(position, &day, 2);
    if (digits < 1 || digits > 2 || day < 1 || day > 31) return std::nullopt;
    const qsizetype end = position + digits;
    if (const std::optional<LexiconMatch> suffix = word(end, Lex::ordinalSuffix)) return DayNumber{day, suffix->end};
    if (text_.at(end) == '.' && !text_.isDigitAt(end + 1) && text_.canEnd(end + 1)) return DayNumber{day, end + 1};
    if (const std::optional<EndingMatch> ending = lexicon_.endingAt(text_, end, active_))
        return DayNumber{day, ending->end, ending->marksDay, true};
    if (text_.canEnd(end)) return DayNumber{day, end};
    return std::nullopt;
}

std::optional<DayNumber> PhraseReader::ordinalNumberAt(qsizetype position) const {
    int day = 0;
    const int digits = text_.digitsAt(position, &day, 2);
    if (digits < 1 || digits > 2 || day < 1 || day > 31) return std::nullopt;
    const std::optional<LexiconMatch> suffix = word(position + digits, Lex::ordinalSuffix);
    if (!suffix) return std::nullopt;
    return DayNumber{day, suffix->end};
}

// ", 2026", " 2026", " de 2026" after a day and month; moves `position` past it.
std::optional<int> PhraseReader::yearAfter(qsizetype* position) const {
    const std::optional<qsizetype> next = afterBlanks(text_.at(*position) == ',' ? *position + 1 : *position);
    if (!next) return std::nullopt;
    qsizetype yearStart = *next;
    if (const std::optional<LexiconMatch> joiner = word(yearStart, Lex::dateJoiner))
        yearStart = afterBlanks(joiner->end).value_or(yearStart);
    int year = 0;
    const std::optional<qsizetype> end =
        text_.digitsAt(yearStart, &year, 4) == 4 ? numberEnd(yearStart + 4) : std::nullopt;  // "2026'da"
    if (!end) return std::nullopt;
    *position = *end;
    return year;
}

}  // namespace tavlin::platform::datedetector
