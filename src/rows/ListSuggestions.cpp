#include "rows/ListSuggestions.h"

#include "parsing/TextHelpers.h"
#include "rows/Divider.h"
#include "rows/Look.h"
#include "rows/SectionHeader.h"
#include "rows/Symbol.h"

#include <QEnterEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace tavlin::rows {

namespace {

constexpr int minimumFrameHeight = 40;
constexpr int floatingCap = 260;
constexpr int embeddedCap = 160;
constexpr int headerPadding = 16;
constexpr int floatingBottomPadding = 8;
constexpr int rowHorizontalPadding = 8;
constexpr int rowVerticalPadding = 6;
constexpr int floatingOuterPadding = 8;
constexpr int spacing = 8;
constexpr double cornerRadius = 6;
constexpr double selectionOpacity = 0.18;
constexpr double hoverOpacity = 0.06;

QColor withOpacity(QColor color, double opacity) {
    color.setAlphaF(float(color.alphaF() * opacity));
    return color;
}

}  // namespace

// Every row painted by one widget; the pointer is followed across them.
class ListSuggestions::Rows final : public QWidget {
public:
    explicit Rows(ListSuggestions& owner) : QWidget(&owner), owner_(owner) {
        setMouseTracking(true);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

    int rowHeight() const {
        const int text = std::max(QFontMetrics(rows::font(TextStyle::body)).height(),
                                  QFontMetrics(rows::font(TextStyle::caption)).height());
        return std::max(text, symbolSide(rows::font(TextStyle::body))) + 2 * rowVerticalPadding;
    }
    int outerPadding() const { return owner_.embedded_ ? 0 : floatingOuterPadding; }
    QRect rowRect(int index) const {
        return {outerPadding(), index * rowHeight(), width() - 2 * outerPadding(), rowHeight()};
    }
    std::optional<int> rowAt(QPoint point) const {
        if (point.x() < 0 || point.x() >= width() || point.y() < 0) return std::nullopt;
        const int index = point.y() / rowHeight();
        return index < owner_.names_.size() ? std::optional(index) : std::nullopt;
    }

    QSize sizeHint() const override { return {0, int(owner_.names_.size()) * rowHeight()}; }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        for (int index = 0; index < owner_.names_.size(); ++index) paintRow(painter, index);
    }

    void mouseMoveEvent(QMouseEvent* event) override { follow(rowAt(event->position().toPoint())); }
    void enterEvent(QEnterEvent* event) override { follow(rowAt(event->position().toPoint())); }
    void leaveEvent(QEvent*) override { follow(std::nullopt); }

    void mousePressEvent(QMouseEvent* event) override {
        pressed_ = event->button() == Qt::LeftButton ? rowAt(event->position().toPoint()) : std::nullopt;
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        const std::optional<int> pressed = std::exchange(pressed_, std::nullopt);
        // A click: let go on the row it started on.
        if (event->button() != Qt::LeftButton || !pressed || rowAt(event->position().toPoint()) != pressed) return;
        if (owner_.onPick_) owner_.onPick_(owner_.names_.at(*pressed));
    }

private:
    // The pointer is over `row` now: it left the row it was over, and
    // entered this one.
    void follow(std::optional<int> row) {
        if (row == under_) return;
        const std::optional<int> left = std::exchange(under_, row);
        if (row) owner_.pointerEntered(*row);
        if (left) owner_.pointerLeft(*left);
    }

    void paintRow(QPainter& painter, int index) {
        const QRect row = rowRect(index);
        const QPalette& colours = palette();
        if (const Fill filled = fill(index, owner_.selectedIndex_, owner_.hoveredIndex_); filled != Fill::none) {
            QPainterPath shape;
            shape.addRoundedRect(QRectF(row), cornerRadius, cornerRadius);
            painter.fillPath(shape, filled == Fill::selection
                                        ? withOpacity(color(colours, Tone::accent), selectionOpacity)
                                        : withOpacity(color(colours, Tone::primary), hoverOpacity));
        }
        const QRect content = row.adjusted(rowHorizontalPadding, 0, -rowHorizontalPadding, 0);
        const QFont body = rows::font(TextStyle::body);
        const QFont caption = rows::font(TextStyle::caption);
        const int side = symbolSide(body);
        paintSymbol(painter, Symbol::listBullet,
                    QRectF(content.left(), content.center().y() - side / 2.0 + 0.5, side, side),
                    color(colours, Tone::accent));

        // The key keeps its width while it can; the name takes what is left,
        // and both end in "…" where the row is too narrow.
        const QString name = owner_.names_.at(index);
        const QString key = u'#' + parsing::normalizedKey(name);
        const QFontMetricsF nameMetrics(body);
        const QFontMetricsF keyMetrics(caption);
        const int textLeft = content.left() + side + spacing;
        const int room = std::max(0, content.right() + 1 - textLeft - spacing);
        const int keyWidth = std::min(int(std::ceil(keyMetrics.horizontalAdvance(key))), room / 2);
        const int nameWidth = std::max(0, room - keyWidth);

        painter.setFont(body);
        painter.setPen(color(colours, Tone::primary));
        painter.drawText(QRect(textLeft, content.top(), nameWidth, content.height()), Qt::AlignLeft | Qt::AlignVCenter,
                         nameMetrics.elidedText(name, Qt::ElideRight, nameWidth));
        painter.setFont(caption);
        painter.setPen(color(colours, Tone::tertiary));
        painter.drawText(QRect(content.right() + 1 - keyWidth, content.top(), keyWidth, content.height()),
                         Qt::AlignRight | Qt::AlignVCenter, keyMetrics.elidedText(key, Qt::ElideRight, keyWidth));
    }

    ListSuggestions& owner_;
    std::optional<int> under_;
    std::optional<int> pressed_;
};

int ListSuggestions::frameHeight(int contentHeight, bool embedded) {
    // Inside the edit row the names are as high as their rows: a band
    // left under a single name would look like part of the list.
    if (embedded) return std::min(contentHeight, embeddedCap);
    return std::min(std::max(contentHeight, minimumFrameHeight), floatingCap);
}

ListSuggestions::Fill ListSuggestions::fill(int index, int selectedIndex, std::optional<int> hoveredIndex) {
    if (index == selectedIndex) return Fill::selection;
    if (index == hoveredIndex) return Fill::hover;
    return Fill::none;
}

ListSuggestions::ListSuggestions(bool embedded, QWidget* parent)
    : QWidget(parent), embedded_(embedded), scroll_(new QScrollArea(this)), content_(new QWidget) {
    rows_ = new Rows(*this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(true);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll_->viewport()->setAutoFillBackground(false);
    auto* column = new QVBoxLayout(content_);
    column->setContentsMargins(0, 0, 0, embedded ? 0 : floatingBottomPadding);
    column->setSpacing(0);
    if (!embedded) column->addWidget(new SectionHeader(u"Lists"_s, headerPadding, content_));
    column->addWidget(rows_);
    column->addStretch();
    scroll_->setWidget(content_);
    // Set after setWidget, which turns the filling on: the rows lie on
    // whatever they are shown over (the panel, the edit row's tint).
    content_->setAutoFillBackground(false);
    layout->addWidget(scroll_);

    if (!embedded) {
        layout->addWidget(new Divider(this));
        auto* hint = new QLabel(u"Return/Tab selects · ↑↓ moves · Esc keeps typing"_s, this);
        hint->setTextFormat(Qt::PlainText);
        hint->setFont(rows::font(TextStyle::callout));
        hint->setContentsMargins(headerPadding, 6, headerPadding, 6);
        hint->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        setTone(*hint, Tone::tertiary);
        layout->addWidget(hint);
    }
    updateHeight();
}

ListSuggestions::~ListSuggestions() = default;

void ListSuggestions::setNames(QStringList names) {
    if (names == names_) return;
    names_ = std::move(names);
    if (hoveredIndex_ && *hoveredIndex_ >= names_.size()) hoveredIndex_.reset();
    rows_->updateGeometry();
    updateHeight();
    rows_->update();
}

void ListSuggestions::setSelectedIndex(int index) {
    const bool first = !std::exchange(selectionSet_, true);
    if (index == selectedIndex_ && !first) return;
    selectedIndex_ = index;
    rows_->update();
    if (first || index < 0 || index >= names_.size()) return;
    // The least scrolling that shows the whole row.
    content_->layout()->activate();
    const QRect row = rowRect(index);
    const int top = rows_->mapTo(content_, row.topLeft()).y();
    const int bottom = top + row.height();
    QScrollBar* bar = scroll_->verticalScrollBar();
    const int shown = scroll_->viewport()->height();
    if (top < bar->value()) bar->setValue(top);
    else if (bottom > bar->value() + shown) bar->setValue(bottom - shown);
}

void ListSuggestions::setOnPick(std::function<void(const QString&)> onPick) { onPick_ = std::move(onPick); }

void ListSuggestions::pointerEntered(int index) {
    if (hoveredIndex_ == index) return;
    hoveredIndex_ = index;
    rows_->update();
}

void ListSuggestions::pointerLeft(int index) {
    if (hoveredIndex_ != index) return;
    hoveredIndex_.reset();
    rows_->update();
}

QWidget* ListSuggestions::rowsView() const { return rows_; }

QRect ListSuggestions::rowRect(int index) const { return rows_->rowRect(index); }

int ListSuggestions::contentHeight() const {
    // The header's size is its style's.
    content_->ensurePolished();
    return content_->sizeHint().height();
}

bool ListSuggestions::event(QEvent* event) {
    if (event->type() == QEvent::Polish || event->type() == QEvent::StyleChange || event->type() == QEvent::FontChange)
        updateHeight();
    return QWidget::event(event);
}

void ListSuggestions::updateHeight() {
    content_->layout()->invalidate();
    scroll_->setFixedHeight(frameHeight(contentHeight(), embedded_));
}

}  // namespace tavlin::rows
