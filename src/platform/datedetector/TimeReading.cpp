#include "platform/datedetector/PhraseReader.h"

#include "platform/Text.h"

#include <cstdlib>

namespace tavlin::platform::datedetector {

namespace {

constexpr int kSecondsPerDay = 24 * 60 * 60;

bool isRangeDash(char16_t c) { return c == '-' || c == 0x2013 || c == 0x2014; }

int secondOfDay(const ClockPart& part) { return part.hourOfDay() * 3600 + part.minute * 60 + part.second; }

// A time said without its half of the day: the hour as written stays on
// the dial, and until a part of the day says otherwise it is read as
// ClockPart::hourOfDay reads it.
WrittenTime onTheDial(int hour, int minute, bool oneDigitHour) {
    const ClockPart part{.hour = hour, .minute = minute, .oneDigitHour = oneDigitHour};
    WrittenTime time{.hour = part.hourOfDay(), .minute = minute};
    if (hour >= 1 && hour <= 12 && (oneDigitHour || hour >= 10)) {
        time.dialHour = hour;
        time.afternoonGuessed = time.hour != hour;
    }
    return time;
}

WrittenTime timeOf(const ClockPart& part) {
    if (!part.pm) {
        WrittenTime time = onTheDial(part.hour, part.minute, part.oneDigitHour);
        time.second = part.second;
        return time;
    }
    return {.hour = part.hourOfDay(), .minute = part.minute, .second = part.second};
}

// Minutes from a dial hour ("halb 5" is 5 and -30) back on the dial: 4:30.
WrittenTime aroundTheHour(int hour, int minutes) {
    const int onDial = ((hour * 60 + minutes) % 720 + 720) % 720;
    const int dialHour = onDial / 60 == 0 ? 12 : onDial / 60;
    return onTheDial(dialHour, onDial % 60, true);
}

// Swahili hours count from six: "saa tisa" is three o'clock, in the
// afternoon unless a part of the day says otherwise, and "saa moja"
// seven in the morning.
WrittenTime countedFromSix(WrittenTime time) {
    if (!time.dialHour) return time;
    const int hour = (*time.dialHour + 6) % 12 == 0 ? 12 : (*time.dialHour + 6) % 12;
    time.dialHour = hour;
    time.hour = hour <= 6 ? hour + 12 : hour;
    time.afternoonGuessed = false;
    return time;
}

QString gmtIdentifier(int offsetSeconds) {
    const int minutes = std::abs(offsetSeconds) / 60;
    return QStringLiteral("GMT%1%2:%3")
        .arg(offsetSeconds < 0 ? QLatin1Char('-') : QLatin1Char('+'))
        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace

int ClockPart::hourOfDay() const {
    if (pm) return hour % 12 + (*pm ? 12 : 0);
    if (oneDigitHour && hour >= 1 && hour <= 5) return hour + 12;
    return hour;
}

WrittenTime placedInPartOfDay(WrittenTime time, int partHour) {
    if (!time.dialHour) return time;
    const int hour = *time.dialHour % 12;
    constexpr int kNoon = 12, kEvening = 19, kNight = 21, kEarliestOfNight = 6;
    if (partHour < kNoon) {
        time.hour = hour == 0 ? kNoon : hour;
    } else if (hour == 0) {
        time.hour = partHour >= kEvening ? 0 : kNoon;
        time.midnight = partHour >= kEvening;
    } else if (partHour >= kNight && hour < kEarliestOfNight) {
        time.hour = hour;
        time.nextDay = true;
    } else {
        time.hour = hour + 12;
    }
    time.dialHour.reset();
    time.afternoonGuessed = false;
    return time;
}

// A part of the day after the blanks that follow `end`, with the words that
// lead to it ("in the", "por la", "'s").
std::optional<LexiconMatch> PhraseReader::partOfDayAfter(qsizetype end) const {
    std::optional<qsizetype> next = afterBlanks(end);
    if (!next) return std::nullopt;
    if (isApostrophe(text_.at(*next))) ++*next;  // Dutch "'s avonds"
    if (std::optional<LexiconMatch> part = word(*next, Lex::dayPart)) return part;
    const std::optional<LexiconMatch> lead = word(*next, Lex::dayPartLead);
    const std::optional<qsizetype> afterLead = lead ? afterWord(*lead) : std::nullopt;
    return afterLead ? word(*afterLead, Lex::dayPart) : std::nullopt;
}

std::optional<Atom> PhraseReader::timeAt(qsizetype position) const {
    // A part of the day before a time places it ("abends um 8", "akşam 8'de",
    // "este 8-kor"), unless its word is also a day ("morgen um 8").
    const std::optional<LexiconMatch> part = word(position, Lex::dayPart);
    if (part && (part->entry->languages & lexicon_.partsLeadTimes() & active_) && !word(position, Lex::relativeDay)) {
        const std::optional<qsizetype> next = afterBlanks(part->end);
        std::optional<Atom> time = next ? timeAt(*next) : std::nullopt;
        if (time && time->time->dialHour) {
            time->time = placedInPartOfDay(*time->time, part->entry->number);
            time->start = position;
            time->needsPartOfDay = false;
            return time;
        }
    }
    qsizetype core = position;
    bool afterLead = false;
    bool afterMarker = false;  // a clock marker stands right before the time
    bool fromSix = false;
    bool afterArticle = false;
    if (const std::optional<LexiconMatch> lead = word(position, Lex::timeLead)) {
        if (const std::optional<qsizetype> next = afterWord(*lead)) {
            core = *next;
            afterLead = true;
        }
    }
    if (const std::optional<LexiconMatch> marker = word(core, Lex::clockMarker)) {
        if (const std::optional<qsizetype> next = afterWord(*marker)) {
            const std::optional<LexiconMatch> article = word(core, Lex::articleMarker);
            afterArticle = article && article->end == marker->end;
            core = *next;
            afterLead = afterMarker = true;
            fromSix = marker->entry->countsFromSix;
        }
    }
    if (const std::optional<LexiconMatch> hourWord = word(core, Lex::hourWordBefore)) {
        if (const std::optional<qsizetype> next = afterBlanks(hourWord->end)) {
            core = *next;
            afterLead = true;
            afterMarker = false;
            fromSix = fromSix || hourWord->entry->countsFromSix;
        }
    }
    qsizetype end = 0;
    bool rulesRead = false;
    std::optional<WrittenTime> time;
    if (text_.isDigitAt(core)) {
        // "at 5 Aug": the date wins, but not a loose one over a time ("um 15.04").
        if (afterLead) {
            const std::optional<Atom> day = dayAt(core);
            if (day && !(afterMarker && day->looseDate)) return std::nullopt;
        }
        time = writtenTimeAt(core, afterMarker, &end);
        if (!time) time = hourAt(core, afterLead, afterMarker, &end, afterArticle);
    } else {
        time = dialAt(core, afterMarker, &end, &rulesRead);
        if (!time) time = hourAt(core, afterLead, afterMarker, &end, afterArticle);
        if (!time && (!afterLead || afterMarker)) {
            if (const std::optional<LexiconMatch> timeWord = word(core, Lex::timeWord)) {
                const bool midnight = timeWord->entry->number == kMidnight;
                time = WrittenTime{.hour = midnight ? 0 : timeWord->entry->number,
                                   .minute = timeWord->entry->minute,
                                   .midnight = midnight,
                                   .rollsForward = true};
                end = timeWord->end;
            }
        }
    }
    if (!time) return std::nullopt;
    readDialAfter(&*time, &end, &rulesRead, afterMarker);
    if (fromSix) *time = countedFromSix(*time);
    return withTrailingPartOfDay(
        Atom{.kind = Atom::Kind::time, .start = position, .end = end, .time = time, .needsPartOfDay = rulesRead});
}

// "quarter past 3", "halb 5", "wpół do piątej": a dial word and the hour it
// counts from.
std::optional<WrittenTime> PhraseReader::dialAt(qsizetype position, bool afterMarker, qsizetype* end,
                                                bool* rulesRead) const {
    const std::optional<LexiconMatch> dial = word(position, Lex::dialBefore);
    const std::optional<qsizetype> next = dial ? afterWord(*dial) : std::nullopt;
    const std::optional<Count> hour = next ? countAt(*next, true) : std::nullopt;
    if (!hour || hour->value < 1 || hour->value > 12) return std::nullopt;
    const ReadByRules rules = dial->entry->rules;
    *rulesRead = rules == ReadByRules::always || (rules == ReadByRules::afterMarker && afterMarker);
    *end = hour->end;
    WrittenTime time = aroundTheHour(hour->value, dial->entry->minute);
    time.rollsForward = true;
    return time;
}

// "4 y media", "3h et quart", "tisa na nusu": a whole hour and the dial
// word after it.
void PhraseReader::readDialAfter(WrittenTime* time, qsizetype* end, bool* rulesRead, bool afterMarker) const {
    if (time->minute != 0 || time->durationSeconds != 0 || time->midnight) return;
    const std::optional<qsizetype> next = afterBlanks(*end);
    const std::optional<LexiconMatch> dial = next ? word(*next, Lex::dialAfter) : std::nullopt;
    if (!dial) return;
    const ReadByRules rules = dial->entry->rules;
    *rulesRead = *rulesRead || rules == ReadByRules::always || (rules == ReadByRules::afterMarker && afterMarker);
    const bool rollsForward = time->rollsForward;
    if (time->dialHour) {
        *time = aroundTheHour(*time->dialHour, dial->entry->minute);
    } else {
        const int minutes = time->hour * 60 + dial->entry->minute;
        if (minutes < 0 || minutes >= 24 * 60) return;
        *time = WrittenTime{.hour = minutes / 60, .minute = minutes % 60};
    }
    time->rollsForward = rollsForward;
    *end = dial->end;
}

// "8 Uhr abends", "at 7 in the evening", "alle 8 di sera", "om 8 uur 's
// avonds": the part of the day after a time places it.
Atom PhraseReader::withTrailingPartOfDay(Atom atom) const {
    if (!atom.time->dialHour) return atom;
    const std::optional<LexiconMatch> part = partOfDayAfter(atom.end);
    if (!part) return atom;
    atom.time = placedInPartOfDay(*atom.time, part->entry->number);
    atom.end = part->end;
    atom.needsPartOfDay = false;
    return atom;
}

// The forms that state a time by themselves, and ranges of them. A dotted
// time needs minutes above 12 ("14.45"; "3.12" is a date) unless a clock
// marker stands before it ("at 9.05").
std::optional<WrittenTime> PhraseReader::writtenTimeAt(qsizetype position, bool afterMarker, qsizetype* end) const {
    const std::optional<ClockPart> start = clockPartAt(position, afterMarker);
    if (!start) return std::nullopt;
    const qsizetype dash = text_.skipBlanks(start->end);
    if (isRangeDash(text_.at(dash))) {
        const std::optional<ClockPart> finish = clockPartAt(text_.skipBlanks(dash + 1), false);
        if (finish && finish->isWritten() && (start->isWritten() || finish->pm) && endsCleanly(finish->end)) {
            ClockPart first = *start;
            // "5-6pm": the meridiem at the end counts for the start when the start then comes first.
            if (!first.pm && finish->pm && first.hour >= 1 && first.hour <= 12) {
                ClockPart withMeridiem = first;
                withMeridiem.pm = finish->pm;
                if (secondOfDay(withMeridiem) <= secondOfDay(*finish)) first = withMeridiem;
            }
            WrittenTime time = timeOf(first);
            const int duration = secondOfDay(*finish) - secondOfDay(first);
            time.durationSeconds = duration > 0 ? duration : duration + kSecondsPerDay;
            *end = finish->end;
            return time;
        }
    }
    if (!start->isWritten()) return std::nullopt;
    WrittenTime time = timeOf(*start);
    qsizetype after = start->end;
    if (start->form == ClockPart::Form::colon || start->pm) readStatedZone(&after, &time, false);
    const std::optional<qsizetype> ending = numberEnd(after);
    if (!ending) return std::nullopt;
    if (*ending != after) {  // "04.15-én" is a day, not a quarter past four
        const std::optional<EndingMatch> glued = lexicon_.endingAt(text_, after, active_);
        if (glued && glued->marksDay) return std::nullopt;
    }
    *end = *ending;
    return time;
}

// An hour without minutes: after a clock marker or an hour word ("at 5",
// "kello 17", "um fünf"), before an hour word ("17 Uhr", "om 5 uur", "cinq
// heures") or before a dial word ("4 y media").
std::optional<WrittenTime> PhraseReader::hourAt(qsizetype position, bool afterLead, bool afterMarker, qsizetype* end,
                                                bool afterArticle) const {
    const std::optional<Count> count = countAt(position, true);
    const int hour = count ? count->value : 0;
    if (!count || hour > 23 || (count->inWords && hour > 12)) return std::nullopt;
    qsizetype after = count->end;
    bool hourWord = false;
    bool dialFollows = false;
    if (const std::optional<qsizetype> next = afterBlanks(after)) {
        std::optional<LexiconMatch> found = word(*next, Lex::hourWordAfter);
        if (!found && afterMarker) found = word(*next, Lex::hourWordAfterMarker);
        if (found) {
            after = found->end;
            hourWord = true;
        }
        dialFollows = !found && word(*next, Lex::dialAfter);
    }
    if (!afterLead && !hourWord && !dialFollows && !count->timeEnding) return std::nullopt;
    if (!hourWord && !dialFollows && !count->inWords && countsAWord(count->end, afterArticle)) return std::nullopt;
    // After a clock marker "one" may be "a": "om een cadeau te kopen", "um ein Geschenk zu kaufen".
    if (count->inWords && hour == 1 && afterMarker && !hourWord && !dialFollows) return std::nullopt;
    const bool oneDigit = count->inWords || text_.digitsAt(position, nullptr, 2) == 1;
    *end = after;
    WrittenTime time = onTheDial(hour, 0, oneDigit);
    time.rollsForward = true;
    return time;
}

// A bare number that counts what follows it: an ordinal with its dot before
// a word ("v 3. patře", on the third floor), or a number after an article
// before a word that is no date or time ("las 3 camisetas").
bool PhraseReader::countsAWord(qsizetype end, bool afterArticle) const {
    if (text_.at(end) == '.' && (lexicon_.dotsOrdinals() & active_)) {
        const qsizetype next = text_.skipBlanks(end + 1);
        const int token = next > end + 1 ? text_.tokenStartingAt(next) : -1;
        const QChar first(text_.at(next));
        return token >= 0 && !text_.tokens()[static_cast<size_t>(token)].isNumber && first.isLower();
    }
    if (!afterArticle) return false;
    const std::optional<qsizetype> next = afterBlanks(end);
    const int token = next ? text_.tokenStartingAt(*next) : -1;
    if (token < 0 || text_.tokens()[static_cast<size_t>(token)].isNumber) return false;
    return !word(*next, Lex::joiner) && !partOfDayAfter(end) && !dayAt(*next);
}

std::optional<ClockPart> PhraseReader::clockPartAt(qsizetype position, bool afterMarker) const {
    int hour = 0;
    const int digits = text_.digitsAt(position, &hour, 2);
    if (digits < 1 || digits > 2) return std::nullopt;
    ClockPart part{.hour = hour, .oneDigitHour = digits == 1};
    qsizetype at = position + digits;
    int number = 0;
    if (text_.at(at) == ':' && text_.digitsAt(at + 1, &number, 2) == 2) {
        part.form = ClockPart::Form::colon;
        part.minute = number;
        at += 3;
        if (text_.at(at) == ':' && text_.digitsAt(at + 1, &number, 2) == 2) {
            part.second = number;
            at += 3;
        }
    } else if (text_.at(at) == '.' && text_.digitsAt(at + 1, &number, 2) == 2 && (number >= 13 || afterMarker)) {
        part.form = ClockPart::Form::dotted;
        part.minute = number;
        at += 3;
    } else if (readsHourLetterAt(at)) {
        part.form = ClockPart::Form::letter;
        at += 1;
        if (text_.digitsAt(at, &number, 2) == 2) {
            part.minute = number;
            at += 2;
        }
    }
    if (part.form != ClockPart::Form::letter) {
        bool pm = false;
        if (const std::optional<qsizetype> meridiemEnd = meridiemAt(at, &pm)) {
            part.pm = pm;
            at = *meridiemEnd;
        }
    }
    part.end = at;
    const bool hourInRange = part.pm ? part.hour >= 1 && part.hour <= 12 : part.hour <= 23;
    if (!hourInRange || part.minute > 59 || part.second > 59) return std::nullopt;
    return part;
}

// "am", "pm", "a.m.", "p. m.", in any case, and no letter after it.
std::optional<qsizetype> PhraseReader::meridiemAt(qsizetype position, bool* pm) const {
    qsizetype at = text_.skipBlanks(position);
    const char16_t letter = asciiLowercased(text_.at(at));
    if (letter != 'a' && letter != 'p') return std::nullopt;
    ++at;
    if (text_.at(at) == '.') ++at;
    if (isBlank(text_.at(at))) ++at;
    if (asciiLowercased(text_.at(at)) != 'm') return std::nullopt;
    ++at;
    if (text_.at(at) == '.') ++at;
    if (!text_.canEnd(at)) return std::nullopt;
    *pm = letter == 'p';
    return at;
}

// "Z" right after the time, "UTC" or "GMT" with an optional offset
// ("GMT+2", "UTC-05:30"), and in the ISO form an offset ("+02:00").
void PhraseReader::readStatedZone(qsizetype* position, WrittenTime* time, bool isoOffset) const {
    qsizetype at = *position;
    if (asciiLowercased(text_.at(at)) == 'z' && text_.canEnd(at + 1)) {
        time->zoneOffsetSeconds = 0;
        time->zoneIdentifier = QStringLiteral("UTC");
        *position = at + 1;
        return;
    }
    QString name;
    if (!isoOffset) {
        at = text_.skipBlanks(at);
        const int token = text_.tokenStartingAt(at);
        if (token < 0) return;
        name = text_.tokens()[static_cast<size_t>(token)].folded;
        if (name != QLatin1String("utc") && name != QLatin1String("gmt")) return;
        at += 3;
    }
    int offset = 0;
    const char16_t sign = text_.at(at);
    if (sign == '+' || sign == '-') {
        int hours = 0;
        int minutes = 0;
        const int hourDigits = text_.digitsAt(at + 1, &hours, 2);
        qsizetype after = at + 1 + hourDigits;
        if (text_.at(after) == ':') ++after;
        const int minuteDigits = text_.digitsAt(after, &minutes, 2);
        const bool written = isoOffset ? hourDigits == 2 && minuteDigits == 2 : hourDigits >= 1 && hourDigits <= 2;
        if (!written || minuteDigits == 1 || minuteDigits > 2 || hours > 14 || minutes > 59) return;
        offset = (hours * 3600 + minutes * 60) * (sign == '-' ? -1 : 1);
        at = after + minuteDigits;
    } else if (isoOffset) {
        return;
    }
    if (!text_.canEnd(at)) return;
    time->zoneOffsetSeconds = offset;
    time->zoneIdentifier = isoOffset || offset != 0 ? gmtIdentifier(offset) : name.toUpper();
    *position = at;
}

bool PhraseReader::readsHourLetterAt(qsizetype position) const {
    const int token = text_.tokenStartingAt(position);
    if (token < 0 || text_.tokens()[static_cast<size_t>(token)].length() != 1) return false;
    const char16_t letter = asciiLowercased(text_.at(position));
    return (letter == 'h' && (lexicon_.readsHourLetterH() & active_)) ||
           (letter == 'u' && (lexicon_.readsHourLetterU() & active_));
}

}  // namespace tavlin::platform::datedetector
