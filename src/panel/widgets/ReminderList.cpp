#include "panel/widgets/ReminderList.h"

#include "panel/PanelModel.h"
#include "panel/PanelNotifications.h"
#include "panel/ReminderListModel.h"
#include "panel/widgets/ReminderRowDelegate.h"
#include "rows/EditReminderRow.h"
#include "rows/Look.h"
#include "rows/ParseChips.h"
#include "rows/RowMenu.h"
#include "store/ContinuousObservation.h"

#include <QApplication>
#include <QEasingCurve>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QVariantAnimation>

#include <cmath>

namespace tavlin::panel::widgets {

namespace {

constexpr int burstMs = int(rows::ReminderRowPainter::burstSeconds * 1000);
constexpr int fillMs = int(rows::ReminderRowPainter::fillSeconds * 1000);
// A swipe ends when the fingers have been still this long.
constexpr int swipeRestMs = 180;
// A wheel's notch in pixels, for scrolls without pixel steps.
constexpr double pixelsPerNotch = 40;
// More rows than the tallest list shows.
constexpr int layoutBatch = 100;

}  // namespace

ReminderList::ReminderList(PanelModel& model, QWidget* parent)
    : QListView(parent), model_(&model), rows_(new ReminderListModel(this)), swipeRelease_(new QTimer(this)) {
    delegate_ = new ReminderRowDelegate(
        [this] {
            rows::ReminderRowContext context;
            if (!model_) return context;
            context.now = model_->wallClock().now();
            context.calendar = &model_->wallClock().calendar;
            context.listTitle = [this](const QString& identifier) -> std::optional<QString> {
                const auto found = listTitles_.constFind(identifier);
                return found == listTitles_.cend() ? std::nullopt : std::optional(*found);
            };
            return context;
        },
        [this] { return rowWidth(); }, this);
    delegate_->setAnimation([this](const QString& id) { return animation(id); });
    delegate_->setEditorHeight(
        [this](const QString& id) { return editor_ && editorID_ == id ? editor_->sizeHint().height() : 0; });
    delegate_->setSwipeOffset([this](const QString& id) { return swipe_.offset(id); });
    swipeRelease_->setSingleShot(true);
    swipeRelease_->setInterval(swipeRestMs);
    connect(swipeRelease_, &QTimer::timeout, this, &ReminderList::swipeReleased);
    setModel(rows_);
    setItemDelegate(delegate_);

    setFrameShape(QFrame::NoFrame);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(false);
    // The rows in sight are laid out (and measured) before the first frame,
    // the rest in the turns after it: a long list opens as fast as a short.
    setLayoutMode(QListView::Batched);
    setBatchSize(layoutBatch);
    setSpacing(0);
    setFocusPolicy(Qt::StrongFocus);
    // A focus target without a focus frame.
    setAttribute(Qt::WA_MacShowFocusRect, false);
    viewport()->setAutoFillBackground(false);
    setAutoFillBackground(false);
    setAccessibleName(tr("Reminders"));
    setProperty("tavlinMovesWindow", false);

    connect(delegate_, &ReminderRowDelegate::selectRequested, this, [this](int index, Qt::KeyboardModifiers mods) {
        if (PanelModel* model = live()) model->listActions().rowSelected(index, mods);
    });
    connect(delegate_, &ReminderRowDelegate::doneRowSelectRequested, this, [this] {
        if (PanelModel* model = live()) model->listActions().doneRowSelected();
    });
    connect(delegate_, &ReminderRowDelegate::openRequested, this, [this](const platform::Reminder& reminder) {
        if (PanelModel* model = live()) model->rowActions().openInReminders(reminder);
    });
    connect(delegate_, &ReminderRowDelegate::toggleCompletionRequested, this,
            [this](const platform::Reminder& reminder, bool isDone) {
                PanelModel* model = live();
                if (!model) return;
                if (isDone) return model->rowActions().doneRowToggled(reminder);
                // The whole selection when the row is part of it, else the row alone.
                const std::vector<platform::Reminder> selected = model->list().selectedReminders();
                const bool inSelection = std::any_of(selected.begin(), selected.end(), [&](const auto& other) {
                    return other.identifier == reminder.identifier;
                });
                model->rowActions().completeReminders(inSelection ? selected : std::vector{reminder});
            });
    connect(delegate_, &ReminderRowDelegate::menuRequested, this, &ReminderList::showMenu);
    connect(&model.store(), &store::ReminderStore::nowChanged, this, [this] {
        delegate_->forgetPresentations();
        viewport()->update();
    });
    store::ContinuousObservation::observe(*this, [this] { render(); });
}

ReminderList::~ReminderList() = default;

PanelModel* ReminderList::live() const { return model_ && !model_->isClosed() ? model_.data() : nullptr; }

QModelIndex ReminderList::indexOfRow(const QString& id) const {
    const int row = rows_->indexOf(id);
    return row < 0 ? QModelIndex() : rows_->index(row);
}

int ReminderList::rowWidth() const {
    // The list spans the panel's content: rows are measured at that width
    // before the panel lays the list out, and never twice.
    const int width = model_ ? int(std::lround(model_->contentWidth())) : this->width();
    return width - (verticalScrollBar()->isVisible() ? verticalScrollBar()->width() : 0);
}

double ReminderList::measuredContentHeight() const {
    // Past the tallest the list can be, more rows change neither its frame
    // nor a resize: the rows below are measured when they are laid out.
    double height = 0;
    for (int row = 0; row < rows_->rowCount() && height <= PanelList::tallestListFrame(); ++row)
        height += delegate_->height(rows_->index(row), font());
    return height;
}

void ReminderList::updateFrame() {
    PanelModel* model = live();
    if (!model) return;
    // The rows' own heights where the list shows them; the create area's
    // measure where it does not.
    measuredContent_ = model->list().hasListRows() ? measuredContentHeight() : model->list().listContentHeight();
    setFixedHeight(
        int(std::lround(PanelList::listFrameHeight(measuredContent_, model->settings().pinnedPanelListHeight()))));
    reportMetrics();
}

void ReminderList::render() {
    PanelModel* model = live();
    if (!model) return;
    // The lists' titles once per render, not once per row.
    listTitles_.clear();
    for (const platform::ReminderList& list : model->store().lists()) listTitles_.insert(list.identifier, list.title);
    rows_->setRows(model->list().listRows());
    followEdit();
    if (swipe_.row() && indexOfRow(*swipe_.row()).isValid() == false) swipe_.close();
    updateFrame();
    followCompletions();
    if (model->rowSelection().selectedIndex() != shownCursor_) {
        shownCursor_ = model->rowSelection().selectedIndex();
        scrollCursorIntoView();
    }
}

void ReminderList::followCompletions() {
    QSet<QString> completing;
    for (const ListRow& row : model_->list().listRows())
        if (row.isCompleting) completing.insert(row.id);
    for (auto it = completions_.begin(); it != completions_.end();) {
        if (completing.contains(it.key())) {
            ++it;
            continue;
        }
        delete it.value();
        it = completions_.erase(it);
    }
    if (model_->reduceMotion()) return;
    for (const QString& id : completing) {
        if (completions_.contains(id)) continue;
        auto* animation = new QVariantAnimation(this);
        animation->setStartValue(0.0);
        animation->setEndValue(1.0);
        animation->setDuration(burstMs);
        connect(animation, &QVariantAnimation::valueChanged, viewport(), [this, id] {
            if (const QModelIndex index = indexOfRow(id); index.isValid()) viewport()->update(visualRect(index));
        });
        completions_.insert(id, animation);
        animation->start();
    }
}

std::pair<double, std::optional<double>> ReminderList::animation(const QString& id) const {
    const auto found = completions_.constFind(id);
    // Without motion the dot is there at once, with no burst.
    if (found == completions_.cend()) return {1.0, std::nullopt};
    const double elapsed = (*found)->currentTime();
    const QEasingCurve easeOut(QEasingCurve::OutQuad);
    const double fill = easeOut.valueForProgress(std::min(1.0, elapsed / fillMs));
    const double burst = easeOut.valueForProgress(std::min(1.0, elapsed / burstMs));
    return {fill, burst < 1.0 ? std::optional(burst) : std::nullopt};
}

// The edit's row.

void ReminderList::followEdit() {
    PanelModel* model = live();
    const std::optional<QString> id = model ? model->inlineEdit().editingID() : std::nullopt;
    const QModelIndex index = id ? indexOfRow(*id) : QModelIndex();
    if (editor_ && (!index.isValid() || editorID_ != *id)) closeEditRow();
    if (!index.isValid()) return;
    if (!editor_) {
        editorID_ = *id;
        editor_ = new rows::EditReminderRow(viewport());
        const QPointer<PanelModel> panel(model);
        const auto open = [panel] { return panel && !panel->isClosed() ? panel.data() : nullptr; };
        editor_->setActions({
            .onTextEdited =
                [open](const QString& text) {
                    if (PanelModel* m = open()) m->inlineEdit().setEditingText(text);
                },
            .onSave =
                [open, id = *id] {
                    PanelModel* m = open();
                    if (!m) return;
                    for (const platform::Reminder& reminder : m->store().reminders())
                        if (reminder.identifier == id) return m->listActions().editSave(reminder);
                },
            .onArrowDown = [open] { return open() && open()->inlineEdit().editArrowDown(); },
            .onArrowUp = [open] { return open() && open()->inlineEdit().editArrowUp(); },
            .onTab = [open] { return open() && open()->inlineEdit().editTab(); },
            .onPickList =
                [open](const QString& name) {
                    if (PanelModel* m = open()) m->inlineEdit().applyEditListSuggestion(name);
                },
        });
        connect(editor_, &rows::EditReminderRow::heightChanged, this, &ReminderList::relayoutRows);
        setIndexWidget(index, editor_);
        emit editFieldChanged(editor_->lineEdit());
    }
    auto* chips = static_cast<rows::ParseChips*>(editor_->chips());
    if (!chips) editor_->setChips(chips = new rows::ParseChips);
    chips->setChips(rows::parseChips(model->listActions().buildEditedReminder(), model->wallClock().now(),
                                     model->wallClock().calendar));
    editor_->setText(model->inlineEdit().editingText());
    editor_->setListSuggestions(model->inlineEdit().editListSuggestions(),
                                model->inlineEdit().editListSuggestionIndex());
}

void ReminderList::closeEditRow() {
    rows::EditReminderRow* editor = std::exchange(editor_, nullptr);
    emit editFieldChanged(nullptr);
    const QModelIndex index = indexOfRow(editorID_);
    editorID_.clear();
    if (index.isValid() && indexWidget(index) == editor) setIndexWidget(index, nullptr);
    else editor->deleteLater();
    relayoutRows();
}

void ReminderList::relayoutRows() {
    scheduleDelayedItemsLayout();
    updateFrame();
}

// The row's menu.

void ReminderList::showMenu(const ListRow& row, const QPoint& globalPosition) {
    PanelModel* model = live();
    if (!model || !row.reminder) return;
    const QPointer<PanelModel> panel(model);
    const auto open = [panel] { return panel && !panel->isClosed() ? panel.data() : nullptr; };
    const platform::Reminder reminder = *row.reminder;
    const bool selected = row.isSelected;
    rows::RowMenuActions actions{
        .open =
            [open, reminder] {
                if (PanelModel* m = open()) m->rowActions().openInReminders(reminder);
            },
    };
    if (row.isDone) {
        actions.toggleCompletion = [open, reminder] {
            if (PanelModel* m = open()) m->rowActions().doneRowToggled(reminder);
        };
    } else {
        actions.toggleCompletion = [open, reminder, selected] {
            if (PanelModel* m = open())
                m->rowActions().actOnSelectionOrRow(reminder, selected,
                                                    [m](const auto& r) { m->rowActions().completeReminders(r); });
        };
        actions.edit = [open, reminder] {
            if (PanelModel* m = open()) m->listActions().startEdit(reminder);
        };
        actions.deleteSelection = [open, reminder, selected] {
            if (PanelModel* m = open())
                m->rowActions().actOnSelectionOrRow(reminder, selected,
                                                    [m](const auto& r) { m->rowActions().deleteReminders(r); });
        };
        actions.reschedule = [open, reminder, selected](store::RescheduleTarget target) {
            if (PanelModel* m = open()) m->rowActions().rescheduleSelectionOrRow(target, reminder, selected);
        };
    }
    const std::vector<rows::RowMenuEntry> entries =
        rows::menuEntries({.isDone = row.isDone,
                           .selectedCount = row.selectedCount,
                           .hasDueDate = reminder.dueDateComponents.has_value()},
                          actions);
    const QPointer<ReminderList> self(this);
    rows::popUpMenu(entries, globalPosition, this, [self, id = row.id](bool visible) {
        if (!self) return;
        self->delegate_->setMenuRow(visible ? std::optional(id) : std::nullopt);
        self->viewport()->update();
    });
}

void ReminderList::menuForCursor() {
    PanelModel* model = live();
    if (!model || !model->rowSelection().selectedIndex()) return;
    const int row = rows_->indexOfFlatRow(*model->rowSelection().selectedIndex());
    if (row < 0) return;
    const QRect rect = visualRect(rows_->index(row));
    showMenu(rows_->row(row), viewport()->mapToGlobal(QPoint(rect.left() + 24, rect.bottom())));
}

void ReminderList::contextMenuEvent(QContextMenuEvent* event) {
    // The Menu key; a click's menu is the row's own.
    if (event->reason() == QContextMenuEvent::Keyboard) menuForCursor();
    event->accept();
}

// The swipe.

void ReminderList::wheelEvent(QWheelEvent* event) {
    const QPoint pixels = event->pixelDelta();
    const double sideways = !pixels.isNull() ? pixels.x() : event->angleDelta().x() / 120.0 * pixelsPerNotch;
    const double upward = !pixels.isNull() ? pixels.y() : event->angleDelta().y();
    PanelModel* model = live();
    if (!model || sideways == 0 || std::abs(sideways) < std::abs(upward)) return QListView::wheelEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    const QString id = swipe_.row().value_or(QString());
    const ListRow* row = index.isValid() ? &rows_->row(index.row()) : nullptr;
    // A swipe stays on its row; it starts only on an open reminder not being edited.
    const bool onSwiped = !id.isEmpty() && (!row || row->id == id);
    if (!onSwiped && (!row || row->kind != ListRow::Kind::reminder || row->isEditing)) return event->accept();
    const QString target = onSwiped ? id : row->id;
    // Fingers moving towards the leading edge slide the row that way.
    const double delta = event->inverted() ? sideways : -sideways;
    swipe_.scroll(target, delta, viewport()->width());
    swipeRelease_->start();
    viewport()->update();
    event->accept();
}

void ReminderList::swipeReleased() {
    const std::optional<QString> id = swipe_.row();
    const RowSwipe::Release release = swipe_.release(viewport()->width());
    viewport()->update();
    PanelModel* model = live();
    if (!model || !id || release != RowSwipe::Release::deleteRow) return;
    const QModelIndex index = indexOfRow(*id);
    // The swiped row alone, whatever else is selected.
    if (index.isValid() && rows_->row(index.row()).reminder)
        model->rowActions().deleteReminders({*rows_->row(index.row()).reminder});
}

void ReminderList::revealSwipe(const QString& id) {
    swipe_.reveal(id);
    viewport()->update();
}

bool ReminderList::pressSwipeAction(const QPoint& at) {
    const std::optional<QString> id = swipe_.row();
    if (!id) return false;
    const QModelIndex index = indexOfRow(*id);
    PanelModel* model = live();
    swipe_.close();
    viewport()->update();
    if (!index.isValid() || !model) return false;
    const ListRow& row = rows_->row(index.row());
    const QRectF rect = ReminderRowDelegate::rowRect(row, visualRect(index));
    if (!row.reminder || !rect.contains(at)) return false;
    const platform::Reminder reminder = *row.reminder;
    if (ReminderRowDelegate::swipeDeleteRect(rect).contains(at)) {
        model->rowActions().deleteReminders({reminder});
        return true;
    }
    if (ReminderRowDelegate::swipeEditRect(rect).contains(at)) {
        // An edit open on another reminder is saved first.
        model->listActions().commitPendingEdit();
        model->listActions().startEdit(reminder);
        return true;
    }
    return false;
}

void ReminderList::scrollCursorIntoView() {
    cursorScrollPending_ = false;
    if (!shownCursor_) return;
    const int row = rows_->indexOfFlatRow(*shownCursor_);
    if (row < 0) return;
    // A row below the layout done so far has no place yet: once the layout
    // is complete it is scrolled to.
    if (!visualRect(rows_->index(row)).isValid()) cursorScrollPending_ = true;
    else scrollTo(rows_->index(row), QAbstractItemView::EnsureVisible);
}

void ReminderList::updateGeometries() {
    QListView::updateGeometries();
    if (cursorScrollPending_) scrollCursorIntoView();
}

void ReminderList::reportMetrics() {
    PanelModel* model = live();
    if (!model || !model->inputs().onListMetricsChange) return;
    const double content = measuredContent_;
    if (content == reportedContent_ && height() == reportedFrame_) return;
    reportedContent_ = content;
    reportedFrame_ = height();
    model->inputs().onListMetricsChange({.content = content, .frame = double(height())});
}

void ReminderList::resizeEvent(QResizeEvent* event) {
    QListView::resizeEvent(event);
    // Heights follow the width: the rows are laid out anew.
    if (rowWidth() != laidOutWidth_) {
        laidOutWidth_ = rowWidth();
        scheduleDelayedItemsLayout();
        updateFrame();
    }
    reportMetrics();
}

void ReminderList::keyPressEvent(QKeyEvent* event) {
    PanelModel* model = live();
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (model && (event->key() == Qt::Key_Menu || (event->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier))) {
        menuForCursor();
        return event->accept();
    }
    if (model && event->key() == Qt::Key_A && modifiers == Qt::ControlModifier) {
        model->listActions().selectAll();
        return event->accept();
    }
    if (model && (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) && modifiers == Qt::NoModifier) {
        emit PanelNotifications::instance().tavlinDeleteSelection();
        return event->accept();
    }
    // The window gives the arrows, Space and Return to the model; the view's
    // own moves would fight it.
    event->ignore();
}

// Dragging a reminder within its section.

std::pair<int, int> ReminderList::sectionRows(const QModelIndex& source) const {
    const std::optional<store::PanelSection> section = rows_->row(source.row()).section;
    int first = source.row(), last = source.row();
    const auto inSection = [&](int row) {
        const ListRow& other = rows_->row(row);
        return other.kind == ListRow::Kind::reminder && other.section == section;
    };
    while (first > 0 && inSection(first - 1)) --first;
    while (last + 1 < rows_->rowCount() && inSection(last + 1)) ++last;
    return {first, last - first + 1};
}

std::optional<int> ReminderList::dropDestination(const QPoint& at) const {
    if (!drag_) return std::nullopt;
    const auto [first, count] = sectionRows(drag_->source);
    // Only over the section's own rows: never into another section.
    if (at.y() < visualRect(rows_->index(first)).top() || at.y() > visualRect(rows_->index(first + count - 1)).bottom())
        return std::nullopt;
    // Before the first row whose middle is below the pointer.
    for (int offset = 0; offset < count; ++offset)
        if (at.y() < visualRect(rows_->index(first + offset)).center().y()) return offset;
    return count;
}

void ReminderList::mousePressEvent(QMouseEvent* event) {
    drag_.reset();
    // A press with the actions shown acts or only slides the row back.
    if (swipe_.row()) {
        pressSwipeAction(event->position().toPoint());
        return event->accept();
    }
    PanelModel* model = live();
    const QModelIndex index = indexAt(event->position().toPoint());
    if (model && event->button() == Qt::LeftButton && index.isValid() && !model->inlineEdit().editingID()) {
        const ListRow& row = rows_->row(index.row());
        if (row.movable && delegate_->hitTest(row, visualRect(index), event->position().toPoint(), font()) ==
                               rows::ReminderRowPart::text)
            drag_ = Drag{.source = index, .pressedAt = event->position().toPoint()};
    }
    QListView::mousePressEvent(event);
}

void ReminderList::mouseMoveEvent(QMouseEvent* event) {
    if (!drag_ || !(event->buttons() & Qt::LeftButton) || !drag_->source.isValid()) return;
    const QPoint at = event->position().toPoint();
    if (!drag_->moving && (at - drag_->pressedAt).manhattanLength() < QApplication::startDragDistance()) return;
    drag_->moving = true;
    drag_->destination = dropDestination(at);
    viewport()->update();
}

void ReminderList::mouseReleaseEvent(QMouseEvent* event) {
    if (drag_ && drag_->moving) {
        const Drag drag = *std::exchange(drag_, std::nullopt);
        viewport()->update();
        PanelModel* model = live();
        if (!model || !drag.source.isValid() || !drag.destination) return;
        const ListRow& row = rows_->row(drag.source.row());
        const int offset = drag.source.row() - sectionRows(drag.source).first;
        if (row.section) model->listActions().moveReminders(*row.section, {offset}, *drag.destination);
        return;
    }
    drag_.reset();
    QListView::mouseReleaseEvent(event);
}

void ReminderList::paintEvent(QPaintEvent* event) {
    QListView::paintEvent(event);
    if (!drag_ || !drag_->moving || !drag_->destination || !drag_->source.isValid()) return;
    // Where the row would go: a line in the accent colour between rows.
    const auto [first, count] = sectionRows(drag_->source);
    const int destination = *drag_->destination;
    const QRect edge = destination < count ? visualRect(rows_->index(first + destination))
                                           : visualRect(rows_->index(first + count - 1));
    const int y = destination < count ? edge.top() : edge.bottom();
    QPainter painter(viewport());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(rows::color(palette(), rows::Tone::accent), 2, Qt::SolidLine, Qt::RoundCap));
    const double inset = rows::ReminderRowPainter::inset;
    painter.drawLine(QPointF(inset, y), QPointF(viewport()->width() - inset, y));
}

}  // namespace tavlin::panel::widgets
