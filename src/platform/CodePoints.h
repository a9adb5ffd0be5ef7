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

class CodePoints {
public:
    explicit CodePoints(const QString& text) : text_(text) {}

    class Iterator {
    public:
        Iterator(const QString& text, qsizetype index) : text_(&text), index_(index) {}
        CodePoint operator*() const {
            const char16_t unit = text_->at(index_).unicode();
            if (QChar::isHighSurrogate(unit) && index_ + 1 < text_->size()) {
                const char16_t next = text_->at(index_ + 1).unicode();
                if (QChar::isLowSurrogate(next)) return {QChar::surrogateToUcs4(unit, next), index_, 2};
            }
            return {unit, index_, 1};
        }
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
