#pragma once

// A stand-in for the tray item's renderer of count segments: pills in the
// vivid or quiet colours, drawn as the tray would roughly draw them, and a
// record of every call.

#include "preferences/CountSegment.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <memory>
#include <vector>

namespace tavlin::testing {

inline QImage drawSegmentPills(const std::vector<preferences::CountSegment>& segments, bool quiet) {
    using preferences::SegmentStyle;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    font.setBold(true);
    const QFontMetrics metrics(font);
    const int height = 16, gap = 3, padding = 6;
    int width = 0;
    for (const auto& segment : segments) width += metrics.horizontalAdvance(segment.text) + 2 * padding + gap;
    QImage image(QSize(std::max(width - gap, 1), height) * 2, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(font);
    qreal x = 0;
    for (const auto& segment : segments) {
        const QColor vivid = segment.style == SegmentStyle::alarm ? QColor(0xFF, 0x3B, 0x30)
                             : segment.style == SegmentStyle::win ? QColor(0x34, 0xC7, 0x59)
                                                                  : QColor(0x8E, 0x8E, 0x93);
        const QRectF pill(x, 0, metrics.horizontalAdvance(segment.text) + 2 * padding, height);
        QPainterPath path;
        path.addRoundedRect(pill, height / 2.0, height / 2.0);
        QColor fill = vivid;
        if (quiet) fill.setAlphaF(0.28);
        painter.fillPath(path, fill);
        painter.setPen(quiet ? vivid.darker(120) : QColor(Qt::white));
        painter.drawText(pill, Qt::AlignCenter, segment.text);
        x = pill.right() + gap;
    }
    return image;
}

// The renderer, and what it was asked to draw.
class FakeSegmentRenderer {
public:
    struct Call {
        std::vector<preferences::CountSegment> segments;
        bool quiet;
    };

    preferences::SegmentRenderer renderer() const {
        return [calls = calls_](const std::vector<preferences::CountSegment>& segments, bool quiet) {
            calls->push_back({segments, quiet});
            return drawSegmentPills(segments, quiet);
        };
    }
    const std::vector<Call>& calls() const { return *calls_; }

private:
    std::shared_ptr<std::vector<Call>> calls_ = std::make_shared<std::vector<Call>>();
};

}  // namespace tavlin::testing
