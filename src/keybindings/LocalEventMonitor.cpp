#include "keybindings/LocalEventMonitor.h"

#include <QCoreApplication>

namespace tavlin::KeyBindings {

LocalEventMonitor::LocalEventMonitor(QSet<QEvent::Type> events, Callback callback)
    : events_(std::move(events)), callback_(std::move(callback)) {
    QCoreApplication::instance()->installEventFilter(this);
}

LocalEventMonitor::~LocalEventMonitor() { stop(); }

void LocalEventMonitor::stop() {
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
}

void LocalEventMonitor::end(std::unique_ptr<LocalEventMonitor>& monitor) {
    if (!monitor) return;
    monitor->stop();
    monitor.release()->deleteLater();
}

bool LocalEventMonitor::eventFilter(QObject* receiver, QEvent* event) {
    return events_.contains(event->type()) && callback_(receiver, event);
}

}  // namespace tavlin::KeyBindings
