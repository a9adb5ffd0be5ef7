#pragma once

#include <QEvent>
#include <QObject>
#include <QSet>

#include <functional>
#include <memory>

namespace tavlin::KeyBindings {

// Sees every event of the chosen types that any object of the application
// receives, before the object does, from creation to destruction.
class LocalEventMonitor final : public QObject {
public:
    // True from the callback swallows the event: its receiver never sees it.
    using Callback = std::function<bool(QObject* receiver, QEvent* event)>;

    LocalEventMonitor(QSet<QEvent::Type> events, Callback callback);
    ~LocalEventMonitor() override;

    // Sees no more events; for a callback that ends its own monitor, which
    // must then live until the callback returns (deleteLater).
    void stop();
    // Stops the monitor at once and deletes it once control is back in the
    // event loop: safe from inside its own callback.
    static void end(std::unique_ptr<LocalEventMonitor>& monitor);

private:
    bool eventFilter(QObject* receiver, QEvent* event) override;

    const QSet<QEvent::Type> events_;
    const Callback callback_;
};

}  // namespace tavlin::KeyBindings
