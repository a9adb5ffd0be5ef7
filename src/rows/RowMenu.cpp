#include "rows/RowMenu.h"

#include <QMenu>
#include <QPointer>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace tavlin::rows {

namespace {

void nothing() {}

RowMenuEntry entry(QString title, std::function<void()> action, bool enabled = true) {
    return {.title = std::move(title), .isEnabled = enabled, .action = action ? std::move(action) : nothing};
}

}  // namespace

std::vector<RowMenuEntry> rescheduleEntries(bool withRemoval, const RowMenuActions& actions) {
    using store::RescheduleTarget;
    const auto to = [reschedule = actions.reschedule](RescheduleTarget target) -> std::function<void()> {
        return [reschedule, target] {
            if (reschedule) reschedule(target);
        };
    };
    std::vector<RowMenuEntry> entries{
        entry(u"Today"_s, to(RescheduleTarget::today)),
        entry(u"Tomorrow"_s, to(RescheduleTarget::tomorrow)),
        entry(u"This Weekend"_s, to(RescheduleTarget::thisWeekend)),
        entry(u"Next Week"_s, to(RescheduleTarget::nextWeek)),
    };
    if (withRemoval) {
        entries.push_back(RowMenuEntry::separator());
        entries.push_back(entry(u"Remove Due Date"_s, to(RescheduleTarget::removeDate)));
    }
    return entries;
}

std::vector<RowMenuEntry> menuEntries(const RowMenuRow& row, const RowMenuActions& actions) {
    if (row.isDone)
        return {entry(u"Mark as To Do"_s, actions.toggleCompletion), entry(u"Show in Folder"_s, actions.open)};
    const bool several = row.selectedCount >= 2;
    const QString count = QString::number(row.selectedCount);
    RowMenuEntry reschedule = entry(several ? u"Reschedule "_s + count + u" Reminders"_s : u"Reschedule"_s, nothing);
    reschedule.children = rescheduleEntries(several || row.hasDueDate, actions);
    return {
        entry(several ? u"Mark "_s + count + u" as Done"_s : u"Mark as Done"_s, actions.toggleCompletion),
        entry(u"Edit"_s, actions.edit, !several),
        std::move(reschedule),
        entry(u"Show in Folder"_s, actions.open, !several),
        RowMenuEntry::separator(),
        entry(several ? u"Delete "_s + count + u" Reminders"_s : u"Delete Reminder"_s, actions.deleteSelection),
    };
}

QMenu* buildMenu(const std::vector<RowMenuEntry>& entries, QWidget* parent) {
    auto* menu = new QMenu(parent);
    for (const RowMenuEntry& entry : entries) {
        if (entry.isSeparator) {
            menu->addSeparator();
            continue;
        }
        if (entry.children) {
            QMenu* submenu = buildMenu(*entry.children, menu);
            submenu->setTitle(entry.title);
            submenu->menuAction()->setEnabled(entry.isEnabled);
            menu->addMenu(submenu);
            continue;
        }
        QAction* item = menu->addAction(entry.title);
        item->setEnabled(entry.isEnabled);
        QObject::connect(item, &QAction::triggered, menu, [action = entry.action] {
            if (action) action();
        });
    }
    return menu;
}

void popUpMenu(std::vector<RowMenuEntry> entries, QPoint globalPosition, QWidget* parent,
               std::function<void(bool)> menuVisible) {
    if (menuVisible) menuVisible(true);
    const QPointer<QWidget> owner(parent);
    QTimer::singleShot(0, [entries = std::move(entries), globalPosition, owner, menuVisible = std::move(menuVisible)] {
        if (owner) {
            QMenu* menu = buildMenu(entries, owner);
            const QPointer<QMenu> shown(menu);
            // Returns once the menu has closed; a chosen line has run by then.
            menu->exec(globalPosition);
            if (shown) shown->deleteLater();
        }
        if (menuVisible) menuVisible(false);
    });
}

}  // namespace tavlin::rows
