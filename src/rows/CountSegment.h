#pragma once

#include <QString>

namespace tavlin::rows {

// The colour style of one count segment of the tray item, in this order.
enum class SegmentStyle { alarm, neutral, win };

// One count the tray item shows: its digits and their style.
struct CountSegment {
    QString text;
    SegmentStyle style = SegmentStyle::neutral;

    friend bool operator==(const CountSegment&, const CountSegment&) = default;
};

}  // namespace tavlin::rows
