#include "parsing/Memo.h"

#include "support/Printers.h"

#include <gtest/gtest.h>

using namespace tavlin::parsing;
using namespace Qt::StringLiterals;

namespace {

// Counts how often its value is made, and makes the joined words.
struct CountingMemo {
    Memo<QString> memo;
    int made = 0;

    QString joined(const WordSet& a, const WordSet& b) {
        return memo.get(
            [&] {
                ++made;
                return a.raw().join(u',') + u"|"_s + b.raw().join(u',');
            },
            a, b);
    }
};

}  // namespace

TEST(Memo, MakesAValueOncePerCombinationOfParts) {
    CountingMemo counting;
    const WordSet at{u"at"};
    const WordSet on{u"on"};
    EXPECT_EQ(counting.joined(at, on), u"at|on"_s);
    EXPECT_EQ(counting.joined(at, on), u"at|on"_s);
    const WordSet copyOfAt = at;
    EXPECT_EQ(counting.joined(copyOfAt, on), u"at|on"_s) << "a copy shares its original's words";
    EXPECT_EQ(counting.made, 1);

    EXPECT_EQ(counting.joined(on, at), u"on|at"_s) << "the order of the parts counts";
    EXPECT_EQ(counting.made, 2);
}

TEST(Memo, NeverTakesNewWordsForOnesThatAreGone) {
    CountingMemo counting;
    const WordSet fixed{u"x"};
    // Each set dies before the next is made, so its memory is free for the next.
    for (const char16_t* word : {u"one", u"two", u"three"}) {
        const WordSet words{word};
        EXPECT_EQ(counting.joined(words, fixed), QString::fromUtf16(word) + u"|x"_s);
    }
    EXPECT_EQ(counting.made, 3);
}

TEST(Memo, KnowsAListByItsSharedData) {
    Memo<qsizetype> memo;
    int made = 0;
    const auto size = [&](const QList<std::pair<QString, int>>& list) {
        return memo.get(
            [&] {
                ++made;
                return list.size();
            },
            list);
    };
    QList<std::pair<QString, int>> hours = {{u"one"_s, 1}};
    const QList<std::pair<QString, int>> copy = hours;
    EXPECT_EQ(size(hours), 1);
    EXPECT_EQ(size(copy), 1);
    hours.append({u"two"_s, 2});  // the change leaves the shared data to the copy
    EXPECT_EQ(size(hours), 2);
    EXPECT_EQ(size(copy), 1);
    EXPECT_EQ(made, 2);
}

TEST(Memo, AFullMemoStartsOverAndStaysRight) {
    CountingMemo counting;
    const WordSet fixed{u"x"};
    std::vector<WordSet> sets;
    for (int n = 0; n < 200; ++n) sets.push_back(WordSet(QStringList{QString::number(n)}));
    for (const WordSet& words : sets) EXPECT_EQ(counting.joined(words, fixed), words.raw().first() + u"|x"_s);
    EXPECT_EQ(counting.joined(sets.front(), fixed), u"0|x"_s);
}

TEST(Memo, KnowsWordsBuiltAgainByTheWords) {
    CountingMemo counting;
    const WordSet on{u"on"};
    EXPECT_EQ(counting.joined(WordSet{u"at", u"by"}, on), u"at,by|on"_s);
    const WordSet again{u"at", u"by"};  // the same words in data of its own
    EXPECT_EQ(counting.joined(again, on), u"at,by|on"_s);
    EXPECT_EQ(counting.joined(again, on), u"at,by|on"_s);
    EXPECT_EQ(counting.made, 1);
    EXPECT_EQ(counting.joined(WordSet{u"by", u"at"}, on), u"by,at|on"_s) << "the order of the words counts";
    EXPECT_EQ(counting.made, 2);
}
