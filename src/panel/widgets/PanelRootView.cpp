#include "panel/widgets/PanelRootView.h"

namespace tavlin::panel::widgets {

double PanelRootView::contentHeight() const {
    if (hasHeightForWidth()) return heightForWidth(width());
    return sizeHint().height();
}

}  // namespace tavlin::panel::widgets
