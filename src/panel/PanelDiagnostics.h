#pragma once

#include "panel/PanelWindow.h"

#include <QLatin1StringView>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <optional>
#include <vector>

// The lines the panel's diagnostics print for the developer switches, as
// pure functions of what was read. A fixed format that scripts read:
// booleans as true and false, numbers in the shortest text that reads back
// with a decimal point (1.0, 0.5), points as (x, y) and rectangles as
// (x, y, width, height) in Qt's screen coordinates, y downward.
namespace tavlin::panel::diagnostics {

// What typing reports where no text input has the focus.
inline constexpr QLatin1StringView noFieldEditor{"<no field editor>"};

QString flag(bool value);
QString number(double value);
QString point(QPointF point);
QString rect(const QRectF& rect);

struct WindowState {
    bool visible = false;
    bool key = false;
    bool shadow = false;
    double alpha = 1;
    bool content = false;
    quint64 window = 0;
};
// "visible=true key=true shadow=true alpha=1.0 content=true window=4711"
QString debugState(const WindowState& state);

// "none", or the class name, with ("<text>") after it for a text input.
QString responder(const std::optional<PanelWindow::Responder>& responder);

struct Activation {
    QString tag;
    std::optional<QString> panel;  // the panel's debugState; nothing without one
    bool applicationActive = false;
    bool reallyActive = false;
    QString frontmost;
    QString menuBar;
    QString responder;
    int resignKeyCount = 0;
    std::vector<bool> orphansOnScreen;  // each panel left behind: whether it shows
};
// "[tag] panel: … orphanPanels=N onScreen=… ", ending in a blank when no
// panel was left behind.
QString activationLine(const Activation& activation);

struct Geometry {
    QRectF frame;
    QPointF desiredTopLeft;
    std::optional<QRectF> button;  // the tray item's rectangle
    QRectF visible;                // of the panel's screen; empty without one
    QRectF screen;
    double scale = 1;
};
// "panel: (…) desiredTopLeft: (…) button: … visible: (…) screen: (…) scale: …"
QString geometryLine(const Geometry& geometry);

QString keyboardLine(bool key, bool reallyActive, const QString& responder);
QString typingLine(const QString& before, const QString& after);
QString keyEquivalentsLine(const QString& field);

}  // namespace tavlin::panel::diagnostics
