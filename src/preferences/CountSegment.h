#pragma once

#include <QImage>
#include <QString>

#include <functional>
#include <vector>

namespace tavlin::preferences {

// The colour style of one count segment of the tray item, in this order.
enum class SegmentStyle { alarm, neutral, win };

// One count the tray item shows: its digits and their style.
struct CountSegment {
    QString text;
    SegmentStyle style = SegmentStyle::neutral;

    friend bool operator==(const CountSegment&, const CountSegment&) = default;
};

// Draws segments as the tray item shows them, in the vivid or the quiet
// colours. The tray item's renderer is the real one; the preferences'
// colour-style sample takes it as this function, so that it does not depend
// on the application shell.
using SegmentRenderer = std::function<QImage(const std::vector<CountSegment>& segments, bool quiet)>;

}  // namespace tavlin::preferences
