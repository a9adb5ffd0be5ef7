#include "rows/CountSegmentPainter.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QRawFont>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <memory>
#include <numeric>
#include <tuple>

using namespace Qt::StringLiterals;

namespace tavlin::rows {

namespace {

constexpr qreal kPillHeight = 16;
constexpr qreal kTextPadding = 13;
constexpr qreal kMinimumSegmentWidth = 20;
constexpr int kPillFontPixels = 11;

// The sizes a tray may ask for, each also at twice the pixels.
constexpr std::array kTraySides{16, 22, 24, 32, 48};
constexpr std::array kTrayRatios{1.0, 2.0};

// The vivid overdue fill, and the deeper red of quiet overdue digits.
constexpr QColor kSystemRed(255, 59, 48);
constexpr QColor kAlarmColor(215, 0, 21);
// The green of done counts, and its lighter shade for a dark desktop.
constexpr QColor kWinColor(27, 122, 61);
constexpr QColor kDarkWinColor(31, 131, 65);

QColor withAlpha(QColor colour, qreal alpha) {
    colour.setAlphaF(colour.alphaF() * alpha);
    return colour;
}

// The green of done counts, a shade lighter on a dark desktop.
QColor dynamicWinColor(const QPalette& palette) {
    return palette.color(QPalette::Window).lightnessF() < 0.5 ? kDarkWinColor : kWinColor;
}

struct SegmentColours {
    QColor fill;
    QColor text;
    QColor divider;  // at the segment's leading edge, after another segment
};

SegmentColours coloursOf(SegmentStyle style, bool quiet, const QPalette& palette) {
    const QColor label = palette.color(QPalette::WindowText);
    const QColor white(Qt::white);
    // A quiet coloured segment is white, so its divider is darkened, not tinted.
    const QColor divider = quiet && style != SegmentStyle::neutral ? withAlpha(Qt::black, 0.2) : withAlpha(label, 0.2);
    switch (style) {
    case SegmentStyle::alarm:
        return quiet ? SegmentColours{white, kAlarmColor, divider} : SegmentColours{kSystemRed, white, divider};
    case SegmentStyle::win:
        return quiet ? SegmentColours{white, kWinColor, divider}
                     : SegmentColours{dynamicWinColor(palette), white, divider};
    case SegmentStyle::neutral: break;
    }
    return {withAlpha(label, 0.14), label, divider};
}

// The segments' font: the application's, demibold, at a size in pixels (the
// same on every screen).
QFont segmentFont(int pixelSize) {
    QFont font = QGuiApplication::font();
    font.setPixelSize(pixelSize);
    font.setWeight(QFont::DemiBold);
    return font;
}

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// Digits as tabular figures, which Qt cannot ask a font for: each digit is
// centred in a cell as wide as the font's widest digit, so that counts with
// as many digits are as wide. Each size is measured once and its digits are
// drawn as glyphs: shaping the text of every picture would cost more than
// the rest of it. Main thread only.
class Figures {
public:
    // The application font's demibold digits at `pixelSize`.
    static const Figures& at(int pixelSize) {
        static QFont applicationFont;
        static std::map<int, std::unique_ptr<const Figures>> measured;
        if (const QFont font = QGuiApplication::font(); !(font == applicationFont)) {
            applicationFont = font;
            measured.clear();
        }
        std::unique_ptr<const Figures>& figures = measured[pixelSize];
        if (!figures) figures.reset(new Figures(segmentFont(pixelSize)));
        return *figures;
    }

    const QFontMetricsF& metrics() const { return metrics_; }
    // The ink of every digit, from the origin on the baseline.
    const QRectF& ink() const { return ink_; }

    qreal width(const QString& text) const {
        qreal width = 0;
        for (QChar c : text) width += isDigit(c) ? cell_ : metrics_.horizontalAdvance(c);
        return width;
    }

    // Draws `text` from `x` on the baseline `baseline`, in the painter's pen.
    void draw(QPainter& painter, const QString& text, qreal x, qreal baseline) const {
        QList<quint32> glyphs;
        QList<QPointF> positions;
        qreal offset = 0;
        for (QChar c : text) {
            if (!isDigit(c)) {
                painter.setFont(font_);
                painter.drawText(QPointF(x + offset, baseline), QString(c));
                offset += metrics_.horizontalAdvance(c);
                continue;
            }
            const int digit = c.unicode() - u'0';
            glyphs << glyphs_[digit];
            positions << QPointF(offset + (cell_ - advances_[digit]) / 2, 0);
            offset += cell_;
        }
        QGlyphRun run;
        run.setRawFont(raw_);
        run.setGlyphIndexes(glyphs);
        run.setPositions(positions);
        painter.drawGlyphRun(QPointF(x, baseline), run);
    }

private:
    explicit Figures(const QFont& font) : font_(font), metrics_(font), raw_(QRawFont::fromFont(font)) {
        const QList<quint32> glyphs = raw_.glyphIndexesForString(u"0123456789"_s);
        const QList<QPointF> advances = raw_.advancesForGlyphIndexes(glyphs);
        for (qsizetype digit = 0; digit < std::min<qsizetype>(glyphs.size(), 10); ++digit) {
            glyphs_[digit] = glyphs[digit];
            advances_[digit] = advances.value(digit).x();
            cell_ = std::max(cell_, advances_[digit]);
            ink_ |= raw_.boundingRect(glyphs[digit]);
        }
    }

    QFont font_;
    QFontMetricsF metrics_;
    QRawFont raw_;
    std::array<quint32, 10> glyphs_{};
    std::array<qreal, 10> advances_{};
    qreal cell_ = 0;
    QRectF ink_;
};

std::vector<qreal> widthsWith(const Figures& figures, const std::vector<CountSegment>& segments) {
    std::vector<qreal> widths;
    widths.reserve(segments.size());
    for (const CountSegment& segment : segments)
        widths.push_back(std::max(figures.width(segment.text) + kTextPadding, kMinimumSegmentWidth));
    return widths;
}

// Cuts `image` to a rounded rectangle over `width` logical pixels and its
// height, with smooth edges, which a clip path (cutting on whole pixels)
// would not give. The masks are kept: the tray asks for the same sizes at
// every change. Main thread only.
void cutToRoundedRect(QImage& image, qreal width, qreal radius) {
    using Key = std::tuple<int, int, qreal, qreal, qreal>;
    static std::map<Key, QImage> masks;
    const Key key{image.width(), image.height(), image.devicePixelRatio(), width, radius};
    auto found = masks.find(key);
    if (found == masks.end()) {
        if (masks.size() >= 64) masks.clear();
        QImage mask(image.size(), QImage::Format_ARGB32_Premultiplied);
        mask.setDevicePixelRatio(image.devicePixelRatio());
        mask.fill(Qt::transparent);
        QPainter painter(&mask);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        painter.drawRoundedRect(QRectF(0, 0, width, image.deviceIndependentSize().height()), radius, radius);
        painter.end();
        found = masks.emplace(key, std::move(mask)).first;
    }
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    painter.drawImage(QPointF(0, 0), found->second);
}

// The largest demibold size, in pixels, at which `text` fits `room`: its
// width, and the height of the digits' ink.
const Figures& largestFitting(const QString& text, QSizeF room) {
    // Sizes grow almost in proportion: guess from a large size, then step
    // down past rounding.
    const Figures& reference = Figures::at(100);
    const qreal scale =
        std::min(room.height() / reference.ink().height(), room.width() / std::max(reference.width(text), qreal(1)));
    for (int pixels = std::max(1, int(scale * 100) + 1); pixels > 1; --pixels) {
        const Figures& figures = Figures::at(pixels);
        if (figures.width(text) <= room.width() && figures.ink().height() <= room.height()) return figures;
    }
    return Figures::at(1);
}

// Our own drawings for a theme without the named icon, in the palette's text
// colour, at every tray size.
QIcon drawnIcon(void (*draw)(QPainter&, qreal side)) {
    const QColor ink = QGuiApplication::palette().color(QPalette::WindowText);
    QIcon icon;
    for (int side : kTraySides)
        for (qreal ratio : kTrayRatios) {
            QImage image(QSize(side, side) * ratio, QImage::Format_ARGB32_Premultiplied);
            image.setDevicePixelRatio(ratio);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(QPen(ink, side / 11.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            draw(painter, side);
            painter.end();
            icon.addPixmap(QPixmap::fromImage(image));
        }
    return icon;
}

void drawCheckCircle(QPainter& painter, qreal side) {
    const qreal inset = side / 11.0;
    painter.drawEllipse(QRectF(inset, inset, side - 2 * inset, side - 2 * inset));
    painter.drawPolyline(QPolygonF{{side * 0.30, side * 0.52}, {side * 0.44, side * 0.66}, {side * 0.70, side * 0.37}});
}

void drawWarningTriangle(QPainter& painter, qreal side) {
    const qreal inset = side / 11.0;
    painter.drawPolygon(
        QPolygonF{{side / 2, inset * 1.3}, {side - inset, side - inset * 1.5}, {inset, side - inset * 1.5}});
    painter.drawLine(QPointF(side / 2, side * 0.40), QPointF(side / 2, side * 0.60));
    painter.drawPoint(QPointF(side / 2, side * 0.74));
}

}  // namespace

QIcon CountSegmentPainter::connectIcon() {
    // A check mark: hosts recolour a theme's symbolic icon to match the panel.
    return QIcon::fromTheme(u"emblem-ok-symbolic"_s, drawnIcon(drawCheckCircle));
}

QIcon CountSegmentPainter::warningIcon() {
    return QIcon::fromTheme(u"dialog-warning-symbolic"_s, drawnIcon(drawWarningTriangle));
}

QIcon CountSegmentPainter::trayIcon(const std::vector<CountSegment>& segments, bool quiet) {
    QIcon icon;
    for (int side : kTraySides)
        for (qreal ratio : kTrayRatios) icon.addPixmap(QPixmap::fromImage(trayImage(segments, quiet, side, ratio)));
    return icon;
}

std::vector<qreal> CountSegmentPainter::segmentWidths(const std::vector<CountSegment>& segments) {
    return widthsWith(Figures::at(kPillFontPixels), segments);
}

QImage CountSegmentPainter::pillImage(const std::vector<CountSegment>& segments, bool quiet, qreal devicePixelRatio) {
    const QPalette palette = QGuiApplication::palette();
    const Figures& figures = Figures::at(kPillFontPixels);
    const std::vector<qreal> widths = widthsWith(figures, segments);
    const qreal width = std::accumulate(widths.begin(), widths.end(), qreal(0));

    QImage image(int(std::ceil(width * devicePixelRatio)), int(std::ceil(kPillHeight * devicePixelRatio)),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    if (segments.empty()) return image;

    QPainter painter(&image);
    // Fills on whole pixels, so that neighbours neither overlap nor leave a seam.
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QFontMetricsF& metrics = figures.metrics();
    const qreal baseline = (kPillHeight - metrics.height()) / 2 + metrics.ascent();
    qreal x = 0;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const SegmentColours colours = coloursOf(segments[i].style, quiet, palette);
        painter.fillRect(QRectF(x, 0, widths[i], kPillHeight), colours.fill);
        if (i > 0) painter.fillRect(QRectF(x, 0, 1, kPillHeight), colours.divider);
        painter.setPen(colours.text);
        figures.draw(painter, segments[i].text, x + (widths[i] - figures.width(segments[i].text)) / 2, baseline);
        x += widths[i];
    }
    painter.end();
    cutToRoundedRect(image, width, kPillHeight / 2);
    return image;
}

QImage CountSegmentPainter::trayImage(const std::vector<CountSegment>& segments, bool quiet, int side,
                                      qreal devicePixelRatio) {
    // Drawn in device pixels, so that the digits take every pixel size.
    const int pixels = qRound(side * devicePixelRatio);
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (!segments.empty()) {
        const QPalette palette = QGuiApplication::palette();
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing);
        const int rows = int(segments.size());
        // How far in the rounded corners reach at `distance` from the top or
        // the bottom edge.
        const qreal radius = pixels / 4.0;
        const auto cornerInset = [radius](qreal distance) {
            return distance >= radius ? 0
                                      : radius - std::sqrt(radius * radius - (radius - distance) * (radius - distance));
        };
        const int divider = std::max(1, qRound(devicePixelRatio));
        for (int i = 0; i < rows; ++i) {
            // Rows on whole pixels, so that each fill meets the next.
            const int top = i * pixels / rows, bottom = (i + 1) * pixels / rows;
            const SegmentColours colours = coloursOf(segments[i].style, quiet, palette);
            painter.fillRect(QRect(0, top, pixels, bottom - top), colours.fill);
            if (i > 0) painter.fillRect(QRect(0, top, pixels, divider), colours.divider);

            // The digits keep clear of the row's edges and, in the first and
            // last row, of the rounded corners.
            const qreal height = bottom - top;
            const qreal margin = std::max(qreal(1), height / 8);
            const bool outer = i == 0 || i == rows - 1;
            const qreal inset = std::max({qreal(1), pixels / 16.0, outer ? cornerInset(margin) : 0});
            const Figures& figures = largestFitting(segments[i].text, QSizeF(pixels - 2 * inset, height - 2 * margin));
            const QRectF& ink = figures.ink();
            painter.setPen(colours.text);
            figures.draw(painter, segments[i].text, (pixels - figures.width(segments[i].text)) / 2,
                         top + (height - ink.height()) / 2 - ink.top());
        }
        painter.end();
        cutToRoundedRect(image, pixels, radius);
    }
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

}  // namespace tavlin::rows
