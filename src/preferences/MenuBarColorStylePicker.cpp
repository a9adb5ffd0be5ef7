#include "preferences/MenuBarColorStylePicker.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace tavlin::preferences {

namespace {

constexpr int kPreviewHeight = 84;
constexpr int kStripHeight = 25;
constexpr int kStripTrailingPadding = 9;
constexpr qreal kCornerRadius = 11;
constexpr int kTitleSpacing = 7;

// The samples: three counts, in each of the styles.
const std::vector<CountSegment>& sampleSegments() {
    static const std::vector<CountSegment> segments{
        {u"3"_s, SegmentStyle::alarm}, {u"0"_s, SegmentStyle::neutral}, {u"1"_s, SegmentStyle::win}};
    return segments;
}

bool isDark(const QPalette& palette) { return palette.color(QPalette::Window).lightnessF() < 0.5; }

QFont calloutFont(QFont font) {
    if (font.pixelSize() > 0) font.setPixelSize(font.pixelSize() - 1);
    else font.setPointSizeF(font.pointSizeF() * 12 / 13);
    return font;
}

// One tile: a button as large as its preview and title, checked while its
// style is the selected one.
class ColorStyleOption final : public QAbstractButton {
public:
    ColorStyleOption(const QString& title, QImage sample, DesktopPicture& picture, QWidget* parent)
        : QAbstractButton(parent), sample_(std::move(sample)), picture_(picture) {
        setText(title);
        setAccessibleName(title);
        setCheckable(true);
        setFocusPolicy(Qt::TabFocus);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

    QSize sizeHint() const override {
        return {160, kPreviewHeight + kTitleSpacing + QFontMetrics(calloutFont(font())).height()};
    }
    QSize minimumSizeHint() const override { return {96, sizeHint().height()}; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        const QRectF preview(0, 0, width(), kPreviewHeight);
        QPainterPath shape;
        shape.addRoundedRect(preview, kCornerRadius, kCornerRadius);

        painter.save();
        painter.setClipPath(shape);
        paintWallpaper(painter, preview);
        paintStrip(painter, QRectF(preview.topLeft(), QSizeF(preview.width(), kStripHeight)));
        painter.restore();
        paintBorder(painter, preview);

        const QRect title(0, kPreviewHeight + kTitleSpacing, width(), height() - kPreviewHeight - kTitleSpacing);
        painter.setFont(calloutFont(font()));
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(title, Qt::AlignHCenter | Qt::AlignTop, text());
        if (hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = painter.boundingRect(title, Qt::AlignHCenter | Qt::AlignTop, text()).adjusted(-3, 0, 3, 0);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
        }
    }

private:
    void paintWallpaper(QPainter& painter, const QRectF& preview) const {
        const QImage& picture = picture_.image();
        if (!picture.isNull()) {
            // Scaled to fill, centred: the middle of the picture, cut to the
            // preview's proportions.
            const QSizeF target = preview.size();
            const qreal scale = std::max(target.width() / picture.width(), target.height() / picture.height());
            const QSizeF source(target.width() / scale, target.height() / scale);
            const QRectF cut(QPointF((picture.width() - source.width()) / 2, (picture.height() - source.height()) / 2),
                             source);
            painter.drawImage(preview, picture, cut);
            return;
        }
        QLinearGradient gradient(preview.topLeft(), preview.bottomRight());
        if (isDark(palette())) {
            gradient.setColorAt(0, QColor(0x5E, 0x5C, 0xE6));
            gradient.setColorAt(1, Qt::black);
        } else {
            QColor cyan(0x32, 0xAD, 0xE6), blue(0x00, 0x7A, 0xFF);
            cyan.setAlphaF(0.75);
            blue.setAlphaF(0.65);
            gradient.setColorAt(0, cyan);
            gradient.setColorAt(1, blue);
        }
        painter.fillRect(preview, gradient);
    }

    // A translucent panel with the samples at its trailing end.
    void paintStrip(QPainter& painter, const QRectF& strip) const {
        QColor material = palette().color(QPalette::Window);
        material.setAlphaF(0.55);
        painter.fillRect(strip, material);
        painter.fillRect(strip, QColor(0, 0, 0, qRound(0.08 * 255)));
        const QSizeF size = sample_.deviceIndependentSize();
        const QPointF topLeft(strip.right() - kStripTrailingPadding - size.width(),
                              strip.top() + (strip.height() - size.height()) / 2);
        painter.drawImage(QRectF(topLeft, size), sample_);
    }

    // Inside the rounded shape: the accent, 4 px, on the selected tile, a
    // faint line on the other.
    void paintBorder(QPainter& painter, const QRectF& preview) const {
        const qreal width = isChecked() ? 4 : 1;
        QColor color = palette().color(isChecked() ? QPalette::Highlight : QPalette::WindowText);
        if (!isChecked()) color.setAlphaF(0.12);
        const qreal inset = width / 2;
        QPainterPath border;
        border.addRoundedRect(preview.adjusted(inset, inset, -inset, -inset), kCornerRadius - inset,
                              kCornerRadius - inset);
        painter.setPen(QPen(color, width));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(border);
    }

    QImage sample_;
    DesktopPicture& picture_;
};

}  // namespace

MenuBarColorStylePicker::MenuBarColorStylePicker(SegmentRenderer renderer, DesktopPicture& picture, QWidget* parent)
    : QWidget(parent), group_(new QButtonGroup(this)) {
    auto* vivid = new ColorStyleOption(u"Vivid"_s, renderer(sampleSegments(), false), picture, this);
    auto* quiet = new ColorStyleOption(u"Quiet"_s, renderer(sampleSegments(), true), picture, this);
    group_->setExclusive(true);
    group_->addButton(vivid);
    group_->addButton(quiet);
    vivid->setChecked(true);
    // On every click, so that clicking the selected tile writes again.
    connect(vivid, &QAbstractButton::clicked, this, [this] { clicked(false); });
    connect(quiet, &QAbstractButton::clicked, this, [this] { clicked(true); });

    auto* tiles = new QHBoxLayout;
    tiles->setSpacing(12);
    tiles->addWidget(vivid);
    tiles->addWidget(quiet);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 4, 0, 4);
    layout->setSpacing(10);
    layout->addWidget(new QLabel(u"Count colors"_s, this));
    layout->addLayout(tiles);
}

QAbstractButton& MenuBarColorStylePicker::vividTile() const { return *group_->buttons().at(0); }

QAbstractButton& MenuBarColorStylePicker::quietTile() const { return *group_->buttons().at(1); }

void MenuBarColorStylePicker::setQuieter(bool quieter) {
    (quieter ? quietTile() : vividTile()).setChecked(true);
    if (quieter == quieter_) return;
    quieter_ = quieter;
    emit quieterChanged(quieter);
}

void MenuBarColorStylePicker::clicked(bool quieter) {
    setQuieter(quieter);
    emit quieterWritten(quieter);
}

}  // namespace tavlin::preferences
