#include "preferences/ContentHeightReporter.h"

#include <QEvent>
#include <QScrollArea>

namespace tavlin::preferences {

ContentHeightReporter::ContentHeightReporter(QScrollArea& area, Report report)
    : QObject(&area), area_(area), report_(std::move(report)) {
    area_.installEventFilter(this);
    area_.viewport()->installEventFilter(this);
    followContent();
}

int ContentHeightReporter::measure() const {
    // What the area keeps around its viewport: its frame and its viewport
    // margins (a scroll area's contents margins are its frame).
    int height = area_.height() - area_.viewport()->height();
    if (const QWidget* content = area_.widget()) {
        const int forWidth = content->hasHeightForWidth() ? content->heightForWidth(area_.viewport()->width()) : -1;
        height += forWidth >= 0 ? forWidth : content->sizeHint().height();
    }
    return height;
}

bool ContentHeightReporter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ChildAdded:
    case QEvent::ChildRemoved:
        // A widget set on the area, or taken from it, lives in its viewport.
        if (watched == area_.viewport()) followContent();
        break;
    case QEvent::Show:
    case QEvent::Resize:
    case QEvent::ContentsRectChange:
    case QEvent::LayoutRequest:
        // Measured once the event has done its work (the area lays out its
        // viewport on its own resize), and once for a burst of events.
        if (watched == &area_ || watched == area_.viewport() || watched == content_) scheduleUpdate();
        break;
    default: break;
    }
    return false;
}

void ContentHeightReporter::followContent() {
    if (content_ == area_.widget()) return;
    if (content_) content_->removeEventFilter(this);
    content_ = area_.widget();
    if (content_) content_->installEventFilter(this);
    scheduleUpdate();
}

void ContentHeightReporter::scheduleUpdate() {
    if (updateScheduled_) return;
    updateScheduled_ = true;
    QMetaObject::invokeMethod(this, &ContentHeightReporter::update, Qt::QueuedConnection);
}

void ContentHeightReporter::update() {
    updateScheduled_ = false;
    // Nothing that is not on screen has a meaningful width yet.
    if (!area_.isVisible()) return;
    const int height = measure();
    if (lastReported_ == height) return;
    lastReported_ = height;
    report_(height);
}

}  // namespace tavlin::preferences
