// What stands in the list's place: the placeholder, the row or the stack of
// the typed line with its selection and its model flags, and the places
// previewed under each task.

#include "panel/CreateArea.h"

#include "PanelModelFixture.h"

#include <gtest/gtest.h>
#include <QCoreApplication>

using namespace Qt::StringLiterals;
using namespace tavlin::panel;
using tavlin::parsing::ParsedQuickAdd;

namespace {

class CreateAreaTest : public PanelModelFixture {
protected:
    PanelModel& typed(const QString& line) {
        PanelModel& panel = makeModel();
        QCoreApplication::processEvents();
        panel.typedLine().setQuery(line);
        return panel;
    }
    static QStringList titles(const CreateAreaContent& content) {
        QStringList found;
        for (const CreatePart& part : content.parts) found << part.parsed.title;
        return found;
    }
};

using Trigger = tavlin::parsing::LocationTrigger;

LocationRequest place(const char* name) { return {QString::fromUtf8(name), std::nullopt, Trigger::arrive}; }

}  // namespace

TEST_F(CreateAreaTest, ThePlaceholderReadsTheFieldAsTypedAndTheCreateTestTrimmed) {
    storeWith({reminder("milk")}, {list("L1", "Groceries"), list("L2", "Work")});
    struct Case {
        const char* name;
        QString query;
        std::optional<QString> placeholder;
        QStringList titles;
    };
    const Case cases[] = {
        {"an empty field", u""_s, u"Nothing to do"_s, {}},
        {"blanks only: a search that finds nothing", u"  \n"_s, u"No matches"_s, {}},
        {"a reminder matches", u"milk"_s, u"No matches"_s, {}},
        {"nothing matches: the trimmed line", u"  bread \n"_s, std::nullopt, {u"bread"_s}},
    };
    for (const Case& c : cases) {
        const CreateAreaContent content = typed(c.query).createAreaContent();
        EXPECT_EQ(content.placeholder, c.placeholder) << c.name;
        EXPECT_EQ(titles(content), c.titles) << c.name;
        const QStringList legend = c.titles.isEmpty() ? QStringList() : QStringList{u"Groceries"_s, u"Work"_s};
        EXPECT_EQ(content.listNames, legend) << c.name;
    }
    EXPECT_FALSE(typed(u"milk"_s).list().showsCreateArea()) << "the list shows the match";
    EXPECT_TRUE(typed(u"bread"_s).list().showsCreateArea());
}

TEST_F(CreateAreaTest, TheCreateContentIsSelectedWhenTheCursorIsOnTheCreateRow) {
    storeWith({});
    PanelModel& panel = typed(u"call mom tomorrow 17:00 !!"_s);
    CreateAreaContent content = panel.createAreaContent();
    ASSERT_EQ(content.parts.size(), 1u);
    EXPECT_FALSE(content.isStack());
    EXPECT_FALSE(content.selected);
    EXPECT_EQ(content.parts[0].parsed, panel.typedLine().effectiveParsed());
    EXPECT_EQ(content.parts[0].parsed.title, u"call mom"_s);

    panel.fieldActions().handleFieldArrowDown();
    EXPECT_TRUE(panel.createAreaContent().selected);
    panel.typedLine().setSmartParseInFlight(true);
    EXPECT_TRUE(panel.createAreaContent().parts[0].interpreting);
}

TEST_F(CreateAreaTest, AStackPreviewsEachPlaceOnceUnderTheFirstTaskNamingIt) {
    storeWith({});
    PanelModel& panel = typed(u"milk @gym; eggs @gym within 200m; tea @home; bread"_s);
    panel.typedLine().setSmartPartsInFlight({u"tea @home"_s});
    const CreateAreaContent content = panel.createAreaContent();
    ASSERT_TRUE(content.isStack());
    EXPECT_EQ(titles(content), (QStringList{u"milk"_s, u"eggs"_s, u"tea"_s, u"bread"_s}));
    const std::vector<std::vector<LocationRequest>> places{{place("gym")}, {}, {place("home")}, {}};
    for (std::size_t i = 0; i < places.size(); ++i) {
        EXPECT_EQ(content.parts[i].places, places[i]) << i;
        EXPECT_EQ(content.parts[i].interpreting, i == 2) << i;
    }

    // A row shows every place its line names.
    panel.typedLine().setQuery(u"post letter @office"_s);
    EXPECT_EQ(panel.createAreaContent().parts.at(0).places, std::vector{place("office")});

    // Without a request for a part's place (not made yet), no card; the
    // name must match exactly.
    const std::vector<ParsedQuickAdd> parts{{.title = u"a"_s, .locationName = u"Gym"_s},
                                            {.title = u"b"_s, .locationName = u"gym"_s}};
    EXPECT_EQ(partLocationCard(0, parts, {}), std::nullopt);
    EXPECT_EQ(partLocationCard(0, parts, {place("gym")}), std::nullopt);
    EXPECT_EQ(partLocationCard(1, parts, {place("gym")}), place("gym"));
    EXPECT_EQ(partLocationCard(2, parts, {place("gym")}), std::nullopt);
}
