#pragma once

#include "panel/ListRow.h"
#include "rows/ReminderRow.h"

#include <QAbstractItemDelegate>
#include <QHash>

#include <functional>
#include <memory>
#include <optional>

namespace tavlin::panel::widgets {

// Paints each row of the panel's list (a ReminderListModel): section
// headers, reminders, "Nothing to do" and the done rows, with no widget per
// row. Heights come from the text's layout and are kept per row and width
// until the row changes. A click is told as one signal: on a reminder's text
// it selects, a double click selects and then opens, the checkbox only
// toggles completion, and a right click or a Meta+click (Ctrl+click
// toggles the selection) asks for the row's menu. The row being edited is
// the list's editor widget, as high as it asks; a swiped row slides aside
// over its two actions.
class ReminderRowDelegate : public QAbstractItemDelegate {
    Q_OBJECT

public:
    // `context` gives what a row is read against (the wall clock, the
    // calendar, the lists' titles); `width` the width rows are laid out in.
    ReminderRowDelegate(std::function<rows::ReminderRowContext()> context, std::function<int()> width,
                        QObject* parent = nullptr);
    ~ReminderRowDelegate() override;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

    // The checkbox's animation of a row being completed: how far its dot
    // has grown and the burst's progress (none: no burst).
    using Animation = std::function<std::pair<double, std::optional<double>>(const QString& id)>;
    void setAnimation(Animation animation) { animation_ = std::move(animation); }
    // How high the editor of the row `id` is; how far the row `id` is swiped.
    void setEditorHeight(std::function<int(const QString& id)> height) { editorHeight_ = std::move(height); }
    void setSwipeOffset(std::function<double(const QString& id)> offset) { swipeOffset_ = std::move(offset); }
    // The swiped row's two actions, in the row's rectangle: Edit, then Delete at the trailing edge.
    static QRectF swipeEditRect(const QRectF& row);
    static QRectF swipeDeleteRect(const QRectF& row);
    // The row whose menu is on screen.
    void setMenuRow(std::optional<QString> id) { menuRow_ = std::move(id); }
    const std::optional<QString>& menuRow() const { return menuRow_; }
    // Due texts say "Today" by the day they were made: forget them at a new day.
    void forgetPresentations() { presentations_.clear(); }

    // The height of the row at `index` in the list's font, its paddings in.
    int height(const QModelIndex& index, const QFont& font) const;

    // Where `point` falls in the row at `rect`.
    rows::ReminderRowPart hitTest(const ListRow& row, const QRect& rect, const QPoint& point, const QFont& font) const;
    // The row's own rectangle inside its item: its paddings off.
    static QRectF rowRect(const ListRow& row, const QRect& item);

signals:
    void selectRequested(int flatIndex, Qt::KeyboardModifiers modifiers);
    void doneRowSelectRequested();
    void openRequested(const tavlin::platform::Reminder& reminder);
    void toggleCompletionRequested(const tavlin::platform::Reminder& reminder, bool isDone);
    void menuRequested(const tavlin::panel::ListRow& row, const QPoint& globalPosition);

private:
    struct Cached;
    const rows::ReminderRowPainter& painter(const QFont& font) const;
    const rows::ReminderRowPresentation& presentation(const QModelIndex& index) const;
    void paintSwipeActions(QPainter& painter, const QRectF& row, double offset, const QPalette& palette) const;

    std::function<rows::ReminderRowContext()> context_;
    std::function<int()> width_;
    Animation animation_;
    std::function<int(const QString&)> editorHeight_;
    std::function<double(const QString&)> swipeOffset_;
    std::optional<QString> menuRow_;
    mutable std::unique_ptr<rows::ReminderRowPainter> painter_;
    mutable QFont painterFont_;
    mutable QHash<QString, Cached> heights_;
    mutable QHash<QString, std::pair<quint64, rows::ReminderRowPresentation>> presentations_;
    // The press that a release completes: its row and part.
    QPersistentModelIndex pressed_;
    rows::ReminderRowPart pressedPart_ = rows::ReminderRowPart::none;
};

}  // namespace tavlin::panel::widgets
