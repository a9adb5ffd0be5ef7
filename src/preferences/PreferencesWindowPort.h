#pragma once

#include <QMargins>
#include <QRect>
#include <QString>

#include <optional>

namespace tavlin::preferences {

// What the settings window's controller asks of the window, so that it can
// run against a stand-in: its place and size, its title and toolbar, and
// its activation. Rectangles are in screen coordinates.
class PreferencesWindowPort {
public:
    virtual ~PreferencesWindowPort() = default;

    // Where the settings view is: the window less its title bar, borders
    // and toolbar.
    virtual QRect contentGeometry() const = 0;
    // What the window adds around the view: the window manager's
    // decoration, and the toolbar above the view.
    virtual QMargins chrome() const = 0;
    // The screen's area for windows: of the window's screen, else of the
    // primary one; nothing without a screen.
    virtual std::optional<QRect> availableGeometry() const = 0;
    // Moves and sizes the window so that its view fills `content`; in an
    // animation when `animate` and the window is on screen.
    virtual void setContentGeometry(const QRect& content, bool animate) = 0;
    // Centres the window on its screen.
    virtual void center() = 0;

    virtual void setTitle(const QString& title) = 0;
    // Checks the toolbar's item with this identifier.
    virtual void setSelectedItem(const QString& identifier) = 0;

    // On screen (not closed, not minimised).
    virtual bool isVisible() const = 0;
    // The window has the keyboard.
    virtual bool isKey() const = 0;
    // One of the application's windows has the keyboard.
    virtual bool isApplicationActive() const = 0;
    virtual void activateApplication() = 0;
    // Shows the window (back from minimised too), in front, with the keyboard.
    virtual void makeKeyAndOrderFront() = 0;
    virtual void makeKey() = 0;
    // Brings the window in front of the others, whatever has the keyboard.
    virtual void orderFrontRegardless() = 0;
    // Above every normal window, or back among them.
    virtual void setFloating(bool floating) = 0;
};

}  // namespace tavlin::preferences
