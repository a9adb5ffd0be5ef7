#include "panel/PanelWindow.h"

#include <algorithm>

namespace tavlin::panel {

namespace {

std::vector<PanelWindow*>& live() {
    static std::vector<PanelWindow*> windows;
    return windows;
}

}  // namespace

PanelWindow::PanelWindow() { live().push_back(this); }

PanelWindow::~PanelWindow() { retire(); }

std::vector<PanelWindow*> PanelWindow::liveWindows() { return live(); }

void PanelWindow::retire() { std::erase(live(), this); }

void PanelWindowDiscard::operator()(PanelWindow* window) const {
    if (!window) return;
    window->retire();
    window->discard();
}

}  // namespace tavlin::panel
