#pragma once

#include "panel/PanelViewInputs.h"

#include <QWidget>

#include <functional>

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
    // The height the content wants at the view's width; 0 when it has none.
    virtual double contentHeight() const;
};

// Makes the root view of an opening.
using RootViewFactory = std::function<PanelRootView*(const PanelViewInputs& inputs, QWidget* parent)>;

}  // namespace tavlin::panel::widgets
