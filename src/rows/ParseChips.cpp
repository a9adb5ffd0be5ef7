#include "rows/ParseChips.h"

#include "rows/Look.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace tavlin::rows {

namespace {

int total(const std::vector<int>& widths, int gap) {
    int sum = 0, shown = 0;
    for (const int width : widths)
        if (width > 0) {
            sum += width;
            ++shown;
        }
    return sum + gap * std::max(0, shown - 1);
}

}  // namespace

ParseChips::ParseChips(QWidget* parent) : QWidget(parent) {
    setFont(rows::font(TextStyle::caption));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setVisible(false);
}

void ParseChips::setChips(std::vector<ParseChip> chips) {
    if (chips == chips_) return;
    chips_ = std::move(chips);
    setVisible(!chips_.empty());
    updateGeometry();
    update();
}

int ParseChips::chipHeight() const {
    return std::max(symbolSide(font()), QFontMetrics(font()).height()) + 2 * verticalPadding;
}

int ParseChips::textWidth(const QString& text) const {
    // Whole points, never less than the text takes: no chip cuts its text
    // short at its natural width.
    return int(std::ceil(QFontMetricsF(font()).horizontalAdvance(text)));
}

int ParseChips::naturalWidth(const ParseChip& chip) const {
    return 2 * horizontalPadding + symbolSide(font()) + symbolGap + textWidth(chip.text);
}

int ParseChips::leastWidth() const {
    return 2 * horizontalPadding + symbolSide(font()) + symbolGap + textWidth(u"…"_s);
}

std::vector<int> ParseChips::squeezed(const std::vector<int>& natural, const std::vector<int>& least, int gap,
                                      int width) {
    std::vector<int> widths = natural;
    if (total(natural, gap) <= width) return widths;
    std::vector<int> floor(natural.size());
    for (std::size_t i = 0; i < natural.size(); ++i) floor[i] = std::min(natural[i], least[i]);
    const int room = width - total(floor, gap);
    if (room >= 0) {
        // What each can give, given up in the same proportion by all.
        const int slack = total(natural, 0) - total(floor, 0);
        int given = 0;
        for (std::size_t i = 0; i < natural.size(); ++i) {
            const int share = int((long long)(natural[i] - floor[i]) * room / std::max(1, slack));
            widths[i] = floor[i] + share;
            given += share;
        }
        // Rounding leaves a few points over: the first chips take them.
        for (std::size_t i = 0; i < widths.size() && given < room; ++i)
            if (widths[i] < natural[i]) {
                ++widths[i];
                ++given;
            }
        return widths;
    }
    widths = floor;
    for (std::size_t i = widths.size(); i-- > 0 && total(widths, gap) > width;) widths[i] = 0;
    return widths;
}

std::vector<int> ParseChips::chipWidths(int width) const {
    std::vector<int> natural, least;
    for (const ParseChip& chip : chips_) {
        natural.push_back(naturalWidth(chip));
        least.push_back(leastWidth());
    }
    return squeezed(natural, least, spacing, width);
}

QSize ParseChips::sizeHint() const {
    if (chips_.empty()) return {0, 0};
    int width = 0;
    for (const ParseChip& chip : chips_) width += naturalWidth(chip);
    const QMargins margins = contentsMargins();
    return {width + spacing * int(chips_.size() - 1) + margins.left() + margins.right(),
            chipHeight() + margins.top() + margins.bottom()};
}

QSize ParseChips::minimumSizeHint() const {
    if (chips_.empty()) return {0, 0};
    int width = 0;
    for (const ParseChip& chip : chips_) width += std::min(naturalWidth(chip), leastWidth());
    const QMargins margins = contentsMargins();
    return {width + spacing * int(chips_.size() - 1) + margins.left() + margins.right(),
            chipHeight() + margins.top() + margins.bottom()};
}

void ParseChips::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) updateGeometry();
}

void ParseChips::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor accent = color(palette(), Tone::accent);
    QColor fill = accent;
    fill.setAlphaF(0.15f);
    const QFontMetricsF metrics(font());
    const int height = chipHeight();
    const int side = symbolSide(font());
    const QRect area = contentsRect();
    const std::vector<int> widths = chipWidths(area.width());
    int x = area.left();
    const double top = area.top() + (area.height() - height) / 2.0;
    for (std::size_t i = 0; i < chips_.size(); ++i) {
        if (widths[i] <= 0) continue;
        const QRectF capsule(x, top, widths[i], height);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawRoundedRect(capsule, height / 2.0, height / 2.0);
        const QRectF symbol(x + horizontalPadding, top + (height - side) / 2.0, side, side);
        paintSymbol(painter, chips_[i].symbol, symbol.adjusted(1, 1, -1, -1), accent);
        const int textLeft = x + horizontalPadding + side + symbolGap;
        const int textWidth = std::max(0, x + widths[i] - horizontalPadding - textLeft);
        painter.setPen(accent);
        painter.drawText(QRectF(textLeft, top, textWidth + 1, height), Qt::AlignLeft | Qt::AlignVCenter,
                         metrics.elidedText(chips_[i].text, Qt::ElideRight, textWidth));
        x += widths[i] + spacing;
    }
}

}  // namespace tavlin::rows
