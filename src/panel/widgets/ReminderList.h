#pragma once

#include "panel/ListRow.h"
#include "panel/RowSwipe.h"
#include "store/PanelSection.h"

#include <QHash>
#include <QListView>
#include <QPointer>

#include <optional>

class QTimer;
class QVariantAnimation;

namespace tavlin::rows {
class EditReminderRow;
}

namespace tavlin::panel {
class PanelModel;
class ReminderListModel;
}  // namespace tavlin::panel

namespace tavlin::panel::widgets {

class ReminderRowDelegate;

// The panel's list of reminders: a view of the model's list rows, painted
// by a ReminderRowDelegate. It takes the keyboard without a focus frame,
// keeps the cursor in view with the least scrolling, is as high as the
// model says and reports its heights, plays the checkbox's completion, and
// lets a reminder be dragged to another place in its own section. A row's
// menu opens on a right click, a Meta+click, the Menu key or Shift+F10; a
// sideways two-finger scroll on a row shows its Edit and Delete. The row
// being edited is the one real widget in the list, an EditReminderRow.
class ReminderList : public QListView {
    Q_OBJECT

public:
    explicit ReminderList(PanelModel& model, QWidget* parent = nullptr);
    ~ReminderList() override;

    ReminderListModel* listModel() const { return rows_; }
    ReminderRowDelegate* delegate() const { return delegate_; }

    // The item of the list row with `id`.
    QModelIndex indexOfRow(const QString& id) const;

    // The edit's row while an edit is open.
    rows::EditReminderRow* editRow() const { return editor_; }
    // The row's menu at `globalPosition`, a turn later.
    void showMenu(const ListRow& row, const QPoint& globalPosition);
    const RowSwipe& swipe() const { return swipe_; }
    // Row `id` shows its swipe's actions.
    void revealSwipe(const QString& id);

signals:
    // The edit's field appeared (or went: null).
    void editFieldChanged(QWidget* field);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void updateGeometries() override;

private:
    // A reminder held by the mouse, and where it would go.
    struct Drag {
        QPersistentModelIndex source;
        QPoint pressedAt;
        bool moving = false;
        std::optional<int> destination;  // an offset in the section, before the move
    };

    void render();
    // The list's height from its rows' heights, and the report of it.
    void updateFrame();
    double measuredContentHeight() const;
    int rowWidth() const;
    void followCompletions();
    void followEdit();
    void closeEditRow();
    void relayoutRows();
    void swipeReleased();
    // A press on a shown swipe action: taken.
    bool pressSwipeAction(const QPoint& at);
    void menuForCursor();
    std::pair<double, std::optional<double>> animation(const QString& id) const;
    void scrollCursorIntoView();
    void reportMetrics();
    // The rows of the dragged reminder's section: the first and the count.
    std::pair<int, int> sectionRows(const QModelIndex& source) const;
    std::optional<int> dropDestination(const QPoint& at) const;
    // The model while its panel is open.
    PanelModel* live() const;

    QPointer<PanelModel> model_;
    ReminderListModel* rows_;
    ReminderRowDelegate* delegate_;
    QHash<QString, QVariantAnimation*> completions_;
    QHash<QString, QString> listTitles_;  // by the lists' identifiers
    std::optional<int> shownCursor_;
    // The cursor's row was not laid out yet when it was to be scrolled to.
    bool cursorScrollPending_ = false;
    rows::EditReminderRow* editor_ = nullptr;
    QString editorID_;
    RowSwipe swipe_;
    QTimer* swipeRelease_;
    std::optional<Drag> drag_;
    int laidOutWidth_ = 0;
    double measuredContent_ = 0;
    double reportedContent_ = -1;
    int reportedFrame_ = -1;
};

}  // namespace tavlin::panel::widgets
