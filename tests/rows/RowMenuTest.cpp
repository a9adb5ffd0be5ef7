// The row's menu: its three shapes and their wording, the reschedule
// submenu, the actions each line keeps, and the menu made of them.

#include "rows/RowMenu.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <QWidget>

using namespace Qt::StringLiterals;
using tavlin::rows::RowMenuActions;
using tavlin::rows::RowMenuEntry;
using tavlin::rows::RowMenuRow;
using tavlin::store::RescheduleTarget;

namespace {

// "Title" for an enabled line, "(Title)" for a disabled one, "-" for a
// separator, and a submenu's lines in brackets after its title.
QString shape(const std::vector<RowMenuEntry>& entries) {
    QStringList lines;
    for (const RowMenuEntry& entry : entries) {
        if (entry.isSeparator) {
            lines << u"-"_s;
            continue;
        }
        QString line = entry.isEnabled ? entry.title : u"("_s + entry.title + u")"_s;
        if (entry.children) line += u" ["_s + shape(*entry.children) + u"]"_s;
        lines << line;
    }
    return lines.join(u" | "_s);
}

// Actions that note what they were asked.
struct Heard {
    QStringList calls;
    RowMenuActions actions() {
        return {.toggleCompletion = [this] { calls << u"toggle"_s; },
                .open = [this] { calls << u"open"_s; },
                .edit = [this] { calls << u"edit"_s; },
                .deleteSelection = [this] { calls << u"delete"_s; },
                .reschedule = [this](RescheduleTarget target) { calls << u"reschedule %1"_s.arg(int(target)); }};
    }
};

}  // namespace

TEST(RowMenuTest, TheThreeShapes) {
    const QString dates = u"Today | Tomorrow | This Weekend | Next Week"_s;
    const QString removal = dates + u" | - | Remove Due Date"_s;
    const struct {
        RowMenuRow row;
        QString menu;
    } cases[] = {
        {{.isDone = true, .selectedCount = 3}, u"Mark as To Do | Show in Folder"_s},
        {{.selectedCount = 0},
         u"Mark as Done | Edit | Reschedule ["_s + dates + u"] | Show in Folder | - | Delete Reminder"_s},
        {{.selectedCount = 1, .hasDueDate = true},
         u"Mark as Done | Edit | Reschedule ["_s + removal + u"] | Show in Folder | - | Delete Reminder"_s},
        {{.selectedCount = 3},
         u"Mark 3 as Done | (Edit) | Reschedule 3 Reminders ["_s + removal +
             u"] | (Show in Folder) | - | Delete 3 Reminders"_s},
        {{.selectedCount = 1200},
         u"Mark 1200 as Done | (Edit) | Reschedule 1200 Reminders ["_s + removal +
             u"] | (Show in Folder) | - | Delete 1200 Reminders"_s},
    };
    Heard heard;
    for (const auto& c : cases) EXPECT_EQ(shape(menuEntries(c.row, heard.actions())), c.menu);
}

TEST(RowMenuTest, EachLineRunsTheActionItWasBuiltWith) {
    std::vector<RowMenuEntry> entries;
    QStringList calls;
    {
        Heard heard;
        entries = menuEntries({.hasDueDate = true}, heard.actions());
        for (const RowMenuEntry& entry : entries) entry.action();
        for (const RowMenuEntry& entry : *entries[2].children) entry.action();
        calls = heard.calls;
    }
    EXPECT_EQ(calls, (QStringList{u"toggle"_s, u"edit"_s, u"open"_s, u"delete"_s, u"reschedule 0"_s, u"reschedule 1"_s,
                                  u"reschedule 2"_s, u"reschedule 3"_s, u"reschedule 4"_s}))
        << "a submenu's own action and a separator's do nothing";
}

TEST(RowMenuTest, TheMenuKeepsEachLinesStateAndTellsWhenItIsShown) {
    Heard heard;
    QWidget owner;
    const std::vector<RowMenuEntry> entries = menuEntries({.selectedCount = 2}, heard.actions());
    std::unique_ptr<QMenu> menu(tavlin::rows::buildMenu(entries, nullptr));
    const QList<QAction*> items = menu->actions();
    ASSERT_EQ(items.size(), 6);
    EXPECT_EQ(items[1]->text(), u"Edit"_s);
    EXPECT_FALSE(items[1]->isEnabled());
    EXPECT_TRUE(items[4]->isSeparator());
    ASSERT_TRUE(items[2]->menu());
    EXPECT_EQ(items[2]->menu()->actions().size(), 6);
    items[2]->menu()->actions()[5]->trigger();
    EXPECT_EQ(heard.calls, QStringList{u"reschedule 4"_s});

    // Shown a turn later; closed without a choice, then with one.
    for (const bool choose : {false, true}) {
        QList<bool> visible;
        tavlin::rows::popUpMenu(entries, {10, 10}, &owner, [&](bool shown) { visible << shown; });
        EXPECT_EQ(visible, QList<bool>{true});
        QTimer::singleShot(50, [choose] {
            auto* shown = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_TRUE(shown);
            if (choose) shown->actions().at(0)->trigger();
            shown->close();
        });
        while (visible.size() < 2) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        EXPECT_EQ(visible, (QList<bool>{true, false}));
    }
    EXPECT_EQ(heard.calls.last(), u"toggle"_s);
}
