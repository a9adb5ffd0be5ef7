#pragma once

#include <QString>

namespace tavlin::platform {

// The code points of a QString with their UTF-16 positions, for range-for:
//   for (CodePoint c : CodePoints(text)) …
// An unpaired surrogate comes out as itself.
struct CodePoint {
    char32_t value;
    qsizetype index;   // of its first UTF-16 unit
    qsizetype length;  // 1, or 2 for a surrogate pair
};

// The code point that starts at `index`, pairing surrogates only below `end`.
inline CodePoint codePointAt(const QString& text, qsizetype index, qsizetype end) {
    const char16_t unit = text.at(index).unicode();
    if (QChar::isHighSurrogate(unit) && index + 1 < end) {
        const char16_t next = text.at(index + 1).unicode();
        if (QChar::isLowSurrogate(next)) return {QChar::surrogateToUcs4(unit, next), index, 2};
    }
    return {unit, index, 1};
}

// The code point that ends just before `index`, pairing surrogates only at
// or after `start`.
inline CodePoint codePointBefore(const QString& text, qsizetype index, qsizetype start) {
    const char16_t unit = text.at(index - 1).unicode();
    if (QChar::isLowSurrogate(unit) && index - 2 >= start) {
        const char16_t previous = text.at(index - 2).unicode();
        if (QChar::isHighSurrogate(previous)) return {QChar::surrogateToUcs4(previous, unit), index - 2, 2};
    }
    return {unit, index - 1, 1};
}

class CodePoints {
public:
    explicit CodePoints(const QString& text) : text_(text) {}

    class Iterator {
    public:
        Iterator(const QString& text, qsizetype index) : text_(&text), index_(index) {}
        CodePoint operator*() const { return codePointAt(*text_, index_, text_->size()); }
        Iterator& operator++() {
            index_ += (**this).length;
            return *this;
        }
        bool operator!=(const Iterator& other) const { return index_ != other.index_; }

    private:
        const QString* text_;
        qsizetype index_;
    };

    Iterator begin() const { return {text_, 0}; }
    Iterator end() const { return {text_, text_.size()}; }

private:
    const QString& text_;
};

}  // namespace tavlin::platform
