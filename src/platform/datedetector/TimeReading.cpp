#include "platform/datedetector/PhraseReader.h"

#include "platform/Text.h"

#include <cstdlib>

namespace tavlin::platform::datedetector {

namespace {

constexpr int kSecondsPerDay = 24 * 60 * 60;

bool isRangeDash(char16_t c) { return c == '-' || c == 0x2013 || c == 0x2014; }

int secondOfDay(const ClockPart& part) { return part.hourOfDay() * 3600 + part.minute * 60 + part.second; }

WrittenTime timeOf(const ClockPart& part) {
    return {.hour = part.hourOfDay(), .minute = part.minute, .second = part.second};
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

std::optional<Atom> PhraseReader::timeAt(qsizetype position) const {
    qsizetype core = position;
    bool afterLead = false;
    bool afterMarker = false;  // a clock marker stands right before the time
    if (const std::optional<LexiconMatch> marker = word(position, Lex::clockMarker)) {
        if (const std::optional<qsizetype> next = afterBlanks(marker->end)) {
            core = *next;
            afterLead = afterMarker = true;
        }
    }
    if (const std::optional<LexiconMatch> hourWord = word(core, Lex::hourWordBefore)) {
        if (const std::optional<qsizetype> next = afterBlanks(hourWord->end)) {
            core = *next;
            afterLead = true;
            afterMarker = false;
        }
    }
    qsizetype end = 0;
    std::optional<WrittenTime> time;
    if (text_.isDigitAt(core)) {
        if (afterLead && dayAt(core)) return std::nullopt;  // "at 5 Aug": the date wins
        time = writtenTimeAt(core, afterMarker, &end);
        if (!time) time = hourAt(core, afterLead, afterMarker, &end);
    } else if (!afterLead || afterMarker) {
        if (const std::optional<LexiconMatch> timeWord = word(core, Lex::timeWord)) {
            const bool midnight = timeWord->entry->number == kMidnight;
            time = WrittenTime{.hour = midnight ? 0 : timeWord->entry->number,
                               .minute = timeWord->entry->minute,
                               .midnight = midnight,
                               .rollsForward = true};
            end = timeWord->end;
        }
    }
    if (!time) return std::nullopt;
    return Atom{.kind = Atom::Kind::time, .start = position, .end = end, .time = time};
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
    if (!endsCleanly(after)) return std::nullopt;
    *end = after;
    return time;
}

// An hour without minutes: after a clock marker or an hour word ("at 5",
// "kello 17"), or before an hour word ("17 Uhr", "om 5 uur").
std::optional<WrittenTime> PhraseReader::hourAt(qsizetype position, bool afterLead, bool afterMarker,
                                                qsizetype* end) const {
    int hour = 0;
    const int digits = text_.digitsAt(position, &hour, 2);
    if (digits < 1 || digits > 2 || hour > 23 || !endsCleanly(position + digits)) return std::nullopt;
    qsizetype after = position + digits;
    bool hourWord = false;
    if (const std::optional<qsizetype> next = afterBlanks(after)) {
        std::optional<LexiconMatch> found = word(*next, Lex::hourWordAfter);
        if (!found && afterMarker) found = word(*next, Lex::hourWordAfterMarker);
        if (found) {
            after = found->end;
            hourWord = true;
        }
    }
    if (!afterLead && !hourWord) return std::nullopt;
    const ClockPart part{.hour = hour, .oneDigitHour = digits == 1};
    *end = after;
    return WrittenTime{.hour = part.hourOfDay(), .rollsForward = true};
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
