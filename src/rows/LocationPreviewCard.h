#pragma once

#include "parsing/ParsedQuickAdd.h"
#include "store/LocationPreview.h"
#include "store/ResolvedLocation.h"

#include <QPixmap>
#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QString>
#include <QToolButton>
#include <QWidget>

#include <array>
#include <chrono>
#include <functional>
#include <optional>
#include <vector>

class QMenu;
class QTimer;
class QVariantAnimation;

namespace tavlin::rows {

// The radii a place's card offers, in metres.
inline constexpr std::array<double, 4> radiusPresets{100, 250, 500, 1000};

// The menu's radii: the presets, and `resolvedRadius` among them when it is
// none of them, ascending.
std::vector<double> radiusOptions(double resolvedRadius);

// A radius for people: "250 m" (the metres cut to whole ones) below a
// kilometre, "1.5 km" from there; empty for a number that is not finite.
QString distanceText(double metres);

// "Reminds on arrival · 250 m range", or "Reminds when leaving · …".
QString radiusCaption(parsing::LocationTrigger trigger, double metres);

// What the card says when nothing matched the typed name.
QString noMapMatchText(const QString& requestedName);

// The radius in metres that dragging the ring's handle to `location` sets,
// for a map whose place lies at `center` with `pointsPerMeter` of the map
// per metre on the ground: the distance from the centre, rounded to 5 m
// below 200 m, to 25 m below 1 km and to 100 m above, then held within
// 25 m…10 km. Nothing for a map without a usable scale (not a positive
// number) or a distance that is not a number: such a radius would reach
// the saved reminder.
std::optional<double> draggedRadius(QPointF location, QPointF center, double pointsPerMeter);

// Where the parts of the radius overlay lie in the map, for a place at
// `center` and a radius of `pointsPerMeter` × `metres` points.
struct RadiusOverlay {
    QRectF ring;         // the circle's bounds
    QPointF handle;      // the handle's centre: on the ring, level with the place, to its right
    QPointF labelStart;  // where the distance's text begins, level with the place
    static constexpr double handleSide = 16;
    static constexpr double labelGap = 12;  // from the handle's centre to the text

    static RadiusOverlay at(QPointF center, double pointsPerMeter, double metres);
};

// Shows, under the row that will create a reminder, the place its line
// names: a map of the place with a ring of the reminder's radius, whose
// handle drags the radius to a new size, and a caption that says when the
// reminder fires and at what range, with a menu of radii. When nothing
// matched the name it says so instead. The card looks nothing up: its owner
// hands in the place and the map as they arrive, and hears of a new radius
// through onRadiusChange.
//
// The card keeps one thing of its own: the radius while the handle is
// dragged. Until its owner hands a new radius back in `resolved`, the ring
// shows the radius it was given.
class LocationPreviewCard : public QWidget {
    Q_OBJECT

public:
    struct Inputs {
        QString requestedName;                                        // the place as typed
        std::optional<store::ResolvedLocation> resolved;              // what the name became
        std::optional<store::LocationPreview::MapSnapshot> snapshot;  // none while it is drawn
        bool failed = false;                                          // nothing matched the name
        parsing::LocationTrigger trigger = parsing::LocationTrigger::arrive;
    };

    static constexpr int horizontalPadding = 16;
    static constexpr int topPadding = 4;
    static constexpr int bottomPadding = 6;
    static constexpr int mapHeight = 130;
    static constexpr double mapCornerRadius = 8;
    static constexpr int spacing = 6;  // between the map and its caption

    explicit LocationPreviewCard(QWidget* parent = nullptr);
    explicit LocationPreviewCard(Inputs inputs, QWidget* parent = nullptr);
    ~LocationPreviewCard() override;

    // Called with a radius in metres picked in the menu, or at the end of a
    // drag of the handle.
    std::function<void(double)> onRadiusChange;

    const Inputs& inputs() const { return inputs_; }
    // New inputs; the map's change cross-fades over `fade` (none: at once).
    void setInputs(Inputs inputs, std::chrono::milliseconds fade = {});
    // The card fades in, or out before it deletes itself.
    void fadeIn(std::chrono::milliseconds duration);
    void fadeOutAndDelete(std::chrono::milliseconds duration);

    // The radius being dragged; none when the handle is not held.
    std::optional<double> dragRadius() const { return dragRadius_; }
    // The dragged radius while there is one, else the resolved one.
    double radius() const;
    // The map's area in the card.
    QRect mapArea() const;
    // The overlay in the card's points; none without a place and a map.
    std::optional<RadiusOverlay> overlay() const;
    // The caption's menu; none is shown without a resolved place.
    QToolButton* radiusMenuButton() const { return menuButton_; }
    QMenu* radiusMenu() const { return menu_; }
    // The name the caption shows.
    QString captionName() const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    class MenuButton;

    void paintNotice(QPainter& painter);
    void paintMap(QPainter& painter);
    void paintOverlay(QPainter& painter, const RadiusOverlay& overlay);
    void paintAttribution(QPainter& painter, const QRect& area, const QString& text);
    void paintSpinner(QPainter& painter, QPointF center);
    void paintCaptionName(QPainter& painter);
    QRect noticeArea(int width) const;
    int captionHeight() const;
    void rebuildMenu();
    void updateCaption();
    void layoutCaption();
    void followLoading();
    // The map area as it is drawn now, for a cross-fade away from it.
    QPixmap mapPicture();
    bool handleContains(QPointF point) const;
    void dragTo(QPointF point);

    Inputs inputs_;
    std::optional<double> dragRadius_;
    bool pressingHandle_ = false;
    QToolButton* menuButton_;
    QMenu* menu_;
    QTimer* spin_;
    int spinPhase_ = 0;
    QPixmap fadingFrom_;  // the map as it was, while the change fades
    double fadeProgress_ = 1;
    QPointer<QVariantAnimation> fade_;
};

}  // namespace tavlin::rows
