#pragma once

#include "platform/Text.h"
#include "platform/TextRange.h"

#include <QString>

#include <vector>

namespace tavlin::platform::datedetector {

// A run of letters (with their marks) or a run of ASCII digits. Other
// scripts' digits are neither: a date is written in ASCII digits.
struct Token {
    qsizetype start = 0;
    qsizetype end = 0;
    bool isNumber = false;
    QString folded;  // a word folded for lookups; a number as written

    qsizetype length() const { return end - start; }
};

// The searched part of a text cut into tokens, with the character tests
// that decide where a phrase may start and end. Offsets are those of the
// whole text; nothing outside the range is looked at.
class TokenizedText {
public:
    TokenizedText(const QString& text, TextRange range);

    const QString& text() const { return text_; }
    qsizetype end() const { return range_.end(); }
    const std::vector<Token>& tokens() const { return tokens_; }
    // The token that starts at `position`, or -1.
    int tokenStartingAt(qsizetype position) const;

    // The UTF-16 unit at `position`, or U+0000 outside the range.
    char16_t at(qsizetype position) const;
    bool isDigitAt(qsizetype position) const;
    // The ASCII digits from `position` on: their count, and their value
    // when there are at most `maxDigits` of them.
    int digitsAt(qsizetype position, int* value, int maxDigits) const;

    // At the range's start, or after a character that is not a letter, a
    // digit, "@", "#" or "/" (a place, a list tag, a path).
    bool canStart(qsizetype position) const;
    // At the range's end, or before a character that is neither a letter
    // nor a digit, unless an apostrophe or hyphen joins a word on
    // ("today's", "5th-floor").
    bool canEnd(qsizetype position) const;
    // Past any blanks (spaces of any width and tabs) from `position`.
    qsizetype skipBlanks(qsizetype position) const;

private:
    bool isWordCharacterAt(qsizetype position) const;  // a letter, mark or digit of any script
    char32_t codePointBefore(qsizetype position) const;

    const QString& text_;
    TextRange range_;
    std::vector<Token> tokens_;
    // By position within the range: the token that starts there, or -1.
    // The readers ask for a token at a position some hundred times a line.
    std::vector<int> tokenStarting_;
};

bool isApostrophe(char32_t c);
bool isHyphen(char32_t c);
bool isBlank(char32_t c);

}  // namespace tavlin::platform::datedetector
