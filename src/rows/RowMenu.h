#pragma once

#include "store/RescheduleTarget.h"

#include <QPoint>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QMenu;
class QWidget;

// A reminder row's context menu: its lines as plain values, worked out from
// the row, and the menu made of them.
namespace tavlin::rows {

// One line of the menu. A separator's other fields are ignored; a line with
// children opens a submenu and its own action never runs.
struct RowMenuEntry {
    QString title;
    bool isEnabled = true;
    bool isSeparator = false;
    std::function<void()> action;
    std::optional<std::vector<RowMenuEntry>> children;

    static RowMenuEntry separator() {
        return {.isSeparator = true, .action = [] {}};
    }
};

// What the row's lines do. Each line holds its own copies, so a menu still
// on screen acts as it was built after the row has changed.
struct RowMenuActions {
    std::function<void()> toggleCompletion;
    std::function<void()> open;
    std::function<void()> edit;
    std::function<void()> deleteSelection;
    std::function<void(store::RescheduleTarget)> reschedule;
};

// What decides the menu's shape.
struct RowMenuRow {
    bool isDone = false;
    int selectedCount = 1;  // the selection's count on a selected row, else 1
    bool hasDueDate = false;
};

// A done row: "Mark as To Do", "Show in Folder". An open reminder: mark
// done, Edit, Reschedule, Open, a separator and Delete, worded for the
// selection from two on (with Edit and Open disabled).
std::vector<RowMenuEntry> menuEntries(const RowMenuRow& row, const RowMenuActions& actions);
// Today, Tomorrow, This Weekend, Next Week, and with `withRemoval` a
// separator and "Remove Due Date".
std::vector<RowMenuEntry> rescheduleEntries(bool withRemoval, const RowMenuActions& actions);

// A menu of the entries, each item enabled exactly as its entry says.
QMenu* buildMenu(const std::vector<RowMenuEntry>& entries, QWidget* parent);

// Pops the menu up at `globalPosition` one turn later, so that whatever
// asked for it has finished; `menuVisible` hears true now and false once
// the menu has closed, whether or not a line was chosen.
void popUpMenu(std::vector<RowMenuEntry> entries, QPoint globalPosition, QWidget* parent,
               std::function<void(bool)> menuVisible);

}  // namespace tavlin::rows
