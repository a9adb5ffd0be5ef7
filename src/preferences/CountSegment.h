#pragma once

#include "rows/CountSegment.h"

#include <QImage>

#include <functional>
#include <vector>

namespace tavlin::preferences {

using rows::CountSegment;
using rows::SegmentStyle;

// Draws segments as the tray item shows them, in the vivid or the quiet
// colours. The shell hands in the tray item's own renderer; tests give a
// fake that records what it was asked to draw.
using SegmentRenderer = std::function<QImage(const std::vector<CountSegment>& segments, bool quiet)>;

}  // namespace tavlin::preferences
