#include "panel/widgets/ReminderList.h"

#include "panel/PanelModel.h"
#include "panel/PanelNotifications.h"
#include "panel/ReminderListModel.h"
#include "panel/widgets/ReminderRowDelegate.h"
#include "rows/Look.h"
#include "store/ContinuousObservation.h"

#include <QApplication>
#include <QEasingCurve>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QVariantAnimation>

#include <cmath>

namespace tavlin::panel::widgets {

namespace {

constexpr int burstMs = int(rows::ReminderRowPainter::burstSeconds * 1000);
constexpr int fillMs = int(rows::ReminderRowPainter::fillSeconds * 1000);

}  // namespace

ReminderList::ReminderList(PanelModel& model, QWidget* parent)
    : QListView(parent), model_(&model), rows_(new ReminderListModel(this)) {
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
    setModel(rows_);
    setItemDelegate(delegate_);

    setFrameShape(QFrame::NoFrame);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(false);
    setSpacing(0);
    setFocusPolicy(Qt::StrongFocus);
    // A focus target without a focus frame.
    setAttribute(Qt::WA_MacShowFocusRect, false);
    viewport()->setAutoFillBackground(false);
    setAutoFillBackground(false);
    setAccessibleName(tr("Reminders"));
    setProperty("tavlinMovesWindow", false);

    connect(delegate_, &ReminderRowDelegate::selectRequested, this, [this](int index, Qt::KeyboardModifiers mods) {
        if (PanelModel* model = live()) model->rowSelected(index, mods);
    });
    connect(delegate_, &ReminderRowDelegate::doneRowSelectRequested, this, [this] {
        if (PanelModel* model = live()) model->doneRowSelected();
    });
    connect(delegate_, &ReminderRowDelegate::openRequested, this, [this](const platform::Reminder& reminder) {
        if (PanelModel* model = live()) model->openInReminders(reminder);
    });
    connect(delegate_, &ReminderRowDelegate::toggleCompletionRequested, this,
            [this](const platform::Reminder& reminder, bool isDone) {
                PanelModel* model = live();
                if (!model) return;
                if (isDone) return model->doneRowToggled(reminder);
                // The whole selection when the row is part of it, else the row alone.
                const std::vector<platform::Reminder> selected = model->selectedReminders();
                const bool inSelection = std::any_of(selected.begin(), selected.end(), [&](const auto& other) {
                    return other.identifier == reminder.identifier;
                });
                model->completeReminders(inSelection ? selected : std::vector{reminder});
            });
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
    double height = 0;
    for (int row = 0; row < rows_->rowCount(); ++row) height += delegate_->height(rows_->index(row), font());
    return height;
}

void ReminderList::updateFrame() {
    PanelModel* model = live();
    if (!model) return;
    // The rows' own heights where the list shows them; the create area's
    // measure where it does not.
    measuredContent_ = model->hasListRows() ? measuredContentHeight() : model->listContentHeight();
    setFixedHeight(
        int(std::lround(PanelModel::listFrameHeight(measuredContent_, model->settings().pinnedPanelListHeight()))));
    reportMetrics();
}

void ReminderList::render() {
    PanelModel* model = live();
    if (!model) return;
    // The lists' titles once per render, not once per row.
    listTitles_.clear();
    for (const platform::ReminderList& list : model->store().lists()) listTitles_.insert(list.identifier, list.title);
    rows_->setRows(model->listRows());
    updateFrame();
    followCompletions();
    if (model->selectedIndex() != shownCursor_) {
        shownCursor_ = model->selectedIndex();
        scrollCursorIntoView();
    }
}

void ReminderList::followCompletions() {
    QSet<QString> completing;
    for (const ListRow& row : model_->listRows())
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

void ReminderList::scrollCursorIntoView() {
    if (!shownCursor_) return;
    const int row = rows_->indexOfFlatRow(*shownCursor_);
    if (row >= 0) scrollTo(rows_->index(row), QAbstractItemView::EnsureVisible);
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
    if (model && event->key() == Qt::Key_A && modifiers == Qt::ControlModifier) {
        model->selectAll();
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
    PanelModel* model = live();
    const QModelIndex index = indexAt(event->position().toPoint());
    if (model && event->button() == Qt::LeftButton && index.isValid() && !model->editingID()) {
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
        if (row.section) model->moveReminders(*row.section, {offset}, *drag.destination);
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
