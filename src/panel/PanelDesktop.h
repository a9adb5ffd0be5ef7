#pragma once

#include "panel/PanelGeometry.h"

namespace tavlin::panel {

// The screens and the pointer as the panel sees them.
class PanelDesktop {
public:
    virtual ~PanelDesktop() = default;
    virtual geometry::Desktop desktop() const = 0;
};

// Qt's screens (the primary one as the main screen) and the pointer.
class QtPanelDesktop final : public PanelDesktop {
public:
    geometry::Desktop desktop() const override;
};

}  // namespace tavlin::panel
