#pragma once

#include "rows/CountSegment.h"

#include <QIcon>
#include <QImage>

#include <vector>

namespace tavlin::rows {

// The pictures of the reminder counts: the segments side by side in a pill,
// or stacked in the square a tray draws, and the tray's icons for when there
// are no counts to show. Colours and font follow the application palette and
// font. Main thread only.
class CountSegmentPainter {
public:
    // The segments side by side in one pill 16 px high, each as wide as its
    // digits and 13 px (at least 20), at any pixel ratio.
    static QImage pillImage(const std::vector<CountSegment>& segments, bool quiet, qreal devicePixelRatio);
    // The width of each segment of the pill, in logical pixels.
    static std::vector<qreal> segmentWidths(const std::vector<CountSegment>& segments);
    // The segments as rows of one rounded square `side` logical pixels wide,
    // for trays, which draw icons square: each row's digits as large as it
    // allows.
    static QImage trayImage(const std::vector<CountSegment>& segments, bool quiet, int side,
                            qreal devicePixelRatio = 1);
    // The segments' tray pictures at every size a tray asks for.
    static QIcon trayIcon(const std::vector<CountSegment>& segments, bool quiet);
    // The theme's connect and warning icons, else drawings of ours in the
    // palette's text colour.
    static QIcon connectIcon();
    static QIcon warningIcon();
};

}  // namespace tavlin::rows
