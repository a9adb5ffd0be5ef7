#pragma once

#include "panel/widgets/PanelRootView.h"

namespace tavlin::rows {
class PanelBackground;
}

namespace tavlin::panel::widgets {

// The panel's root view until the panel has its real one: the background
// alone, at a fixed height that it reports when shown.
class PlaceholderRootView : public PanelRootView {
    Q_OBJECT

public:
    static constexpr int height = 120;

    explicit PlaceholderRootView(const PanelViewInputs& inputs, QWidget* parent = nullptr);

    QSize sizeHint() const override;

    static RootViewFactory factory();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    PanelViewInputs inputs_;
    rows::PanelBackground* background_;
};

}  // namespace tavlin::panel::widgets
