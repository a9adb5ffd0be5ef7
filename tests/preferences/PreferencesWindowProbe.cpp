// A small program for the X11 test of the settings window: the real window
// and its controller over a temporary configuration (XDG_CONFIG_HOME and
// XDG_DATA_HOME are the test's), and a second plain window that can take
// the keyboard from it.
//
// It prints a line "state title=T visible=B active=B level=N width=W
// fitted=B height=H id=X" each time one of those changes (fitted: the view
// has the height the controller wants for the measured tab; id: the X
// window, which Qt makes anew when a closed window is shown again), and
// "reminders X Y" (the middle of the toolbar's Reminders button on the
// screen) once the window has been placed.
// Commands on standard input, one a line:
//   show      the controller's show()
//   refuse    from now on the controller finds the window without the
//             keyboard, as if the window manager refused it, and the other
//             window takes the keyboard; then show()
//   accept    the controller sees the window as it is again
//   close     closes the window as the application would

#include "preferences/PreferencesWindow.h"
#include "preferences/SettingsTabSelection.h"
#include "support/PreferencesWorld.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <QToolBar>
#include <QWindow>

#include <unistd.h>
#include <cstdio>

using namespace Qt::StringLiterals;
using tavlin::preferences::PreferencesWindow;
using tavlin::preferences::PreferencesWindowController;
using tavlin::preferences::PreferencesWindowPort;
using tavlin::preferences::SettingsTab;

namespace {

void say(const QString& line) {
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

QString text(bool value) { return value ? u"true"_s : u"false"_s; }

// The real window, whose keyboard the controller may be told it lacks.
class RefusingWindow final : public PreferencesWindowPort {
public:
    explicit RefusingWindow(std::unique_ptr<PreferencesWindow> window) : window_(std::move(window)) {}

    PreferencesWindow& window() const { return *window_; }
    bool refusing = false;

    QRect contentGeometry() const override { return window_->contentGeometry(); }
    QMargins chrome() const override { return window_->chrome(); }
    std::optional<QRect> availableGeometry() const override { return window_->availableGeometry(); }
    void setContentGeometry(const QRect& content, bool animate) override {
        window_->setContentGeometry(content, animate);
    }
    void center() override { window_->center(); }
    void setTitle(const QString& title) override { window_->setTitle(title); }
    void setSelectedItem(const QString& identifier) override { window_->setSelectedItem(identifier); }
    bool isVisible() const override { return window_->isVisible(); }
    bool isKey() const override { return !refusing && window_->isKey(); }
    bool isApplicationActive() const override { return window_->isApplicationActive(); }
    void activateApplication() override {
        if (!refusing) window_->activateApplication();
    }
    void makeKeyAndOrderFront() override {
        if (refusing) window_->show();
        else window_->makeKeyAndOrderFront();
    }
    void makeKey() override {
        if (!refusing) window_->makeKey();
    }
    void orderFrontRegardless() override { window_->orderFrontRegardless(); }
    void setFloating(bool floating) override { window_->setFloating(floating); }

private:
    std::unique_ptr<PreferencesWindow> window_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // Closing the settings window must not end the program, as in Tavlin.
    QApplication::setQuitOnLastWindowClosed(false);

    tavlin::testing::PreferencesWorld world(tavlin::testing::PreferencesWorld::numberedLists(12));
    tavlin::preferences::SettingsTabSelection selection;
    RefusingWindow* port = nullptr;
    PreferencesWindowController controller(
        world.store, world.settings, world.notifications.function(), world.location, world.server, nullptr, selection,
        world.contacts, world.renderer.renderer(), [&](PreferencesWindowController& owner) {
            auto made = std::make_unique<RefusingWindow>(std::make_unique<PreferencesWindow>(owner));
            port = made.get();
            return made;
        });

    QWidget other;
    other.setWindowTitle(u"Other"_s);
    other.resize(200, 100);
    other.move(900, 600);
    other.show();

    controller.show();
    PreferencesWindow& window = port->window();

    QString last;
    bool placed = false;
    auto* poll = new QTimer(&application);
    QObject::connect(poll, &QTimer::timeout, [&] {
        const SettingsTab tab = selection.tab();
        const bool fitted =
            controller.measuredHeight(tab) && window.contentGeometry().height() == controller.targetHeight();
        const QString state = u"state title=%1 visible=%2 active=%3 level=%4 width=%5 fitted=%6 height=%7 id=%8"_s.arg(
            window.windowTitle(), text(window.isVisible()), text(window.isActiveWindow()),
            QString::number(controller.windowLevel()), QString::number(window.width()), text(fitted),
            QString::number(window.contentGeometry().height()), QString::number(window.winId()));
        if (state != last) say(last = state);
        if (!placed && window.windowHandle() && window.windowHandle()->isExposed() && window.isActiveWindow()) {
            placed = true;
            QWidget* button = window.toolbar().widgetForAction(window.toolbar().actions().at(1));
            const QPoint middle = button->mapToGlobal(button->rect().center());
            say(u"reminders %1 %2"_s.arg(middle.x()).arg(middle.y()));
        }
    });
    poll->start(20);

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[256];
        const ssize_t read = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (read <= 0) {
            input.setEnabled(false);
            return;
        }
        for (const QString& command : QString::fromUtf8(buffer, read).split(u'\n', Qt::SkipEmptyParts)) {
            if (command == u"show"_s) {
                controller.show();
            } else if (command == u"refuse"_s) {
                port->refusing = true;
                other.activateWindow();
                controller.show();
            } else if (command == u"accept"_s) {
                port->refusing = false;
            } else if (command == u"close"_s) {
                window.close();
            }
        }
    });
    return QApplication::exec();
}
