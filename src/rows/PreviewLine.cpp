#include "rows/PreviewLine.h"

#include "rows/ElidedLabel.h"
#include "rows/InterpretingIndicator.h"
#include "rows/Look.h"
#include "rows/ParseChips.h"
#include "rows/Symbol.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace tavlin::rows {

namespace {

constexpr int margin = PreviewLine::inset + PreviewLine::horizontalPadding;

}  // namespace

PreviewLine::PreviewLine(QWidget* parent)
    : QWidget(parent),
      plus_(new SymbolView(Symbol::plusCircle, TextStyle::body, Tone::accent, this)),
      title_(new ElidedLabel(this)),
      chips_(new ParseChips(this)),
      indicator_(new InterpretingIndicator(this)),
      hint_(new ElidedLabel(this)) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    title_->setFont(rows::font(TextStyle::body));
    hint_->setFont(rows::font(TextStyle::caption));
    setTone(*hint_, Tone::tertiary);
    hint_->hide();
    // A click anywhere is the line's owner's.
    for (QWidget* part : std::initializer_list<QWidget*>{plus_, title_, chips_, indicator_, hint_})
        part->setAttribute(Qt::WA_TransparentForMouseEvents);
}

PreviewLine::~PreviewLine() = default;

void PreviewLine::setTitle(const QString& title) {
    title_->setFullText(title);
    place();
}

void PreviewLine::setChips(std::vector<ParseChip> chips) {
    chips_->setChips(std::move(chips));
    updateGeometry();
    place();
}

void PreviewLine::setInterpreting(bool interpreting) {
    indicator_->setShown(interpreting);
    place();
}

void PreviewLine::setHint(const QString& hint) {
    hint_->setFullText(hint);
    hint_->setVisible(!hint.isEmpty());
    updateGeometry();
    place();
}

void PreviewLine::setSelected(bool selected) {
    if (selected == selected_) return;
    selected_ = selected;
    update();
}

void PreviewLine::setReduceMotion(std::function<bool()> reduceMotion) {
    indicator_->setReduceMotion(std::move(reduceMotion));
}

bool PreviewLine::hasChips() const { return !chips_->chips().empty(); }
// Laid out while it fades out too.
bool PreviewLine::hasIndicator() const { return !indicator_->isHidden(); }
bool PreviewLine::hasHint() const { return !hint_->fullText().isEmpty(); }

int PreviewLine::fixedWidth() const {
    int width = plus_->sizeHint().width() + spacing;  // the plus, then the title
    if (hasChips()) width += spacing;
    if (hasIndicator()) width += spacing + indicator_->sizeHint().width();
    if (hasHint()) width += spacing;
    return width;
}

PreviewLine::Want PreviewLine::hintWant() const {
    if (!hasHint()) return {};
    const int natural = hint_->sizeHint().width();
    // Down to its first character and "…".
    const int least =
        int(std::ceil(QFontMetricsF(hint_->font()).horizontalAdvance(hint_->fullText().left(1) + u"…"_s)));
    return {natural, std::min(natural, least)};
}

PreviewLine::Widths PreviewLine::share(int room, int title, Want chips, Want hint) {
    Widths widths;
    widths.title = std::clamp(room - chips.least - hint.least, 0, std::max(0, title));
    const int left = room - widths.title;
    widths.hint = std::min(hint.natural, std::max(left - chips.least, std::clamp(left, 0, hint.least)));
    widths.chips = std::clamp(left - widths.hint, 0, chips.natural);
    return widths;
}

int PreviewLine::lineHeight() const {
    int height = std::max(plus_->sizeHint().height(), title_->sizeHint().height());
    if (hasChips()) height = std::max(height, chips_->sizeHint().height());
    if (hasHint()) height = std::max(height, hint_->sizeHint().height());
    return std::max(height, indicator_->sizeHint().height());
}

QSize PreviewLine::sizeHint() const {
    const Want hint = hintWant();
    return {2 * margin + fixedWidth() + title_->sizeHint().width() + chips_->sizeHint().width() + hint.natural,
            lineHeight() + 2 * verticalPadding};
}

QSize PreviewLine::minimumSizeHint() const {
    return {2 * margin + fixedWidth() + chips_->minimumSizeHint().width() + hintWant().least,
            lineHeight() + 2 * verticalPadding};
}

QRect PreviewLine::highlightRect() const { return rect().adjusted(inset, 0, -inset, 0); }

bool PreviewLine::event(QEvent* event) {
    // A part came or went (the indicator at the end of its fade).
    if (event->type() == QEvent::LayoutRequest) place();
    return QWidget::event(event);
}

void PreviewLine::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    place();
}

void PreviewLine::place() {
    const QRect content = rect().adjusted(margin, verticalPadding, -margin, -verticalPadding);
    const Want hint = hintWant();
    const Widths widths = share(content.width() - fixedWidth(), title_->sizeHint().width(),
                                {chips_->sizeHint().width(), chips_->minimumSizeHint().width()}, hint);
    const auto centred = [&](QWidget* part, int x, int width) {
        const int height = part->sizeHint().height();
        part->setGeometry(x, content.top() + (content.height() - height) / 2, width, height);
        return x + width + spacing;
    };
    int x = centred(plus_, content.left(), plus_->sizeHint().width());
    x = centred(title_, x, widths.title);
    if (hasChips()) x = centred(chips_, x, widths.chips);
    if (hasIndicator()) centred(indicator_, x, indicator_->sizeHint().width());
    if (hasHint()) centred(hint_, content.right() + 1 - widths.hint, widths.hint);
}

void PreviewLine::paintEvent(QPaintEvent*) {
    if (!selected_) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor fill = color(palette(), Tone::accent);
    fill.setAlphaF(float(selectedFill));
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(highlightRect()), cornerRadius, cornerRadius);
}

}  // namespace tavlin::rows
