#include "rows/LocationPreviewCard.h"

#include "platform/ReduceMotion.h"
#include "rows/Look.h"
#include "rows/Spinner.h"
#include "rows/Symbol.h"

#include <QEvent>
#include <QGraphicsOpacityEffect>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <QVariantAnimation>

#include <algorithm>
#include <cmath>
#include <numbers>

using namespace Qt::StringLiterals;

namespace tavlin::rows {

namespace {

constexpr double smallestRadius = 25;     // metres
constexpr double largestRadius = 10'000;  // metres
constexpr double pinSide = 22;
constexpr int labelSpacing = 4;  // between a symbol and its text
constexpr int captionSpacing = 8;
constexpr int preferredWidth = 440;  // the panel's own width under the tray item

QColor withAlpha(QColor color, double alpha) {
    color.setAlphaF(float(alpha));
    return color;
}

QFont captionFont() { return font(TextStyle::caption); }

// Runs `step` from `from` to `to` over `duration`, easing out; the animation
// goes with `owner`, or when it ends.
QVariantAnimation* easeOut(QObject& owner, std::chrono::milliseconds duration, double from, double to,
                           std::function<void(double)> step) {
    auto* animation = new QVariantAnimation(&owner);
    animation->setDuration(int(duration.count()));
    animation->setEasingCurve(QEasingCurve::OutCubic);
    animation->setStartValue(from);
    animation->setEndValue(to);
    QObject::connect(animation, &QVariantAnimation::valueChanged, &owner,
                     [step = std::move(step)](const QVariant& value) { step(value.toDouble()); });
    animation->start(QAbstractAnimation::DeleteWhenStopped);
    return animation;
}

bool isUsableScale(double pointsPerMeter) { return std::isfinite(pointsPerMeter) && pointsPerMeter > 0; }

}  // namespace

std::vector<double> radiusOptions(double resolvedRadius) {
    std::vector<double> options(radiusPresets.begin(), radiusPresets.end());
    if (std::find(options.begin(), options.end(), resolvedRadius) != options.end()) return options;
    options.push_back(resolvedRadius);
    std::sort(options.begin(), options.end());
    return options;
}

QString distanceText(double metres) {
    if (!std::isfinite(metres)) return {};
    // Qt's own formatting: the same decimal point in every locale.
    if (metres >= 1000) return QString::asprintf("%g km", metres / 1000);
    return QString::number(static_cast<long long>(std::trunc(metres))) + u" m"_s;
}

QString radiusCaption(parsing::LocationTrigger trigger, double metres) {
    const QString when =
        trigger == parsing::LocationTrigger::arrive ? u"Reminds on arrival"_s : u"Reminds when leaving"_s;
    return when + u" · "_s + distanceText(metres) + u" range"_s;
}

QString noMapMatchText(const QString& requestedName) {
    return u"No map match for “"_s + requestedName + u"” — it will be saved as a named location"_s;
}

std::optional<double> draggedRadius(QPointF location, QPointF center, double pointsPerMeter) {
    if (!isUsableScale(pointsPerMeter)) return std::nullopt;
    const double metres = std::hypot(location.x() - center.x(), location.y() - center.y()) / pointsPerMeter;
    if (!std::isfinite(metres)) return std::nullopt;
    // The step is judged on the distance before it is rounded.
    const double step = metres < 200 ? 5 : metres < 1000 ? 25 : 100;
    // std::round takes halves away from zero.
    return std::clamp(std::round(metres / step) * step, smallestRadius, largestRadius);
}

RadiusOverlay RadiusOverlay::at(QPointF center, double pointsPerMeter, double metres) {
    const double radius = pointsPerMeter * metres;
    const QPointF handle(center.x() + radius, center.y());
    return {.ring = QRectF(center.x() - radius, center.y() - radius, 2 * radius, 2 * radius),
            .handle = handle,
            .labelStart = QPointF(handle.x() + labelGap, center.y())};
}

// The caption's menu: only its text, no frame and no arrow, and the menu
// opens at the press.
class LocationPreviewCard::MenuButton final : public QToolButton {
public:
    explicit MenuButton(QWidget* parent) : QToolButton(parent) {
        setPopupMode(QToolButton::InstantPopup);
        setAutoRaise(true);
        setFocusPolicy(Qt::NoFocus);
        setCursor(Qt::PointingHandCursor);
        setFont(captionFont());
        setAttribute(Qt::WA_Hover);
    }

    QSize sizeHint() const override {
        const QFontMetrics metrics(font());
        return {metrics.horizontalAdvance(text()) + 2 * margin, metrics.height() + 2};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QColor text = palette().color(QPalette::ButtonText);
        if (underMouse() || isDown()) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(withAlpha(text, 0.12 * text.alphaF() / 0.5));
            painter.drawRoundedRect(QRectF(rect()), 4, 4);
        }
        painter.setPen(text);
        painter.setFont(font());
        painter.drawText(rect().adjusted(margin, 0, -margin, 0), Qt::AlignVCenter | Qt::AlignLeft, this->text());
    }

private:
    static constexpr int margin = 2;
};

LocationPreviewCard::LocationPreviewCard(QWidget* parent) : LocationPreviewCard(Inputs{}, parent) {}

LocationPreviewCard::LocationPreviewCard(Inputs inputs, QWidget* parent)
    : QWidget(parent),
      inputs_(std::move(inputs)),
      menuButton_(new MenuButton(this)),
      menu_(new QMenu(this)),
      spin_(new QTimer(this)) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setFont(captionFont());
    setTone(*menuButton_, Tone::secondary);
    menuButton_->setMenu(menu_);
    // The menu is a window of its own: it takes the card's colours when it opens.
    connect(menu_, &QMenu::aboutToShow, this, [this] { menu_->setPalette(palette()); });
    spin_->setInterval(spinnerStep);
    connect(spin_, &QTimer::timeout, this, [this] {
        spinPhase_ = (spinPhase_ + 1) % spinnerSpokes;
        update(mapArea());
    });
    setInputs(inputs_);
}

LocationPreviewCard::~LocationPreviewCard() = default;

void LocationPreviewCard::setInputs(Inputs inputs, std::chrono::milliseconds fade) {
    const bool failedBefore = inputs_.failed;
    const bool crossFade = fade.count() > 0 && isVisible() && !failedBefore && !inputs.failed;
    if (crossFade) fadingFrom_ = mapPicture();
    inputs_ = std::move(inputs);
    rebuildMenu();
    updateCaption();
    followLoading();
    if (failedBefore != inputs_.failed) {
        updateGeometry();
        fadeIn(fade);
    }
    if (fade_) fade_->stop();
    fadeProgress_ = 1;
    if (crossFade) {
        fadeProgress_ = 0;
        fade_ = easeOut(*this, fade, 0, 1, [this](double progress) {
            fadeProgress_ = progress;
            update(mapArea());
        });
        connect(fade_, &QVariantAnimation::finished, this, [this] { fadingFrom_ = {}; });
    } else {
        fadingFrom_ = {};
    }
    update();
}

void LocationPreviewCard::fadeIn(std::chrono::milliseconds duration) {
    if (duration.count() <= 0) return;
    auto* effect = new QGraphicsOpacityEffect(this);
    effect->setOpacity(0);
    setGraphicsEffect(effect);
    QVariantAnimation* animation =
        easeOut(*effect, duration, 0, 1, [effect](double opacity) { effect->setOpacity(opacity); });
    connect(animation, &QVariantAnimation::finished, this, [this, effect] {
        if (graphicsEffect() == effect) setGraphicsEffect(nullptr);
    });
}

void LocationPreviewCard::fadeOutAndDelete(std::chrono::milliseconds duration) {
    if (duration.count() <= 0 || !isVisible()) {
        deleteLater();
        return;
    }
    auto* effect = new QGraphicsOpacityEffect(this);
    setGraphicsEffect(effect);
    QVariantAnimation* animation =
        easeOut(*effect, duration, 1, 0, [effect](double opacity) { effect->setOpacity(opacity); });
    connect(animation, &QVariantAnimation::finished, this, &QObject::deleteLater);
}

double LocationPreviewCard::radius() const {
    if (dragRadius_) return *dragRadius_;
    return inputs_.resolved ? inputs_.resolved->radius : 0;
}

QRect LocationPreviewCard::mapArea() const {
    return {horizontalPadding, topPadding, std::max(0, width() - 2 * horizontalPadding), mapHeight};
}

std::optional<RadiusOverlay> LocationPreviewCard::overlay() const {
    if (inputs_.failed || !inputs_.resolved || !inputs_.snapshot) return std::nullopt;
    const double scale = inputs_.snapshot->pointsPerMeter;
    if (!isUsableScale(scale)) return std::nullopt;
    const RadiusOverlay overlay =
        RadiusOverlay::at(inputs_.snapshot->center + QPointF(mapArea().topLeft()), scale, radius());
    if (!std::isfinite(overlay.handle.x()) || !std::isfinite(overlay.handle.y())) return std::nullopt;
    return overlay;
}

QString LocationPreviewCard::captionName() const {
    return inputs_.resolved ? inputs_.resolved->name : inputs_.requestedName;
}

int LocationPreviewCard::captionHeight() const {
    return std::max(QFontMetrics(captionFont()).height(), menuButton_->sizeHint().height());
}

QRect LocationPreviewCard::noticeArea(int width) const {
    const int inner = std::max(0, width - 2 * horizontalPadding);
    const int side = symbolSide(captionFont());
    const int textWidth = std::max(1, inner - side - labelSpacing);
    const QRect text = QFontMetrics(captionFont())
                           .boundingRect(QRect(0, 0, textWidth, 10'000), Qt::TextWordWrap | Qt::AlignLeft,
                                         noMapMatchText(inputs_.requestedName));
    return {horizontalPadding, topPadding, inner, std::max(side, text.height())};
}

int LocationPreviewCard::heightForWidth(int width) const {
    if (inputs_.failed) return topPadding + noticeArea(width).height() + bottomPadding;
    return topPadding + mapHeight + spacing + captionHeight() + bottomPadding;
}

QSize LocationPreviewCard::sizeHint() const { return {preferredWidth, heightForWidth(preferredWidth)}; }

QSize LocationPreviewCard::minimumSizeHint() const {
    // The height comes from heightForWidth in a layout; a narrow width
    // must not make the notice's wrapped lines the least height there is.
    constexpr int narrowest = 2 * horizontalPadding + 120;
    return {narrowest, heightForWidth(preferredWidth)};
}

bool LocationPreviewCard::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Hide: followLoading(); break;
    case QEvent::PaletteChange: rebuildMenu(); break;
    default: break;
    }
    return QWidget::event(event);
}

void LocationPreviewCard::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutCaption();
}

void LocationPreviewCard::rebuildMenu() {
    menu_->clear();
    if (!inputs_.resolved) return;
    const double chosen = inputs_.resolved->radius;
    const QColor text = palette().color(QPalette::WindowText);
    for (const double option : radiusOptions(chosen)) {
        QAction* action = menu_->addAction(distanceText(option));
        // The mark follows the radius handed in, not one being dragged.
        if (option == chosen) action->setIcon(symbolIcon(Symbol::checkmark, text, 14));
        connect(action, &QAction::triggered, this, [this, option] {
            if (onRadiusChange) onRadiusChange(option);
        });
    }
}

void LocationPreviewCard::updateCaption() {
    const bool shown = !inputs_.failed && inputs_.resolved.has_value();
    menuButton_->setText(shown ? radiusCaption(inputs_.trigger, radius()) : QString());
    menuButton_->setVisible(shown);
    layoutCaption();
    update();
}

void LocationPreviewCard::layoutCaption() {
    const QSize hint = menuButton_->sizeHint();
    const int top = topPadding + mapHeight + spacing;
    const int right = width() - horizontalPadding;
    menuButton_->setGeometry(right - hint.width(), top + (captionHeight() - hint.height()) / 2, hint.width(),
                             hint.height());
}

void LocationPreviewCard::followLoading() {
    const bool loading = isVisible() && !inputs_.failed && !inputs_.snapshot && !platform::reduceMotion();
    if (loading && !spin_->isActive()) spin_->start();
    if (!loading) spin_->stop();
}

// Painting.

void LocationPreviewCard::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (inputs_.failed) return paintNotice(painter);
    paintMap(painter);
    paintCaptionName(painter);
}

void LocationPreviewCard::paintNotice(QPainter& painter) {
    const QRect area = noticeArea(width());
    const QColor tone = color(palette(), Tone::secondary);
    const QFont font = captionFont();
    const int side = symbolSide(font);
    const int firstLine = QFontMetrics(font).height();
    paintSymbol(painter, Symbol::locationSlash, QRectF(area.left(), area.top() + (firstLine - side) / 2.0, side, side),
                tone);
    painter.setFont(font);
    painter.setPen(tone);
    painter.drawText(area.adjusted(side + labelSpacing, 0, 0, 0), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop,
                     noMapMatchText(inputs_.requestedName));
}

void LocationPreviewCard::paintMap(QPainter& painter) {
    const QRect area = mapArea();
    QPainterPath clip;
    clip.addRoundedRect(QRectF(area), mapCornerRadius, mapCornerRadius);
    painter.save();
    painter.setClipPath(clip);
    if (fadeProgress_ < 1 && !fadingFrom_.isNull()) {
        painter.setOpacity(1 - fadeProgress_);
        painter.drawPixmap(area, fadingFrom_);
        painter.setOpacity(fadeProgress_);
    }
    if (inputs_.snapshot) {
        // Stretched to the area: the map was drawn at its size, so that its
        // centre and scale are points of the area as they are.
        painter.drawImage(QRectF(area), inputs_.snapshot->image);
        if (const std::optional<RadiusOverlay> shown = overlay()) paintOverlay(painter, *shown);
        if (!inputs_.snapshot->attribution.isEmpty()) paintAttribution(painter, area, inputs_.snapshot->attribution);
    } else {
        painter.fillRect(area, color(palette(), Tone::quaternary));
        paintSpinner(painter, QRectF(area).center());
    }
    painter.restore();
}

void LocationPreviewCard::paintOverlay(QPainter& painter, const RadiusOverlay& overlay) {
    const QColor accent = color(palette(), Tone::accent);
    const QPointF center = overlay.ring.center();
    const double radius = overlay.ring.width() / 2;

    // The ring, its border inside its edge.
    constexpr double ringLine = 1.5;
    painter.setPen(Qt::NoPen);
    painter.setBrush(withAlpha(accent, 0.15));
    painter.drawEllipse(center, radius, radius);
    const double inner = std::max(0.0, radius - ringLine / 2);
    painter.setPen(QPen(withAlpha(accent, 0.8), ringLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(center, inner, inner);

    // The radius, dashed 4 on and 4 off (the pattern counts in line widths).
    QPen dash(withAlpha(accent, 0.9), 2);
    dash.setDashPattern({2, 2});
    dash.setCapStyle(Qt::FlatCap);
    painter.setPen(dash);
    painter.drawLine(center, overlay.handle);

    paintSymbol(painter, Symbol::mapPin, QRectF(center.x() - pinSide / 2, center.y() - pinSide / 2, pinSide, pinSide),
                color(palette(), Tone::red));

    // The distance, with a white glow that keeps it readable on any map.
    const QFont labelFont = rows::font(TextStyle::callout, QFont::DemiBold);
    const QFontMetricsF metrics(labelFont);
    const QString text = distanceText(this->radius());
    QPainterPath label;
    label.addText(overlay.labelStart + QPointF(0, (metrics.ascent() - metrics.descent()) / 2), labelFont, text);
    const QColor glow(255, 255, 255);
    for (const auto& [width, alpha] : {std::pair{4.0, 0.35}, std::pair{2.0, 0.9}}) {
        QPen halo(withAlpha(glow, alpha), width);
        halo.setJoinStyle(Qt::RoundJoin);
        painter.strokePath(label, halo);
    }
    painter.fillPath(label, accent);

    // The handle, its white border inside its edge.
    constexpr double handleLine = 2;
    const double handleRadius = RadiusOverlay::handleSide / 2;
    painter.setPen(Qt::NoPen);
    painter.setBrush(accent);
    painter.drawEllipse(overlay.handle, handleRadius, handleRadius);
    painter.setPen(QPen(Qt::white, handleLine));
    painter.setBrush(Qt::NoBrush);
    const double handleInner = handleRadius - handleLine / 2;
    painter.drawEllipse(overlay.handle, handleInner, handleInner);
}

// The map makers' credit, small in the bottom right corner, on a light band
// that keeps it readable on the map in either appearance.
void LocationPreviewCard::paintAttribution(QPainter& painter, const QRect& area, const QString& text) {
    const QFont small = rows::font(TextStyle::caption);
    const QFontMetricsF metrics(small);
    constexpr double padding = 3;
    const QSizeF band(metrics.horizontalAdvance(text) + 2 * padding, metrics.height());
    const QRectF rect(QPointF(area.right() + 1 - band.width(), area.bottom() + 1 - band.height()), band);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 200));
    painter.drawRect(rect);
    painter.setFont(small);
    painter.setPen(QColor(0x33, 0x33, 0x33));
    painter.drawText(rect, Qt::AlignCenter, text);
}

void LocationPreviewCard::paintSpinner(QPainter& painter, QPointF center) {
    rows::paintSpinner(painter, center, spinPhase_, color(palette(), Tone::primary));
}

void LocationPreviewCard::paintCaptionName(QPainter& painter) {
    const QFont font = captionFont();
    const QFontMetrics metrics(font);
    const int side = symbolSide(font);
    const int top = topPadding + mapHeight + spacing;
    const int height = captionHeight();
    const int right =
        menuButton_->isVisible() ? menuButton_->geometry().left() - captionSpacing : width() - horizontalPadding;
    const QColor tone = color(palette(), Tone::secondary);
    paintSymbol(painter, Symbol::locationArrow, QRectF(horizontalPadding, top + (height - side) / 2.0, side, side),
                tone);
    const QRect text(horizontalPadding + side + labelSpacing, top,
                     std::max(0, right - horizontalPadding - side - labelSpacing), height);
    painter.setFont(font);
    painter.setPen(tone);
    painter.drawText(text, Qt::AlignVCenter | Qt::AlignLeft,
                     metrics.elidedText(captionName(), Qt::ElideRight, text.width()));
}

QPixmap LocationPreviewCard::mapPicture() {
    const QRect area = mapArea();
    if (area.isEmpty()) return {};
    QPixmap picture(area.size() * devicePixelRatioF());
    picture.setDevicePixelRatio(devicePixelRatioF());
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(-area.topLeft());
    const double progress = std::exchange(fadeProgress_, 1);
    paintMap(painter);
    fadeProgress_ = progress;
    return picture;
}

// The handle's drag.

bool LocationPreviewCard::handleContains(QPointF point) const {
    const std::optional<RadiusOverlay> shown = overlay();
    if (!shown) return false;
    const QPointF offset = point - shown->handle;
    return std::hypot(offset.x(), offset.y()) <= RadiusOverlay::handleSide / 2;
}

void LocationPreviewCard::dragTo(QPointF point) {
    // Points of the map's area, where the snapshot's centre lies.
    const std::optional<double> metres =
        draggedRadius(point - QPointF(mapArea().topLeft()), inputs_.snapshot->center, inputs_.snapshot->pointsPerMeter);
    if (!metres) return;
    dragRadius_ = metres;
    updateCaption();
}

void LocationPreviewCard::mousePressEvent(QMouseEvent* event) {
    // Only the handle takes the mouse.
    if (event->button() != Qt::LeftButton || !handleContains(event->position())) return event->ignore();
    pressingHandle_ = true;
    dragTo(event->position());
    event->accept();
}

void LocationPreviewCard::mouseMoveEvent(QMouseEvent* event) {
    if (!pressingHandle_ || !inputs_.snapshot) return event->ignore();
    dragTo(event->position());
    event->accept();
}

void LocationPreviewCard::mouseReleaseEvent(QMouseEvent* event) {
    if (!pressingHandle_ || event->button() != Qt::LeftButton) return event->ignore();
    pressingHandle_ = false;
    const std::optional<double> metres = std::exchange(dragRadius_, std::nullopt);
    updateCaption();
    event->accept();
    if (metres && onRadiusChange) onRadiusChange(*metres);
}

}  // namespace tavlin::rows
