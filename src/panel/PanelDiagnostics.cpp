#include "panel/PanelDiagnostics.h"

#include "panel/PanelController.h"
#include "platform/DecimalText.h"
#include "platform/StandardOutput.h"
#include "platform/SyntheticKeys.h"
#include "platform/WindowSystem.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPointer>
#include <QStringList>

#include <algorithm>
#include <chrono>

namespace tavlin::panel::diagnostics {

using namespace Qt::StringLiterals;

namespace {

QString quoted(const QString& text) { return u'"' + text + u'"'; }

}  // namespace

QString flag(bool value) { return value ? u"true"_s : u"false"_s; }

// Coordinates reflected between the two systems may come back as -0.
QString number(double value) { return platform::decimalText(value == 0 ? 0.0 : value); }

QString point(QPointF point) { return u"(%1, %2)"_s.arg(number(point.x()), number(point.y())); }

QString rect(const QRectF& rect) {
    return u"(%1, %2, %3, %4)"_s.arg(number(rect.x()), number(rect.y()), number(rect.width()), number(rect.height()));
}

QString debugState(const WindowState& state) {
    return u"visible="_s + flag(state.visible) + u" key="_s + flag(state.key) + u" shadow="_s + flag(state.shadow) +
           u" alpha="_s + number(state.alpha) + u" content="_s + flag(state.content) + u" window="_s +
           QString::number(state.window);
}

QString responder(const std::optional<PanelWindow::Responder>& responder) {
    if (!responder) return u"none"_s;
    if (!responder->text) return responder->className;
    return responder->className + u'(' + quoted(*responder->text) + u')';
}

QString activationLine(const Activation& activation) {
    QStringList orphans;
    for (const bool onScreen : activation.orphansOnScreen) orphans << u"onScreen="_s + flag(onScreen);
    return u"["_s + activation.tag + u"] panel: "_s + activation.panel.value_or(u"nil"_s) + u" nsAppActive="_s +
           flag(activation.applicationActive) + u" reallyActive="_s + flag(activation.reallyActive) + u" frontmost="_s +
           activation.frontmost + u" menuBar="_s + activation.menuBar + u" responder="_s + activation.responder +
           u" resignKey="_s + QString::number(activation.resignKeyCount) + u" orphanPanels="_s +
           QString::number(activation.orphansOnScreen.size()) + u' ' + orphans.join(u' ');
}

QString geometryLine(const Geometry& geometry) {
    return u"panel: "_s + rect(geometry.frame) + u" desiredTopLeft: "_s + point(geometry.desiredTopLeft) +
           u" button: "_s + (geometry.button ? rect(*geometry.button) : u"none"_s) + u" visible: "_s +
           rect(geometry.visible) + u" screen: "_s + rect(geometry.screen) + u" scale: "_s + number(geometry.scale);
}

QString keyboardLine(bool key, bool reallyActive, const QString& responder) {
    return u"keyboard: key="_s + flag(key) + u" reallyActive="_s + flag(reallyActive) + u" responder="_s + responder;
}

QString typingLine(const QString& before, const QString& after) {
    return u"typing: before="_s + quoted(before) + u" after="_s + quoted(after);
}

QString keyEquivalentsLine(const QString& field) {
    return u"menu equivalents via NSApp.sendEvent: field="_s + quoted(field);
}

}  // namespace tavlin::panel::diagnostics

namespace tavlin::panel {

using namespace Qt::StringLiterals;
using namespace diagnostics;

namespace {

// The screen that holds most of `frame`; else the main screen; else none.
const geometry::Screen* screenOf(const geometry::Rect& frame, const geometry::Desktop& desktop) {
    const geometry::Screen* best = nullptr;
    double bestArea = 0;
    for (const geometry::Screen& screen : desktop.screens) {
        const double width = std::min(frame.maxX(), screen.frame.maxX()) - std::max(frame.minX(), screen.frame.minX());
        const double height = std::min(frame.maxY(), screen.frame.maxY()) - std::max(frame.minY(), screen.frame.minY());
        if (width > 0 && height > 0 && width * height > bestArea) {
            best = &screen;
            bestArea = width * height;
        }
    }
    if (best) return best;
    if (desktop.mainScreen && *desktop.mainScreen < desktop.screens.size())
        return &desktop.screens[*desktop.mainScreen];
    return nullptr;
}

}  // namespace

QString PanelController::debugState(const PanelWindow& panel) const {
    return diagnostics::debugState({.visible = panel.isVisible(),
                                    .key = panel.isKey(),
                                    .shadow = panel.hasShadow(),
                                    .alpha = panel.alphaValue(),
                                    .content = panel.hasContent(),
                                    .window = panel.windowNumber()});
}

QString PanelController::describeResponder() const {
    return responder(panel_ ? panel_->firstResponder() : std::nullopt);
}

void PanelController::activationState(const QString& tag) const {
    std::vector<bool> orphans;
    for (const PanelWindow* window : PanelWindow::liveWindows())
        if (window != panel_.get()) orphans.push_back(window->isVisible());
    // The desktop has no menu bar: the program in front stands for its owner.
    const QString frontmost = platform::frontmostApplicationName();
    platform::printStep(activationLine({.tag = tag,
                                        .panel = panel_ ? std::optional(debugState(*panel_)) : std::nullopt,
                                        .applicationActive = platform::isApplicationActive(),
                                        .reallyActive = platform::isReallyActive(),
                                        .frontmost = frontmost,
                                        .menuBar = frontmost,
                                        .responder = describeResponder(),
                                        .resignKeyCount = resignKeyCount_,
                                        .orphansOnScreen = orphans}));
}

void PanelController::printGeometry() const {
    // Flushed in either case: a switch that prints this may leave Tavlin
    // running, and a reader at the other end of a pipe waits for the line.
    if (!panel_) return platform::printStep(u"panel: none"_s);
    const geometry::Desktop desktop = environment_.desktop->desktop();
    const geometry::Screen* screen = screenOf(frame(), desktop);
    platform::printStep(geometryLine({
        .frame = panel_->frame(),
        .desiredTopLeft = geometry::toQt(placement_.topLeft),
        .button = shell_.statusButtonProvider ? shell_.statusButtonProvider() : std::nullopt,
        .visible = screen ? geometry::toQt(screen->visible) : QRectF(),
        .screen = screen ? geometry::toQt(screen->frame) : QRectF(),
        .scale = screen ? screen->scale : 1,
    }));
}

platform::Task<> PanelController::typeText(QString text) const { return platform::typeText(std::move(text), clock_); }

platform::Task<> PanelController::typeAndReport() {
    if (!panel_) {
        platform::printStep(u"keyboard: no panel"_s);
        co_return;
    }
    platform::printStep(keyboardLine(panel_->isKey(), platform::isReallyActive(), describeResponder()));
    const QString before = focusedText().value_or(QString());
    const QPointer<PanelController> self(this);
    const QString typed = u"hi"_s;
    co_await typeText(typed);
    if (!self) co_return;
    platform::printStep(typingLine(before, focusedText().value_or(noFieldEditor)));

    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(u"pasted"_s);
    // Each key may close the panel.
    if (panel_) panel_->sendShortcutKey(Qt::Key_A, Qt::ControlModifier, u"a"_s);
    if (panel_) panel_->sendShortcutKey(Qt::Key_V, Qt::ControlModifier, u"v"_s);
    [[maybe_unused]] const bool slept = co_await platform::sleep(std::chrono::milliseconds(300), clock_);
    if (!self) co_return;
    platform::printStep(keyEquivalentsLine(focusedText().value_or(noFieldEditor)));
}

std::optional<QString> PanelController::focusedText() const {
    if (!panel_) return std::nullopt;
    const std::optional<PanelWindow::Responder> responder = panel_->firstResponder();
    return responder ? responder->text : std::nullopt;
}

}  // namespace tavlin::panel
