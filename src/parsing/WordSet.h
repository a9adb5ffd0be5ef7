#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

namespace tavlin::parsing {

// A list of vocabulary words, kept as given (for patterns) and folded (for
// matching). Every comparison of typed words with vocabulary words folds both
// sides with WordSet::fold.
class WordSet {
public:
    WordSet() = default;
    WordSet(std::initializer_list<const char16_t*> words);
    explicit WordSet(QStringList words);

    // Hebrew points removed, "ı" and "İ" read as "i", then case and
    // diacritics folded without language-specific rules.
    static QString fold(const QString& text);

    // The words of `a`, then those of `b` not already there (exact, not folded,
    // comparison: "Home" and "home" are both kept).
    static WordSet unionOf(const QStringList& a, const QStringList& b);

    // "w1|w2|…" for a regular expression: longest first (in user-perceived
    // characters), then in code-point order; each word escaped.
    static QString alternationPattern(const QStringList& words);
    static QString setAlternationPattern(const QSet<QString>& words);

    // Whether an already folded token is a word of the set, or a run of
    // tokens spells one of its phrases.
    static bool matchesTokens(const QStringList& foldedTokens, const QSet<QString>& folded,
                              const QList<QStringList>& phrases);

    const QStringList& raw() const { return raw_; }
    const QSet<QString>& folded() const { return folded_; }
    const QList<QStringList>& phrases() const { return phrases_; }

    bool isEmpty() const { return folded_.isEmpty(); }
    // `word` folded is one of the set's folded words.
    bool contains(const QString& word) const { return folded_.contains(fold(word)); }
    bool containsFolded(const QString& foldedWord) const { return folded_.contains(foldedWord); }
    bool matchesTokens(const QStringList& foldedTokens) const {
        return matchesTokens(foldedTokens, folded_, phrases_);
    }

    friend bool operator==(const WordSet& a, const WordSet& b) { return a.raw_ == b.raw_; }

private:
    QStringList raw_;
    QSet<QString> folded_;
    QList<QStringList> phrases_;
};

// Text functions that the folding rests on.
bool containsHebrewPoints(const QString& text);
QString strippingHebrewPoints(const QString& text);
// The runs of characters that are not white space (Unicode White_Space), in
// order; never an empty piece.
QStringList splitOnWhitespace(const QString& text);

}  // namespace tavlin::parsing
