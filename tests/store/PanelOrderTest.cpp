#include "store/ManualOrder.h"
#include "store/PanelSection.h"
#include "store/SectionVisibility.h"

#include "support/Printers.h"

#include <gtest/gtest.h>

using namespace tavlin::store;
using namespace Qt::StringLiterals;
using nlohmann::json;

TEST(PanelSectionTest, RawValuesNamesAndOrder) {
    const QStringList names{u"nearby"_s,   u"overdue"_s, u"today"_s,    u"tomorrow"_s,
                            u"thisWeek"_s, u"later"_s,   u"noDueDate"_s};
    for (int raw = 0; raw < int(allPanelSections.size()); ++raw) {
        const PanelSection section = allPanelSections[raw];
        EXPECT_EQ(rawValue(section), raw);
        EXPECT_EQ(panelSectionFromRawValue(raw), section);
        EXPECT_EQ(storedName(section), names[raw]);
        EXPECT_EQ(panelSectionNamed(names[raw]), section);
    }
    EXPECT_EQ(panelSectionFromRawValue(-1), std::nullopt);
    EXPECT_EQ(panelSectionFromRawValue(7), std::nullopt);
    EXPECT_EQ(panelSectionNamed(u"ThisWeek"), std::nullopt);
    EXPECT_LT(PanelSection::nearby, PanelSection::overdue);
    EXPECT_LT(PanelSection::later, PanelSection::noDueDate);
}

TEST(SectionVisibilityTest, DecodingSkipsUnknownNamesAndNearby) {
    struct Case {
        const char* name;
        QStringList stored;
        std::set<PanelSection> hidden;
    };
    const Case cases[] = {
        {"unknown, nearby and repeated", {u"today"_s, u"someday"_s, u"nearby"_s, u"today"_s}, {PanelSection::today}},
        {"case-sensitive", {u"Today"_s, u"later"_s}, {PanelSection::later}},
        {"nothing stored", {}, {}},
        {"every hideable section",
         {u"noDueDate"_s, u"later"_s, u"thisWeek"_s, u"tomorrow"_s, u"today"_s, u"overdue"_s},
         {SectionVisibility::hideableSections.begin(), SectionVisibility::hideableSections.end()}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SectionVisibility::decoding(c.stored).hidden, c.hidden);
    }
}

TEST(SectionVisibilityTest, EncodingIsInCaseOrderAndDecodesBack) {
    const SectionVisibility visibility{{PanelSection::later, PanelSection::overdue}};
    EXPECT_EQ(visibility.encoded(), (QStringList{u"overdue"_s, u"later"_s}));
    EXPECT_EQ(SectionVisibility::decoding(visibility.encoded()), visibility);
    EXPECT_EQ(SectionVisibility{}.encoded(), QStringList{});
    EXPECT_EQ(SectionVisibility::hideableSections.front(), PanelSection::overdue);
    EXPECT_EQ(SectionVisibility::hideableSections.size(), allPanelSections.size() - 1);
}

TEST(ManualOrderTest, EffectiveRanks) {
    struct Case {
        const char* name;
        QStringList identifiers;
        ManualOrder::Ranks ranks;
        QList<double> expected;
    };
    const Case cases[] = {
        {"nothing ranked keeps the default order", {u"a"_s, u"b"_s, u"c"_s}, {}, {0, 1, 2}},
        {"only reminders of other sections ranked", {u"a"_s, u"b"_s}, {{u"x"_s, 9}}, {0, 1}},
        {"between its neighbours", {u"a"_s, u"b"_s, u"c"_s}, {{u"a"_s, 0}, {u"c"_s, 1}}, {0, 0.5, 1}},
        {"before the first ranked one", {u"b"_s, u"a"_s, u"c"_s}, {{u"a"_s, 0}, {u"c"_s, 1}}, {-0.5, 0, 1}},
        {"neighbours out of order", {u"a"_s, u"b"_s, u"c"_s}, {{u"a"_s, 3}, {u"c"_s, 1}}, {3, 3.5, 1}},
        {"after the last ranked one", {u"a"_s, u"b"_s, u"c"_s}, {{u"a"_s, 5}}, {5, 5.5, 5.5}},
        {"equal neighbours", {u"a"_s, u"b"_s, u"c"_s}, {{u"a"_s, 2}, {u"c"_s, 2}}, {2, 2.5, 2}},
        {"an empty section", {}, {{u"a"_s, 1}}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ManualOrder::effectiveRanks(c.identifiers, c.ranks), c.expected);
    }
}

TEST(ManualOrderTest, RenumberRanksTheNewOrderAndLeavesOthers) {
    ManualOrder::Ranks ranks{{u"a"_s, 9}, {u"x"_s, 7}};
    ManualOrder::renumber({u"b"_s, u"a"_s, u"c"_s}, ranks);
    EXPECT_EQ(ranks, (ManualOrder::Ranks{{u"b"_s, 0}, {u"a"_s, 1}, {u"c"_s, 2}, {u"x"_s, 7}}));
}

TEST(ManualOrderTest, PruneKeepsOnlyWhatIsAsked) {
    const ManualOrder::Ranks ranks{{u"a"_s, 0}, {u"b"_s, 1}};

    ManualOrder::Ranks everyKeyKept = ranks;
    ManualOrder::pruneRanks({u"a"_s, u"b"_s, u"c"_s}, everyKeyKept);
    EXPECT_EQ(everyKeyKept, ranks);

    ManualOrder::Ranks some = ranks;
    ManualOrder::pruneRanks({u"b"_s}, some);
    EXPECT_EQ(some, (ManualOrder::Ranks{{u"b"_s, 1}}));

    ManualOrder::Ranks none = ranks;
    ManualOrder::pruneRanks({}, none);
    EXPECT_TRUE(none.isEmpty());
}

TEST(ManualOrderTest, DecodeKeepsNumbersOnly) {
    struct Case {
        const char* name;
        json stored;
        ManualOrder::Ranks expected;
    };
    const Case cases[] = {
        {"numbers", {{"a", 1}, {"b", -2.5}}, {{u"a"_s, 1}, {u"b"_s, -2.5}}},
        {"texts and Booleans dropped", {{"a", "1"}, {"b", 2}, {"c", true}, {"d", nullptr}}, {{u"b"_s, 2}}},
        {"not an object", json::array({1, 2}), {}},
        {"a number", 3, {}},
        {"absent", json(), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ManualOrder::decodeRanks(c.stored), c.expected);
    }
}
