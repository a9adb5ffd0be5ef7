#pragma once

#include <QWidget>

#include <functional>

namespace tavlin::panel {
class PanelModel;
}

namespace tavlin::panel::widgets {

// The view that fills the panel's window: the window asks it for its
// height and hands it Escape first.
class PanelRootView : public QWidget {
    Q_OBJECT

public:
    explicit PanelRootView(QWidget* parent = nullptr) : QWidget(parent) {}

    // Escape, or another cancel, reached the panel: true when the view took
    // it; otherwise the panel closes.
    virtual bool handleExitCommand() { return false; }
    // Ctrl+Return reached the panel: true when the view took it; otherwise
    // it goes on to the focused widget.
    virtual bool commandReturn(Qt::KeyboardModifiers) { return false; }
    // The height the content wants at the view's width; 0 when it has none.
    virtual double contentHeight() const;
};

// Makes the root view of an opening.
using RootViewFactory = std::function<PanelRootView*(PanelModel& model, QWidget* parent)>;

}  // namespace tavlin::panel::widgets
