#include "panel/widgets/PlaceholderRootView.h"

#include "rows/PanelBackground.h"

#include <QResizeEvent>

namespace tavlin::panel::widgets {

PlaceholderRootView::PlaceholderRootView(const PanelViewInputs& inputs, QWidget* parent)
    : PanelRootView(parent), inputs_(inputs), background_(new rows::PanelBackground(this)) {
    background_->setCornerRadius(inputs.cornerRadius);
}

QSize PlaceholderRootView::sizeHint() const { return {int(inputs_.panelWidth), height}; }

RootViewFactory PlaceholderRootView::factory() {
    return [](const PanelViewInputs& inputs, QWidget* parent) { return new PlaceholderRootView(inputs, parent); };
}

void PlaceholderRootView::showEvent(QShowEvent* event) {
    PanelRootView::showEvent(event);
    if (inputs_.onHeightChange) inputs_.onHeightChange(contentHeight());
}

void PlaceholderRootView::resizeEvent(QResizeEvent* event) {
    PanelRootView::resizeEvent(event);
    background_->setGeometry(rect());
}

}  // namespace tavlin::panel::widgets
