#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>
#include <mutex>

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

    const QStringList& raw() const { return words_ ? words_->raw : empty().raw; }
    const QSet<QString>& folded() const { return words_ ? words_->folded : empty().folded; }
    const QList<QStringList>& phrases() const { return words_ ? words_->phrases : empty().phrases; }
    // alternationPattern(raw()) and setAlternationPattern(folded()), made on
    // first use and shared by every copy of the set.
    const QString& alternation() const;
    const QString& foldedAlternation() const;
    // alternation(), or for an empty set a pattern that matches nowhere: an
    // empty group would match everywhere.
    QString alternationOrNever() const;
    // Where the set's copies share their words: the same address for as
    // long as one of them lives.
    const void* identity() const { return words_.get(); }

    bool isEmpty() const { return folded().isEmpty(); }
    // `word` folded is one of the set's folded words.
    bool contains(const QString& word) const { return folded().contains(fold(word)); }
    bool containsFolded(const QString& foldedWord) const { return folded().contains(foldedWord); }
    bool matchesTokens(const QStringList& foldedTokens) const {
        return matchesTokens(foldedTokens, folded(), phrases());
    }

    friend bool operator==(const WordSet& a, const WordSet& b) { return a.raw() == b.raw(); }

private:
    // Immutable once made, apart from the patterns, which are filled in once.
    struct Words {
        QStringList raw;
        QSet<QString> folded;
        QList<QStringList> phrases;
        mutable std::once_flag alternationMade;
        mutable QString alternation;
        mutable std::once_flag foldedAlternationMade;
        mutable QString foldedAlternation;
    };
    static const Words& empty();

    std::shared_ptr<const Words> words_;
};

// Text functions that the folding rests on.
bool containsHebrewPoints(const QString& text);
QString strippingHebrewPoints(const QString& text);
// The runs of characters that are not white space (Unicode White_Space), in
// order; never an empty piece.
QStringList splitOnWhitespace(const QString& text);

}  // namespace tavlin::parsing
