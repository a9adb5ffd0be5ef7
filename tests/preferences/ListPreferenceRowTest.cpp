#include "preferences/ListPreferenceRow.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QCoreApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>

using tavlin::preferences::ListPreferenceRow;
using namespace Qt::StringLiterals;

namespace {

void hover(QWidget& row, bool inside) {
    if (inside) {
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QCoreApplication::sendEvent(&row, &enter);
    } else {
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&row, &leave);
    }
}

QLabel* badge(ListPreferenceRow& row) {
    for (QLabel* label : row.findChildren<QLabel*>())
        if (label->text() == u"Default"_s) return label;
    return nullptr;
}

QPushButton* link(ListPreferenceRow& row) {
    for (QPushButton* button : row.findChildren<QPushButton*>())
        if (button->text() == u"Mark as default"_s) return button;
    return nullptr;
}

}  // namespace

TEST(ListPreferenceRowTest, DefaultBadgeOrHoverLinkBetweenTitleAndSwitch) {
    struct Case {
        const char* name;
        bool isDefault, isIncluded, hovered;
        bool badgeShown, linkShown;
    };
    const Case cases[] = {
        {"the default list", true, true, false, true, false},
        {"the default list, hovered", true, true, true, true, false},
        {"an included list", false, true, false, false, false},
        {"an included list, hovered", false, true, true, false, true},
        {"an excluded list, hovered", false, false, true, false, false},
        {"an excluded default list, hovered", true, false, true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ListPreferenceRow row(u"Work"_s, c.isIncluded, c.isDefault, false);
        row.resize(400, 30);
        row.show();
        hover(row, c.hovered);
        EXPECT_EQ(row.isHovering(), c.hovered);
        ASSERT_TRUE(badge(row) && link(row));
        EXPECT_EQ(badge(row)->isVisible(), c.badgeShown);
        EXPECT_EQ(link(row)->isVisible(), c.linkShown);
        hover(row, false);
        EXPECT_FALSE(link(row)->isVisible()) << "leaving hides the link";
    }
}

TEST(ListPreferenceRowTest, TheSwitchIsNamedForAccessibilityAndBindsTheList) {
    ListPreferenceRow row(u"Work"_s, true, false, false);
    QCheckBox* toggle = row.findChild<QCheckBox*>();
    ASSERT_NE(toggle, nullptr);
    EXPECT_EQ(toggle->text(), QString()) << "no visible label";
    EXPECT_EQ(toggle->accessibleName(), u"Show Work"_s);
    EXPECT_TRUE(toggle->isEnabled());

    QSignalSpy included(&row, &ListPreferenceRow::includedChanged);
    QSignalSpy markAsDefault(&row, &ListPreferenceRow::markAsDefaultRequested);
    row.show();
    hover(row, true);
    toggle->click();
    EXPECT_EQ(included.count(), 1);
    EXPECT_FALSE(included.at(0).at(0).toBool());
    EXPECT_FALSE(link(row)->isVisible()) << "excluding while hovered takes the link away";
    toggle->click();
    link(row)->click();
    EXPECT_EQ(markAsDefault.count(), 1);

    row.setCannotExclude(true);
    EXPECT_FALSE(toggle->isEnabled());
    ListPreferenceRow locked(u"Home"_s, true, true, true);
    EXPECT_FALSE(locked.findChild<QCheckBox*>()->isEnabled());
}
