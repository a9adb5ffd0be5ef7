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

bool LocalEventMonitor::eventFilter(QObject* receiver, QEvent* event) {
    return events_.contains(event->type()) && callback_(receiver, event);
}

}  // namespace tavlin::KeyBindings
