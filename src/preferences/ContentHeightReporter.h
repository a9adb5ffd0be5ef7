#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <optional>

class QScrollArea;
class QWidget;

namespace tavlin::preferences {

// Measures the whole content of a tab's scroll area, so that the settings
// window can fit itself to it: the content's height at the viewport's width
// (wrapping captions grow with a narrower window), plus what the scroll area
// keeps above and below its viewport (frame, viewport margins). It reports each new value once, soon after what
// changed it; a change of the margins alone is a new value.
class ContentHeightReporter final : public QObject {
public:
    using Report = std::function<void(int height)>;

    // Follows `area` (and whichever widget it shows) while both live; it is
    // a child of `area`.
    ContentHeightReporter(QScrollArea& area, Report report);

    // The height as it is now.
    int measure() const;
    // The last value reported, if any.
    std::optional<int> lastReported() const { return lastReported_; }

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void followContent();
    void scheduleUpdate();
    void update();

    QScrollArea& area_;
    Report report_;
    QPointer<QWidget> content_;
    std::optional<int> lastReported_;
    bool updateScheduled_ = false;
};

}  // namespace tavlin::preferences
