#pragma once

#include "platform/Clock.h"
#include "platform/Task.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

namespace tavlin::platform {

// One way to answer a notification: its key and the label of its button.
// The key "default" is a click on the notification itself, and has no button.
struct NotificationAction {
    QString key;
    QString label;

    static NotificationAction click() { return {QStringLiteral("default"), QStringLiteral("Open")}; }
};

// A notification to show at once. Posting an identifier again replaces the
// notification shown under it.
struct NotificationRequest {
    QString identifier;
    QString title;
    QString body;
    // What a click on it or its buttons does; none: it only informs.
    std::vector<NotificationAction> actions = {NotificationAction::click()};
    // With the desktop's sound for a new message; silent otherwise.
    bool withSound = false;
};

// Whether notifications can be shown. The desktop asks no permission, so
// there is no refusal: either a notification server is there, or none is yet.
enum class NotificationAuthorization { notDetermined, authorized };

// The desktop's notifications: org.freedesktop.Notifications on the session
// bus. It keeps our identifiers against the server's numbers for as long as
// a notification is shown, so that a later post replaces it, a removal
// closes it, and a click comes back under our identifier.
//
// Every call is a task with a time limit on the clock: a server that does
// not answer makes the call fail, it never holds up the main loop. Failures
// are answers (false, notDetermined), never exceptions. A call still under
// way when the center goes away ends as a failure. Main thread only.
class NotificationCenter : public QObject {
    Q_OBJECT

public:
    static constexpr QLatin1StringView serviceName{"org.freedesktop.Notifications"};
    static constexpr std::chrono::seconds callTimeLimit{4};

    explicit NotificationCenter(QDBusConnection bus = QDBusConnection::sessionBus(), Clock& clock = Clock::main(),
                                QObject* parent = nullptr);

    // Authorized while the name has an owner or the bus can start one.
    Task<NotificationAuthorization> authorizationStatus();
    // Shows the request with Tavlin's icon, in place of what was shown under
    // its identifier. True once the server has taken it.
    Task<bool> add(NotificationRequest request);
    // Whether the server shows buttons; false when it cannot be asked.
    Task<bool> offersActions();
    // Closes what is shown under the identifier; true when the server closed
    // it, false when nothing of ours is shown under it.
    Task<bool> remove(QString identifier);

signals:
    // A click on a notification of ours: its identifier and the action's key
    // ("default" for the notification itself).
    void actionInvoked(const QString& identifier, const QString& actionKey);

private slots:
    void onActionInvoked(uint id, const QString& actionKey);
    void onNotificationClosed(uint id, uint reason);

private:
    struct UnderWay {
        Task<bool> task;
        quint64 serial = 0;
    };

    // Runs `operation` after whatever is still under way for the same
    // identifier, so that a replacement or a removal knows the number the
    // server gave.
    Task<bool> enqueue(const QString& identifier, std::function<Task<bool>()> operation);
    static Task<bool> afterPrevious(Task<bool> previous, QPointer<NotificationCenter> self,
                                    std::function<Task<bool>()> operation);
    Task<bool> notify(NotificationRequest request);
    Task<bool> close(QString identifier);
    Task<std::optional<QDBusMessage>> call(QDBusMessage message);
    static QDBusMessage notificationsCall(const char* method);

    QDBusConnection bus_;
    Clock& clock_;
    QHash<QString, uint> serverIds_;
    QHash<QString, UnderWay> underWay_;
    quint64 lastSerial_ = 0;
};

}  // namespace tavlin::platform
