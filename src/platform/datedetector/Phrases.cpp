#include "platform/datedetector/Phrases.h"

#include "platform/datedetector/PhraseReader.h"

namespace tavlin::platform::datedetector {

namespace {

bool joinableGap(const PhraseReader& reader, qsizetype from, qsizetype to);
bool dayTakesTime(const Atom& day, const Atom& time);

// An ordinal day only counts with a time after it, so that alone it leaves
// its words to other phrases ("the 20th of August").
bool takesATime(const PhraseReader& reader, const Atom& ordinal) {
    constexpr int kTokensInAGap = 3;  // a comma, a joiner of up to two words
    int looked = 0;
    for (const Token& token : reader.text().tokens()) {
        if (token.start < ordinal.end) continue;
        if (++looked > kTokensInAGap) break;
        if (joinableGap(reader, ordinal.end, token.start) && reader.timeAt(token.start)) return true;
    }
    return false;
}

// At each place where a phrase may start, the longest atom; the next one
// is looked for after it.
std::vector<Atom> leftmostLongestAtoms(const PhraseReader& reader) {
    std::vector<Atom> atoms;
    qsizetype coveredUntil = 0;
    for (const Token& token : reader.text().tokens()) {
        if (token.start < coveredUntil || !reader.text().canStart(token.start)) continue;
        std::optional<Atom> ordinal = reader.ordinalAt(token.start);
        if (ordinal && !takesATime(reader, *ordinal)) ordinal.reset();
        std::optional<Atom> best = reader.dayAt(token.start);
        std::optional<Atom> time = reader.timeAt(token.start);
        // Right after a day, what reads as its day of the month and as a time
        // is its time: Hebrew "מחר ב-8" is tomorrow at 8, not the 8th.
        if (best && best->day && best->day->kind == WrittenDay::Kind::dayOfMonth && time && time->end >= best->end &&
            !atoms.empty() && atoms.back().kind == Atom::Kind::day && atoms.back().day &&
            atoms.back().day->kind != WrittenDay::Kind::dayOfMonth && dayTakesTime(atoms.back(), *time) &&
            joinableGap(reader, atoms.back().end, token.start))
            best.reset();
        keepLonger(best, std::move(time));
        keepLonger(best, reader.spanAt(token.start));
        keepLonger(best, std::move(ordinal));
        if (!best) continue;
        coveredUntil = best->end;
        atoms.push_back(std::move(*best));
    }
    return atoms;
}

// Between a day and a time: blanks, at most one comma and at most one
// joining word ("tomorrow, 5pm", "5pm on friday", "17 Uhr am Freitag").
bool joinableGap(const PhraseReader& reader, qsizetype from, qsizetype to) {
    const TokenizedText& text = reader.text();
    qsizetype at = text.skipBlanks(from);
    bool comma = false;
    bool joiner = false;
    while (at < to) {
        if (text.at(at) == ',' && !comma) {
            comma = true;
            at = text.skipBlanks(at + 1);
            continue;
        }
        std::optional<LexiconMatch> word = reader.word(at, Lex::joiner);
        if (!word) word = reader.word(at, Lex::clockMarker);
        if (joiner || !word || word->end > to) return false;
        joiner = true;
        at = text.skipBlanks(word->end);
    }
    return at == to;
}

// A day takes a time, one that names a part of the day ("tonight") a clock
// time that places it; a past day, or one that names its own time, none. A
// time the parser's rules read goes only with a part of the day.
bool dayTakesTime(const Atom& day, const Atom& time) {
    if (day.past || (day.time && !day.partOfDay)) return false;
    return !time.needsPartOfDay || day.partOfDay;
}

// A day takes the time after it, or a time the day after it; the day of
// an ordinal only ever takes the time after it ("on the 5th at 9am", but
// "9am the 3rd" leaves the ordinal to the parser).
bool takesPartner(const Atom& first, const Atom& second) {
    using Kind = Atom::Kind;
    if (first.kind == Kind::day && second.kind == Kind::time) return dayTakesTime(first, second);
    if (first.kind == Kind::ordinal && second.kind == Kind::time) return !second.needsPartOfDay;
    if (first.kind == Kind::time && second.kind == Kind::day) return dayTakesTime(second, first);
    return false;
}

bool standsAlone(const Atom& atom) {
    return atom.kind != Atom::Kind::ordinal && !atom.suppressed && !atom.needsCompanion && !atom.needsPartOfDay;
}

// The time of a day and a time read together: the clock time, placed in
// the day's part of the day when the day names one.
WrittenTime timeOfPair(const Atom& day, const Atom& time) {
    if (day.partOfDay && day.time) return placedInPartOfDay(*time.time, day.time->hour);
    return *time.time;
}

}  // namespace

std::vector<Phrase> findPhrases(const TokenizedText& text, const Lexicon& lexicon, LanguageMask active,
                                NumericDateOrder order) {
    const PhraseReader reader(text, lexicon, active, order);
    const std::vector<Atom> atoms = leftmostLongestAtoms(reader);
    std::vector<Phrase> phrases;
    for (size_t index = 0; index < atoms.size(); ++index) {
        const Atom& atom = atoms[index];
        const Atom* next = index + 1 < atoms.size() ? &atoms[index + 1] : nullptr;
        if (next && takesPartner(atom, *next) && joinableGap(reader, atom.end, next->start)) {
            // A suppressed day ("last friday") takes its time down with it.
            const bool timeFirst = atom.kind == Atom::Kind::time;
            const Atom& day = timeFirst ? *next : atom;
            const Atom& time = timeFirst ? atom : *next;
            if (!atom.suppressed && !next->suppressed)
                phrases.push_back({TextRange::fromBounds(atom.start, next->end), day.day, timeOfPair(day, time)});
            ++index;
        } else if (standsAlone(atom)) {
            phrases.push_back({TextRange::fromBounds(atom.start, atom.end), atom.day, atom.time, atom.minutesAhead,
                               atom.partOfDay && atom.time});
        }
    }
    return phrases;
}

PhraseReader::PhraseReader(const TokenizedText& text, const Lexicon& lexicon, LanguageMask active,
                           NumericDateOrder order)
    : text_(text), lexicon_(lexicon), active_(active), order_(order) {
    const std::vector<Token>& tokens = text.tokens();
    words_.reserve(tokens.size());
    for (size_t index = 0; index < tokens.size(); ++index)
        words_.push_back(tokens[index].isNumber ? std::vector<LexiconMatch>{}
                                                : lexicon.matchesAt(text, static_cast<int>(index), active));
}

std::optional<LexiconMatch> PhraseReader::word(qsizetype position, Lex kind) const {
    const int token = text_.tokenStartingAt(position);
    if (token < 0) return std::nullopt;
    for (const LexiconMatch& match : words_[static_cast<size_t>(token)])
        if (match.entry->kind == kind) return match;
    return std::nullopt;
}

std::optional<qsizetype> PhraseReader::afterWord(const LexiconMatch& match) const {
    const QString& trailing = match.entry->trailing;
    if (!trailing.isEmpty() && isHyphen(trailing.back().unicode())) return text_.skipBlanks(match.end);
    return afterBlanks(match.end);
}

std::optional<qsizetype> PhraseReader::afterBlanks(qsizetype position) const {
    const qsizetype next = text_.skipBlanks(position);
    if (next == position) return std::nullopt;
    return next;
}

bool PhraseReader::endsCleanly(qsizetype position) const {
    const char16_t next = text_.at(position);
    const bool continues = (next == '.' || next == ':' || next == '/' || next == '-') && text_.isDigitAt(position + 1);
    return !continues && text_.canEnd(position);
}

std::optional<qsizetype> PhraseReader::numberEnd(qsizetype position) const {
    if (endsCleanly(position)) return position;
    if (const std::optional<EndingMatch> ending = lexicon_.endingAt(text_, position, active_)) return ending->end;
    return std::nullopt;
}

}  // namespace tavlin::platform::datedetector
