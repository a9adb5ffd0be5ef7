// The row and the stack that create the typed line, and the legend under
// them: who gives way in a narrow line, clicks, the stack's parts, and the
// legend's tag and wrapping.

#include "rows/CreateLegend.h"
#include "rows/CreateRow.h"
#include "rows/CreateStack.h"
#include "rows/ElidedLabel.h"
#include "rows/InterpretingIndicator.h"
#include "rows/ParseChips.h"

#include <gtest/gtest.h>
#include <QLayout>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tavlin::rows;

namespace {

const std::vector<ParseChip> twoChips{{Symbol::calendar, u"Tomorrow 17:00"_s}, {Symbol::exclamationCircle, u"!!"_s}};

// The text a label shows now, elided or not.
QString shown(const ElidedLabel& label) { return label.text(); }

void click(QWidget& widget, QPoint at) { QTest::mouseClick(&widget, Qt::LeftButton, Qt::NoModifier, at); }

}  // namespace

TEST(PreviewLine, TheTitleKeepsItsRoomWhileTheChipsAndTheHintGiveWay) {
    using Want = PreviewLine::Want;
    struct Case {
        const char* name;
        int room;
        PreviewLine::Widths widths;
    };
    // A title of 200, chips 150 (least 60), a hint 40 (least 20).
    const Case cases[] = {
        {"room for all", 400, {200, 150, 40}},
        {"the chips give way first", 360, {200, 120, 40}},
        {"down to their least", 300, {200, 60, 40}},
        {"then the hint", 290, {200, 60, 30}},
        {"both at their least, the title whole", 280, {200, 60, 20}},
        {"the title cut only now", 230, {150, 60, 20}},
        {"nothing left for the title", 70, {0, 50, 20}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PreviewLine::share(c.room, 200, Want{150, 60}, Want{40, 20}), c.widths) << c.name;
    EXPECT_EQ(PreviewLine::share(300, 200, Want{}, Want{40, 20}), (PreviewLine::Widths{200, 0, 40})) << "without chips";
}

TEST(CreateRow, ALongTitleIsCutOnlyOnceTheChipsAreAtTheirLeast) {
    CreateRow row;
    row.setInputs({.title = u"call mom"_s, .chips = twoChips});
    row.resize(440, row.sizeHint().height());
    row.show();
    EXPECT_EQ(shown(*row.titleLabel()), u"call mom"_s);
    EXPECT_EQ(row.chipsView()->width(), row.chipsView()->sizeHint().width());

    const QString longTitle = u"ask the landlord about the broken radiator in the back bedroom before it gets cold"_s;
    row.setInputs({.title = longTitle, .chips = twoChips});
    EXPECT_TRUE(shown(*row.titleLabel()).endsWith(u"…"_s));
    EXPECT_EQ(row.chipsView()->width(), row.chipsView()->minimumSizeHint().width());
    // Every part stays inside the highlight.
    for (const QWidget* part :
         {static_cast<const QWidget*>(row.titleLabel()), static_cast<const QWidget*>(row.chipsView()),
          static_cast<const QWidget*>(row.hintLabel())})
        EXPECT_TRUE(row.highlightRect().contains(part->geometry())) << part->metaObject()->className();
    EXPECT_LT(row.titleLabel()->geometry().right(), row.chipsView()->geometry().left());
    EXPECT_EQ(shown(*row.hintLabel()), u"↩"_s);
}

TEST(CreateRow, AClickAnywhereCreatesOnce) {
    CreateRow row;
    int created = 0;
    row.onCreate = [&] { ++created; };
    row.setInputs({.title = u"milk"_s, .chips = twoChips, .isSelected = true, .isInterpreting = true});
    row.resize(440, row.sizeHint().height());
    row.show();
    EXPECT_TRUE(row.isSelected());
    EXPECT_FALSE(row.indicator()->isHidden());
    // Between the indicator and the hint, on the title, and on a chip.
    const QPoint gap((row.indicator()->geometry().right() + row.hintLabel()->geometry().left()) / 2, row.height() / 2);
    for (const QPoint at : {gap, row.titleLabel()->geometry().center(), row.chipsView()->geometry().center()})
        click(row, at);
    EXPECT_EQ(created, 3);
}

TEST(CreateStack, ThreePartsThreeLinesTwoDividersOneCountAndEveryLineLit) {
    CreateStack stack;
    int created = 0;
    stack.onCreate = [&] { ++created; };
    stack.setReduceMotion([] { return true; });
    stack.setInputs({.parts = {{u"milk"_s, {}}, {u"call mom"_s, twoChips}, {u"eggs"_s, {}}},
                     .isSelected = true,
                     .interpretingIndices = {1, 7}});
    stack.resize(440, stack.sizeHint().height());
    stack.show();
    ASSERT_EQ(stack.partCount(), 3);
    EXPECT_EQ(stack.divider(0), nullptr);
    for (int i = 0; i < 3; ++i) {
        const PreviewLine& line = *stack.line(i);
        EXPECT_TRUE(line.isSelected()) << i;
        EXPECT_EQ(line.hintLabel()->fullText(), i == 0 ? u"↩ adds 3"_s : u""_s) << i;
        EXPECT_EQ(!line.indicator()->isHidden(), i == 1) << i;
        EXPECT_TRUE(stack.slot(i)->isHidden()) << "an empty slot takes no room";
        if (i > 0) {
            EXPECT_TRUE(stack.divider(i)->isVisible()) << i;
            EXPECT_GT(stack.divider(i)->geometry().top(), stack.line(i - 1)->geometry().bottom());
            EXPECT_LT(stack.divider(i)->geometry().bottom(), line.geometry().top());
        }
    }

    // What goes into a slot stands under its part and shows.
    auto* card = new QWidget;
    card->setFixedHeight(50);
    stack.slot(1)->layout()->addWidget(card);
    QCoreApplication::processEvents();
    EXPECT_FALSE(stack.slot(1)->isHidden());
    EXPECT_GT(stack.slot(1)->geometry().top(), stack.line(1)->geometry().bottom());
    EXPECT_LT(stack.slot(1)->geometry().bottom(), stack.divider(2)->geometry().top());

    // A click on a line, on a divider's gap: the whole stack, once each.
    click(stack, stack.line(2)->geometry().center());
    click(stack, stack.divider(1)->geometry().center());
    EXPECT_EQ(created, 2);

    // Two parts: the third line goes, the count follows, the rest stay.
    PreviewLine* first = stack.line(0);
    stack.setInputs({.parts = {{u"milk"_s, {}}, {u"bread"_s, {}}}});
    EXPECT_EQ(stack.partCount(), 2);
    EXPECT_EQ(stack.line(0), first);
    EXPECT_EQ(first->hintLabel()->fullText(), u"↩ adds 2"_s);
    EXPECT_FALSE(first->isSelected());
    EXPECT_TRUE(stack.line(1)->indicator()->isHidden());
}

TEST(CreateLegend, TheTagIsTheFirstListsKeyAndTheTextWrapsUncut) {
    struct Case {
        QStringList lists;
        QString tag;
    };
    for (const Case& c :
         {Case{{}, u"#list"_s}, {{u"Café Bar!"_s, u"Work"_s}, u"#cafebar"_s}, {{u"Home Office"_s}, u"#homeoffice"_s}})
        EXPECT_EQ(CreateLegend::tag(c.lists), c.tag) << c.lists.join(u", "_s).toStdString();
    EXPECT_EQ(CreateLegend::text({u"Work"_s}),
              u"Try: tomorrow 17:00 · every week · @home · #work · !! priority · 500 m · milk; call mom"_s);

    CreateLegend legend;
    legend.setListNames({u"Averyveryverylongnamedlistforgroceries"_s});
    const QStringList wide = legend.lines(2000);
    EXPECT_EQ(wide, QStringList{legend.text()});
    const QStringList narrow = legend.lines(120);
    EXPECT_GT(narrow.size(), 3);
    // Where the examples fit, lines break only between them, each dot
    // closing its line.
    for (const int width : {200, 260, 320, 440}) {
        const QStringList lines = CreateLegend().lines(width);
        EXPECT_GT(lines.size(), 1) << width;
        for (qsizetype i = 0; i + 1 < lines.size(); ++i)
            EXPECT_TRUE(lines[i].endsWith(u'·')) << width << ": " << lines[i].toStdString();
    }
    // Every character is on some line: a word wider than the line is broken,
    // not cut.
    QString joined = narrow.join(QString());
    QString whole = legend.text();
    EXPECT_EQ(joined.remove(u' '), whole.remove(u' '));
    EXPECT_GT(legend.heightForWidth(120), legend.heightForWidth(2000));
}
