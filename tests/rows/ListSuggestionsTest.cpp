#include "rows/ListSuggestions.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

using namespace Qt::StringLiterals;
using tavlin::rows::ListSuggestions;
using Fill = ListSuggestions::Fill;

namespace {

QStringList numberedLists(int count) {
    QStringList names;
    for (int i = 1; i <= count; ++i) names << u"List %1"_s.arg(i);
    return names;
}

// The view shown at a width, laid out.
struct Shown {
    explicit Shown(bool embedded, const QStringList& names, int selected = 0) : view(embedded) {
        view.setNames(names);
        view.setSelectedIndex(selected);
        view.resize(320, view.sizeHint().height());
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    int scrolled() const { return view.scrollArea()->verticalScrollBar()->value(); }
    // Row `index` as it lies in the scroll area's viewport now.
    QRect visibleRow(int index) const {
        const QRect row = view.rowRect(index);
        return {view.rowsView()->mapTo(view.scrollArea()->viewport(), row.topLeft()), row.size()};
    }
    bool fullyVisible(int index) const { return view.scrollArea()->viewport()->rect().contains(visibleRow(index)); }

    ListSuggestions view;
};

}  // namespace

TEST(ListSuggestions, TheFrameIsAtLeast40FloatingAndAtMostItsCap) {
    const std::tuple<int, bool, int> cases[] = {
        {0, false, 40},   {39, false, 40},  {100, false, 100}, {300, false, 260},
        {300, true, 160}, {150, true, 150}, {27, true, 27},    {0, true, 0},
    };
    for (const auto& [content, embedded, height] : cases)
        EXPECT_EQ(ListSuggestions::frameHeight(content, embedded), height) << content << " " << embedded;

    Shown empty(false, {});
    EXPECT_EQ(empty.view.scrollArea()->height(), 40);
    for (const bool embedded : {false, true}) {
        Shown one(embedded, numberedLists(1));
        EXPECT_EQ(one.view.scrollArea()->height(), std::max(one.view.contentHeight(), embedded ? 0 : 40))
            << embedded << ": no band under a single name in the edit row";
        Shown many(embedded, numberedLists(12));
        EXPECT_EQ(many.view.scrollArea()->height(), embedded ? 160 : 260) << embedded;
        EXPECT_GT(many.view.contentHeight(), many.view.scrollArea()->height());
        Shown two(embedded, numberedLists(2));
        EXPECT_EQ(two.view.scrollArea()->height(), two.view.contentHeight());
    }
}

TEST(ListSuggestions, TheFloatingLookHasItsTitleAndKeyHintsTheEmbeddedNone) {
    Shown floating(false, {u"Groceries"_s});
    QStringList texts;
    for (const QLabel* label : floating.view.findChildren<QLabel*>()) texts << label->text();
    EXPECT_EQ(texts, (QStringList{u"LISTS"_s, u"Return/Tab selects · ↑↓ moves · Esc keeps typing"_s}));
    // Floating rows are inset 8 from the sides; embedded ones are not.
    EXPECT_EQ(floating.view.rowRect(0).left(), 8);
    Shown embedded(true, {u"Groceries"_s});
    EXPECT_TRUE(embedded.view.findChildren<QLabel*>().isEmpty());
    EXPECT_EQ(embedded.view.rowRect(0).left(), 0);
    EXPECT_EQ(embedded.view.rowRect(0).width(), embedded.view.rowsView()->width());
}

// Embedded, the names lie on the edit row as it paints itself (its tint):
// nothing of theirs fills the gaps between them with the palette's Base.
TEST(ListSuggestions, EmbeddedTheNamesLieOnTheRowAsItIsPainted) {
    struct TintedRow : QWidget {
        void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), QColor(10, 200, 10)); }
    } row;
    QPalette palette = row.palette();
    palette.setColor(QPalette::Base, QColor(0, 0, 255));
    row.setPalette(palette);
    // Inside the list's viewport, as the edit row is, the role is the Base.
    row.setBackgroundRole(QPalette::Base);
    auto* view = new ListSuggestions(true, &row);
    view->setNames({u"Groceries"_s, u"Work"_s});
    view->setSelectedIndex(0);
    row.resize(320, 120);
    view->resize(320, view->sizeHint().height());
    row.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&row));
    const QRect second = view->rowRect(1);
    const QPoint gap = view->rowsView()->mapTo(&row, QPoint(second.center().x(), second.bottom()));
    EXPECT_EQ(row.grab().toImage().pixelColor(gap), QColor(10, 200, 10));
}

TEST(ListSuggestions, TheSelectionWinsOverTheHoverAndAnIndexOutOfRangeFillsNothing) {
    struct Case {
        int index;
        int selected;
        std::optional<int> hovered;
        Fill fill;
    };
    const Case cases[] = {
        {1, 1, 1, Fill::selection}, {1, 1, std::nullopt, Fill::selection}, {2, 1, 2, Fill::hover},
        {0, 1, 2, Fill::none},      {0, -1, std::nullopt, Fill::none},     {0, 3, std::nullopt, Fill::none},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ListSuggestions::fill(c.index, c.selected, c.hovered), c.fill)
            << c.index << " " << c.selected << " " << c.hovered.value_or(-1);
}

TEST(ListSuggestions, ALeaveClearsTheHoverOnlyWhileItIsThatRows) {
    Shown shown(false, numberedLists(4));
    ListSuggestions& view = shown.view;
    view.pointerEntered(2);
    view.pointerEntered(3);  // before row 2's leave
    view.pointerLeft(2);
    EXPECT_EQ(view.hoveredIndex(), 3);
    view.pointerLeft(3);
    EXPECT_EQ(view.hoveredIndex(), std::nullopt);

    // The pointer itself.
    QWidget* rows = view.rowsView();
    QTest::mouseMove(rows, view.rowRect(1).center());
    EXPECT_EQ(view.hoveredIndex(), 1);
    QTest::mouseMove(rows, view.rowRect(2).center());
    EXPECT_EQ(view.hoveredIndex(), 2);
}

TEST(ListSuggestions, AClickAnywhereOnARowPicksItsNameAsGiven) {
    const QStringList names{u"Groceries"_s, u"Ärzte & Termine"_s, u"Work"_s};
    Shown shown(false, names);
    QStringList picked;
    shown.view.setOnPick([&](const QString& name) { picked << name; });
    const QRect row = shown.view.rowRect(1);
    // Between the name and its key, at the row's top edge, and its last pixel.
    for (const QPoint at :
         {QPoint(row.center().x() + 40, row.center().y()), QPoint(row.left() + 2, row.top()), row.bottomRight()})
        QTest::mouseClick(shown.view.rowsView(), Qt::LeftButton, {}, at);
    EXPECT_EQ(picked, (QStringList{names[1], names[1], names[1]}));
    // Pressed on one row and let go on another: no click.
    QTest::mousePress(shown.view.rowsView(), Qt::LeftButton, {}, shown.view.rowRect(0).center());
    QTest::mouseRelease(shown.view.rowsView(), Qt::LeftButton, {}, shown.view.rowRect(2).center());
    EXPECT_EQ(picked.size(), 3);
}

TEST(ListSuggestions, ANewSelectionComesIntoViewWithTheLeastScrolling) {
    // On first showing the selection is not scrolled to.
    Shown late(false, numberedLists(12), 9);
    EXPECT_EQ(late.scrolled(), 0);

    Shown shown(false, numberedLists(12));
    ListSuggestions& view = shown.view;
    ASSERT_FALSE(shown.fullyVisible(9));
    view.setSelectedIndex(9);
    EXPECT_TRUE(shown.fullyVisible(9));
    // Its bottom at the bottom: no further than needed.
    EXPECT_EQ(shown.visibleRow(9).bottom(), view.scrollArea()->viewport()->height() - 1);
    const int atNine = shown.scrolled();
    view.setSelectedIndex(8);
    EXPECT_EQ(shown.scrolled(), atNine) << "already in view";
    // Out of range: nothing moves.
    for (const int outside : {12, -1}) {
        view.setSelectedIndex(outside);
        EXPECT_EQ(shown.scrolled(), atNine) << outside;
    }
    view.setSelectedIndex(0);
    EXPECT_EQ(shown.visibleRow(0).top(), 0);
}
