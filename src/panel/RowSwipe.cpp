#include "panel/RowSwipe.h"

#include <algorithm>

namespace tavlin::panel {

void RowSwipe::scroll(const QString& id, double delta, double width) {
    if (row_ != id) close();
    row_ = id;
    offset_ = std::clamp(offset_ + delta, 0.0, std::max(0.0, width));
    if (offset_ == 0) close();
}

RowSwipe::Release RowSwipe::release(double width) {
    if (!row_) return Release::closed;
    if (offset_ >= width * fullSwipeShare) {
        close();
        return Release::deleteRow;
    }
    if (offset_ >= revealedWidth / 2) {
        offset_ = revealedWidth;
        return Release::revealed;
    }
    close();
    return Release::closed;
}

void RowSwipe::close() {
    row_.reset();
    offset_ = 0;
}

void RowSwipe::reveal(const QString& id) {
    row_ = id;
    offset_ = revealedWidth;
}

}  // namespace tavlin::panel
