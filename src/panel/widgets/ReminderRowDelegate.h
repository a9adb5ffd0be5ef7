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
// toggles completion, and a right click asks for the row's menu.
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

    // The checkbox's animation of a row being completed: how far its dot
    // has grown and the burst's progress (none: no burst).
    using Animation = std::function<std::pair<double, std::optional<double>>(const QString& id)>;
    void setAnimation(Animation animation) { animation_ = std::move(animation); }
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
    void menuRequested(const tavlin::platform::Reminder& reminder, bool isDone, const QPoint& globalPosition);

private:
    struct Cached;
    const rows::ReminderRowPainter& painter(const QFont& font) const;
    const rows::ReminderRowPresentation& presentation(const QModelIndex& index) const;

    std::function<rows::ReminderRowContext()> context_;
    std::function<int()> width_;
    Animation animation_;
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
