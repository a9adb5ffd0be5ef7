#include "rows/SectionHeader.h"

#include "rows/Look.h"

#include <QApplication>

#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>

#include <cmath>

namespace tavlin::rows {

namespace {

constexpr int above = 8;
constexpr int below = 4;

}  // namespace

SectionHeader::SectionHeader(const QString& title, int horizontalPadding, QWidget* parent)
    : QLabel(parent), title_(title) {
    setTextFormat(Qt::PlainText);
    // Capitals by the user's language (German ß, Turkish i).
    setText(shownText(title));
    setFont(headerFont(QApplication::font()));
    setTone(*this, Tone::secondary);
    setContentsMargins(horizontalPadding, above, horizontalPadding, below);
}

QString SectionHeader::shownText(const QString& title) { return QLocale().toUpper(title); }

QFont SectionHeader::headerFont(const QFont& base) { return rows::font(base, TextStyle::caption, QFont::DemiBold); }

double SectionHeader::paintedHeight(const QFont& base, double extraTop) {
    return std::ceil(extraTop + above + QFontMetricsF(headerFont(base)).height() + below);
}

void SectionHeader::paint(QPainter& painter, const QRectF& row, const QString& title, const QFont& base,
                          int horizontalPadding, double extraTop, const QPalette& palette) {
    const QFont font = headerFont(base);
    const QFontMetricsF metrics(font);
    const double width = row.width() - 2 * horizontalPadding;
    painter.save();
    painter.setFont(font);
    painter.setPen(color(palette, Tone::secondary));
    painter.drawText(QPointF(row.left() + horizontalPadding, row.top() + extraTop + above + metrics.ascent()),
                     metrics.elidedText(shownText(title), Qt::ElideRight, width));
    painter.restore();
}

}  // namespace tavlin::rows
