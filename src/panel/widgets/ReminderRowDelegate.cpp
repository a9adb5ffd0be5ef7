#include "panel/widgets/ReminderRowDelegate.h"

#include "panel/ReminderListModel.h"
#include "panel/RowSwipe.h"
#include "rows/Look.h"
#include "rows/SectionHeader.h"
#include "rows/Symbol.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>
#include <limits>

namespace tavlin::panel::widgets {

namespace {

constexpr int headerPadding = 8;
constexpr double placeholderPadding = 16;
constexpr double placeholderTop = 8;

const ListRow& listRow(const QModelIndex& index) {
    return static_cast<const ReminderListModel*>(index.model())->row(index.row());
}

quint64 revision(const QModelIndex& index) {
    return static_cast<const ReminderListModel*>(index.model())->revision(index.row());
}

}  // namespace

struct ReminderRowDelegate::Cached {
    quint64 revision = 0;
    int width = 0;
    int height = 0;
    // From this width on the height is the same (its texts on one line).
    double sameFrom = std::numeric_limits<double>::infinity();

    bool holdsFor(int other) const { return other == width || (other >= sameFrom && width >= sameFrom); }
};

ReminderRowDelegate::ReminderRowDelegate(std::function<rows::ReminderRowContext()> context, std::function<int()> width,
                                         QObject* parent)
    : QAbstractItemDelegate(parent), context_(std::move(context)), width_(std::move(width)) {}

ReminderRowDelegate::~ReminderRowDelegate() = default;

const rows::ReminderRowPainter& ReminderRowDelegate::painter(const QFont& font) const {
    if (!painter_ || painterFont_ != font) {
        painter_ = std::make_unique<rows::ReminderRowPainter>(font);
        painterFont_ = font;
        heights_.clear();
    }
    return *painter_;
}

const rows::ReminderRowPresentation& ReminderRowDelegate::presentation(const QModelIndex& index) const {
    const ListRow& row = listRow(index);
    auto found = presentations_.find(row.id);
    if (found == presentations_.end() || found->first != revision(index))
        found = presentations_.insert(
            row.id, {revision(index), rows::reminderRowPresentation(*row.reminder, row.isDone, context_())});
    return found->second;
}

QRectF ReminderRowDelegate::rowRect(const ListRow& row, const QRect& item) {
    return QRectF(item).adjusted(0, row.topPadding, 0, -row.bottomPadding);
}

int ReminderRowDelegate::height(const QModelIndex& index, const QFont& font) const {
    const ListRow& row = listRow(index);
    // The editor's height changes as it offers names: never kept.
    if (row.isEditing && editorHeight_)
        if (const int editor = editorHeight_(row.id); editor > 0)
            return int(std::ceil(editor + row.topPadding + row.bottomPadding));
    const int width = width_();
    const auto found = heights_.constFind(row.id);
    if (found != heights_.cend() && found->revision == revision(index) && found->holdsFor(width)) return found->height;
    double height = 0;
    double sameFrom = 0;  // headers and the placeholder keep their heights
    switch (row.kind) {
    case ListRow::Kind::header: height = rows::SectionHeader::paintedHeight(font, row.topPadding); break;
    case ListRow::Kind::placeholder:
        height = placeholderTop + 2 * placeholderPadding + QFontMetricsF(font).lineSpacing();
        break;
    case ListRow::Kind::reminder:
    case ListRow::Kind::done: {
        const rows::ReminderRowPainter::Height measured =
            painter(font).measure(rows::reminderRowText(*row.reminder, context_()), width);
        height = measured.height + row.topPadding;
        sameFrom = measured.sameFrom;
        break;
    }
    }
    const int rounded = int(std::ceil(height + row.bottomPadding));
    heights_.insert(row.id, {revision(index), width, rounded, sameFrom});
    return rounded;
}

QSize ReminderRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    return {width_(), height(index, option.font)};
}

void ReminderRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const ListRow& row = listRow(index);
    const QPalette& palette = option.palette;
    switch (row.kind) {
    case ListRow::Kind::header:
        rows::SectionHeader::paint(*painter, option.rect, row.title, option.font, headerPadding, row.topPadding,
                                   palette);
        return;
    case ListRow::Kind::placeholder: {
        painter->save();
        painter->setFont(option.font);
        painter->setPen(rows::color(palette, rows::Tone::secondary));
        const QRectF text =
            QRectF(option.rect)
                .adjusted(0, placeholderTop + placeholderPadding, 0, -(placeholderPadding + row.bottomPadding));
        painter->drawText(text, Qt::AlignHCenter | Qt::AlignTop, row.title);
        painter->restore();
        return;
    }
    case ListRow::Kind::reminder:
    case ListRow::Kind::done: break;
    }
    if (row.isEditing) return;  // the edit's own field is there
    const double swiped = swipeOffset_ ? swipeOffset_(row.id) : 0;
    if (swiped > 0) {
        paintSwipeActions(*painter, rowRect(row, option.rect), swiped, palette);
        painter->save();
        painter->setClipRect(QRectF(option.rect).adjusted(0, 0, -swiped, 0));
        painter->translate(-swiped, 0);
    }
    rows::ReminderRowState state{
        .isSelected = row.isSelected,
        .isCompleting = row.isCompleting,
        .isDone = row.isDone,
        .menuOpen = menuRow_ == row.id,
    };
    if (row.isCompleting && animation_) std::tie(state.fill, state.burst) = animation_(row.id);
    this->painter(option.font).paint(*painter, rowRect(row, option.rect), presentation(index), state, palette);
    if (swiped > 0) painter->restore();
}

QRectF ReminderRowDelegate::swipeDeleteRect(const QRectF& row) {
    return {row.right() - RowSwipe::actionWidth, row.top(), RowSwipe::actionWidth, row.height()};
}

QRectF ReminderRowDelegate::swipeEditRect(const QRectF& row) {
    return swipeDeleteRect(row).translated(-RowSwipe::actionWidth, 0);
}

void ReminderRowDelegate::paintSwipeActions(QPainter& painter, const QRectF& row, double offset,
                                            const QPalette& palette) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // The actions show as far as the row has slid; Delete fills a full swipe.
    const QRectF uncovered(row.right() - offset, row.top(), offset, row.height());
    painter.setClipRect(uncovered);
    const QRectF remove = offset > RowSwipe::revealedWidth
                              ? QRectF(uncovered.left() + RowSwipe::actionWidth, row.top(),
                                       uncovered.width() - RowSwipe::actionWidth, row.height())
                              : swipeDeleteRect(row);
    const QFont caption = rows::font(rows::TextStyle::caption, QFont::Medium);
    const auto button = [&](const QRectF& area, const QColor& fill, rows::Symbol symbol, const QString& label) {
        painter.fillRect(area, fill);
        const QFontMetricsF metrics(caption);
        const double side = 16;
        const double top = area.center().y() - (side + 2 + metrics.height()) / 2;
        rows::paintSymbol(painter, symbol, QRectF(area.center().x() - side / 2, top, side, side), Qt::white);
        painter.setFont(caption);
        painter.setPen(Qt::white);
        painter.drawText(QRectF(area.left(), top + side + 2, area.width(), metrics.height()), Qt::AlignHCenter, label);
    };
    button(QRectF(remove.left() - RowSwipe::actionWidth, row.top(), RowSwipe::actionWidth, row.height()),
           rows::color(palette, rows::Tone::accent), rows::Symbol::pencil, tr("Edit"));
    button(remove, rows::color(palette, rows::Tone::red), rows::Symbol::trash, tr("Delete"));
    painter.restore();
}

rows::ReminderRowPart ReminderRowDelegate::hitTest(const ListRow& row, const QRect& rect, const QPoint& point,
                                                   const QFont& font) const {
    if (!row.reminder || row.isEditing) return rows::ReminderRowPart::none;
    return painter(font).hitTest(rows::reminderRowText(*row.reminder, context_()), rowRect(row, rect), point);
}

bool ReminderRowDelegate::editorEvent(QEvent* event, QAbstractItemModel*, const QStyleOptionViewItem& option,
                                      const QModelIndex& index) {
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease && type != QEvent::MouseButtonDblClick)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const ListRow& row = listRow(index);
    if (!row.reminder) return false;
    const rows::ReminderRowPart part = hitTest(row, option.rect, mouse->position().toPoint(), option.font);
    const platform::Reminder& reminder = *row.reminder;
    const auto select = [&] {
        if (row.isDone) emit doneRowSelectRequested();
        else if (row.flatIndex) emit selectRequested(*row.flatIndex, mouse->modifiers());
    };
    if (type == QEvent::MouseButtonPress) {
        const bool metaClick = mouse->button() == Qt::LeftButton && (mouse->modifiers() & Qt::MetaModifier);
        if (mouse->button() == Qt::RightButton || metaClick) {
            pressed_ = QPersistentModelIndex();
            emit menuRequested(row, mouse->globalPosition().toPoint());
            return true;
        }
        pressed_ = index;
        pressedPart_ = mouse->button() == Qt::LeftButton ? part : rows::ReminderRowPart::none;
        return part != rows::ReminderRowPart::none;
    }
    if (type == QEvent::MouseButtonDblClick) {
        // The second click: the row stays selected, then opens.
        pressed_ = QPersistentModelIndex();
        if (mouse->button() != Qt::LeftButton || part != rows::ReminderRowPart::text) return false;
        select();
        emit openRequested(reminder);
        return true;
    }
    // A release completes the press on the same part of the same row.
    const bool completes = pressed_ == index && pressedPart_ == part && mouse->button() == Qt::LeftButton;
    pressed_ = QPersistentModelIndex();
    if (!completes) return false;
    if (part == rows::ReminderRowPart::checkbox) emit toggleCompletionRequested(reminder, row.isDone);
    else if (part == rows::ReminderRowPart::text) select();
    return part != rows::ReminderRowPart::none;
}

void ReminderRowDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                               const QModelIndex& index) const {
    // The edit row spans the list's width: it has no inset.
    editor->setGeometry(rowRect(listRow(index), option.rect).toRect());
}

}  // namespace tavlin::panel::widgets
