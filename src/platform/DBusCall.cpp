#include "platform/DBusCall.h"

#include "platform/Log.h"

#include <QDBusPendingCallWatcher>

#include <memory>

namespace tavlin::platform {

Task<std::optional<QDBusMessage>> callWithTimeLimit(QDBusConnection bus, QDBusMessage message, Clock::Duration limit,
                                                    Clock& clock) {
    if (!bus.isConnected()) co_return std::nullopt;  // no bus: nothing would ever answer
    TaskCompletion<QDBusMessage> replied;
    const int limitMs = int(std::chrono::duration_cast<std::chrono::milliseconds>(limit).count());
    // The call is let go when this task ends, answered or not: a call whose
    // time ran out (or whose task was abandoned) is not kept until the bus
    // gives up on it. An answered one may still be emitting its answer, so
    // it goes on the loop.
    const auto letGo = [](QDBusPendingCallWatcher* call) {
        if (call->isFinished()) call->deleteLater();
        else delete call;
    };
    const std::unique_ptr<QDBusPendingCallWatcher, decltype(letGo)> watcher(
        new QDBusPendingCallWatcher(bus.asyncCall(message, limitMs)), letGo);
    QObject::connect(watcher.get(), &QDBusPendingCallWatcher::finished,
                     [replied](QDBusPendingCallWatcher* finished) { replied.resolve(finished->reply()); });
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
