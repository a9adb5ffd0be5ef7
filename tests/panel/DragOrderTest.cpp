#include "panel/DragOrder.h"

#include "support/Printers.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace tavlin::panel;
using Ranks = tavlin::store::ManualOrder::Ranks;

namespace {

const QStringList four{u"a"_s, u"b"_s, u"c"_s, u"d"_s};

TEST(DragOrder, OffsetsMoveAsThePlatformCountsThem) {
    const std::vector<std::tuple<std::set<int>, int, QStringList>> table{
        {{2}, 0, {u"c"_s, u"a"_s, u"b"_s, u"d"_s}},
        {{0}, 4, {u"b"_s, u"c"_s, u"d"_s, u"a"_s}},
        {{0}, 2, {u"b"_s, u"a"_s, u"c"_s, u"d"_s}},  // before the old third: one down
        {{1}, 1, four},
        {{1}, 2, four},  // just after itself: its own place
        {{0, 2}, 4, {u"b"_s, u"d"_s, u"a"_s, u"c"_s}},
        {{9}, 0, four},
    };
    for (const auto& [source, destination, expected] : table)
        EXPECT_EQ(movedIdentifiers(four, source, destination), expected) << destination;
}

TEST(DragOrder, ADropOnItsOwnPlaceStoresNothing) {
    EXPECT_EQ(ranksAfterMove(four, {1}, 2, {{u"x"_s, 3}}, {}), std::nullopt);
}

TEST(DragOrder, TheSectionIsRenumberedAndOtherSectionsKeepTheirRanks) {
    const Ranks before{{u"other"_s, 7}, {u"a"_s, 0.5}};
    const auto after = ranksAfterMove(four, {2}, 0, before, {u"other"_s, u"a"_s, u"b"_s, u"c"_s, u"d"_s});
    EXPECT_EQ(after, (Ranks{{u"c"_s, 0}, {u"a"_s, 1}, {u"b"_s, 2}, {u"d"_s, 3}, {u"other"_s, 7}}));
}

TEST(DragOrder, RanksOfUnknownRemindersGoUnlessNothingIsKnown) {
    const Ranks before{{u"gone"_s, 2}, {u"kept"_s, 4}};
    EXPECT_EQ(ranksAfterMove(four, {0}, 4, before, {u"kept"_s}),
              (Ranks{{u"b"_s, 0}, {u"c"_s, 1}, {u"d"_s, 2}, {u"a"_s, 3}, {u"kept"_s, 4}}));
    EXPECT_TRUE(ranksAfterMove(four, {0}, 4, before, {})->contains(u"gone"_s));
}

}  // namespace
