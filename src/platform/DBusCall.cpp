#include "platform/DBusCall.h"

#include "platform/Log.h"

#include <QDBusPendingCallWatcher>

namespace tavlin::platform {

Task<std::optional<QDBusMessage>> callWithTimeLimit(QDBusConnection bus, QDBusMessage message, Clock::Duration limit,
                                                    Clock& clock) {
    if (!bus.isConnected()) co_return std::nullopt;  // no bus: nothing would ever answer
    TaskCompletion<QDBusMessage> replied;
    const int limitMs = int(std::chrono::duration_cast<std::chrono::milliseconds>(limit).count());
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(message, limitMs));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, [replied](QDBusPendingCallWatcher* finished) {
        replied.resolve(finished->reply());
        finished->deleteLater();
    });
    const Task<std::optional<QDBusMessage>> answered = withTimeout(replied.task(), limit, clock);
    const std::optional<QDBusMessage> reply = co_await answered;
    if (!reply) {
        qCDebug(lcPlatform).noquote() << message.member() << "got no answer in time";
        co_return std::nullopt;
    }
    if (reply->type() != QDBusMessage::ReplyMessage) {
        qCDebug(lcPlatform).noquote() << message.member() << "failed:" << reply->errorMessage();
        co_return std::nullopt;
    }
    co_return reply;
}

}  // namespace tavlin::platform
