#include "platform/datedetector/Tokens.h"

#include "platform/CodePoints.h"
#include "platform/Text.h"

#include <QHash>

#include <unicode/uchar.h>
#include <algorithm>

namespace tavlin::platform::datedetector {

namespace {

bool isAsciiDigit(char32_t c) { return c >= '0' && c <= '9'; }

bool isLetterOrMark(char32_t c) {
    if (c < 0x80) return (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
    return u_hasBinaryProperty(static_cast<UChar32>(c), UCHAR_ALPHABETIC) ||
           (U_GET_GC_MASK(static_cast<UChar32>(c)) & U_GC_M_MASK) != 0;
}

bool isWordCharacter(char32_t c) {
    return isLetterOrMark(c) || isAsciiDigit(c) || (c >= 0x80 && u_isdigit(static_cast<UChar32>(c)));
}

// A word folded for the lexicon. Words come back from line to line (the
// weekdays, "um", "morgen"), and folding one outside ASCII through ICU
// costs some ten times a lookup: the foldings of this thread are kept, up
// to a few thousand words.
QString foldedToken(const QString& written) {
    if (isAscii(written)) return written.toLower();
    thread_local QHash<QString, QString> kept;
    if (const auto found = kept.constFind(written); found != kept.constEnd()) return *found;
    if (kept.size() >= 4096) kept.clear();
    return *kept.insert(written, foldedWord(written));
}

}  // namespace

bool isApostrophe(char32_t c) { return c == '\'' || c == 0x2019 || c == 0x02BC; }

bool isHyphen(char32_t c) { return c == '-' || c == 0x2010 || c == 0x2011 || c == 0x05BE; }  // and Hebrew maqaf

// CharacterSet::whitespaces(), tested here by character type: the set's
// lookup is slower, and tokenizing asks for every character.
bool isBlank(char32_t c) { return c == '\t' || u_charType(static_cast<UChar32>(c)) == U_SPACE_SEPARATOR; }

TokenizedText::TokenizedText(const QString& text, TextRange range) : text_(text), range_(range) {
    qsizetype start = -1;
    bool inNumber = false;
    const auto close = [&](qsizetype end) {
        if (start < 0) return;
        const QString written = text.mid(start, end - start);
        tokens_.push_back({start, end, inNumber, inNumber ? written : foldedToken(written)});
        start = -1;
    };
    for (qsizetype position = range.location; position < range.end();) {
        const CodePoint point = codePointAt(text, position, range.end());
        const char32_t c = point.value;
        const bool digit = isAsciiDigit(c);
        if (digit || isLetterOrMark(c)) {
            if (start >= 0 && digit != inNumber) close(position);
            if (start < 0) {
                start = position;
                inNumber = digit;
            }
        } else {
            close(position);
        }
        position += point.length;
    }
    close(range.end());
    tokenStarting_.assign(static_cast<size_t>(range.length), -1);
    for (size_t index = 0; index < tokens_.size(); ++index)
        tokenStarting_[static_cast<size_t>(tokens_[index].start - range.location)] = static_cast<int>(index);
}

int TokenizedText::tokenStartingAt(qsizetype position) const {
    if (position < range_.location || position >= range_.end()) return -1;
    return tokenStarting_[static_cast<size_t>(position - range_.location)];
}

char16_t TokenizedText::at(qsizetype position) const {
    if (position < range_.location || position >= range_.end()) return 0;
    return text_.at(position).unicode();
}

bool TokenizedText::isDigitAt(qsizetype position) const { return isAsciiDigit(at(position)); }

int TokenizedText::digitsAt(qsizetype position, int* value, int maxDigits) const {
    int count = 0;
    int number = 0;
    for (; isDigitAt(position + count); ++count)
        if (count < maxDigits) number = number * 10 + (at(position + count) - '0');
    if (value) *value = count <= maxDigits ? number : -1;
    return count;
}

char32_t TokenizedText::codePointBefore(qsizetype position) const {
    return platform::codePointBefore(text_, position, range_.location).value;
}

bool TokenizedText::isWordCharacterAt(qsizetype position) const {
    return position < range_.end() && isWordCharacter(codePointAt(text_, position, range_.end()).value);
}

bool TokenizedText::canStart(qsizetype position) const {
    if (position <= range_.location) return true;
    const char32_t previous = codePointBefore(position);
    return !isWordCharacter(previous) && previous != '@' && previous != '#' && previous != '/';
}

bool TokenizedText::canEnd(qsizetype position) const {
    if (position >= range_.end()) return true;
    const char32_t next = codePointAt(text_, position, range_.end()).value;
    if (isWordCharacter(next)) return false;
    return !((isApostrophe(next) || isHyphen(next)) && isWordCharacterAt(position + 1));
}

qsizetype TokenizedText::skipBlanks(qsizetype position) const {
    while (position < range_.end() && isBlank(text_.at(position).unicode())) ++position;
    return position;
}

}  // namespace tavlin::platform::datedetector
