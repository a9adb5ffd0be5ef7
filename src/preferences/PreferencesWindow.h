#pragma once

#include "preferences/PreferencesWindowController.h"
#include "preferences/PreferencesWindowPort.h"

#include <QMainWindow>
#include <QPointer>

class QActionGroup;
class QPropertyAnimation;
class QToolBar;

namespace tavlin::preferences {

class PreferencesView;

// The settings window: a toolbar of the tabs over the settings view. Not
// resizable by the user (the controller sets its height), minimisable;
// closing hides it. Its toolbar is named "tavlin-settings-tabs", each tab's
// action after the tab's toolbar identifier.
class PreferencesWindow final : public QMainWindow, public PreferencesWindowPort {
    Q_OBJECT
    Q_PROPERTY(QRect clientGeometry READ geometry WRITE setClientGeometry)

public:
    static constexpr char toolbarName[] = "tavlin-settings-tabs";

    // What the controller makes when it is given no other window.
    static PreferencesWindowController::WindowFactory factory();

    explicit PreferencesWindow(PreferencesWindowController& controller);
    ~PreferencesWindow() override;

    PreferencesView& view() const { return *view_; }
    QToolBar& toolbar() const { return *toolbar_; }

    QRect contentGeometry() const override;
    QMargins chrome() const override;
    std::optional<QRect> availableGeometry() const override;
    void setContentGeometry(const QRect& content, bool animate) override;
    void center() override;
    void setTitle(const QString& title) override;
    void setSelectedItem(const QString& identifier) override;
    bool isVisible() const override;
    bool isKey() const override;
    bool isApplicationActive() const override;
    void activateApplication() override;
    void makeKeyAndOrderFront() override;
    void makeKey() override;
    void orderFrontRegardless() override;
    void setFloating(bool floating) override;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The window's own area (decoration left out) at once, its size fixed.
    void setClientGeometry(const QRect& client);
    // How far below the window's top the view starts: the toolbar's height.
    int toolbarHeight() const;

    QPointer<PreferencesWindowController> controller_;
    QToolBar* toolbar_;
    QActionGroup* tabs_;
    PreferencesView* view_;
    QPropertyAnimation* animation_;
};

}  // namespace tavlin::preferences
