#include "app/ApplicationService.h"

#include "platform/Log.h"
#include "platform/WindowSystem.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>

using namespace Qt::StringLiterals;

namespace tavlin::app {

namespace {

const QString busService = u"org.freedesktop.DBus"_s;

}  // namespace

// The Services interface beside the object's own: one object per path, so
// the second interface is an adaptor. Its calls run in the object's
// context, which answers them.
class ServicesAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.quorvandell.tavlin.Services")

public:
    explicit ServicesAdaptor(ApplicationService* service) : QDBusAbstractAdaptor(service), service_(service) {}

public slots:
    void AddToTavlin(const QString& text) { service_->addToTavlin(text); }

private:
    ApplicationService* service_;
};

ApplicationService::ApplicationService(QDBusConnection bus, QObject* parent) : QObject(parent), bus_(std::move(bus)) {
    new ServicesAdaptor(this);
    // Sent by the bus to this connection alone.
    bus_.connect(busService, u"/org/freedesktop/DBus"_s, busService, u"NameLost"_s, this,
                 SLOT(handleNameLost(QString)));
}

ApplicationService::~ApplicationService() {
    if (isRegistered_) bus_.unregisterObject(objectPath);
}

bool ApplicationService::askOwnerToQuit() {
    const QDBusReply<QString> owner = bus_.interface()->serviceOwner(serviceName);
    if (!owner.isValid() || owner.value() == bus_.baseService()) return false;
    // To the owner's own address: once the name is ours, the well-known
    // name would bring the request back to us.
    QDBusMessage call = QDBusMessage::createMethodCall(owner.value(), objectPath, interfaceName, u"ActivateAction"_s);
    call.setArguments({u"quit"_s, QVariantList(), QVariantMap()});
    call.setAutoStartService(false);
    if (!bus_.send(call)) qCWarning(lcApp).noquote() << u"Couldn't ask the running Tavlin to quit"_s;
    qCInfo(lcApp).noquote() << u"Asked the running Tavlin (%1) to quit"_s.arg(owner.value());
    return true;
}

bool ApplicationService::claimName() {
    isRegistered_ =
        bus_.registerObject(objectPath, this, QDBusConnection::ExportScriptableSlots | QDBusConnection::ExportAdaptors);
    if (!isRegistered_) qCWarning(lcApp).noquote() << u"Couldn't export %1 on the session bus"_s.arg(objectPath);
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply = bus_.interface()->registerService(
        serviceName, QDBusConnectionInterface::ReplaceExistingService, QDBusConnectionInterface::AllowReplacement);
    if (reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered) return true;
    qCWarning(lcApp).noquote() << u"Couldn't take the name %1 on the session bus: %2"_s.arg(
        serviceName, reply.isValid() ? u"its owner keeps it"_s : reply.error().message());
    return false;
}

// The bus gets its reply first: what a call asks for may wait on the user
// (a notice shown at the panel's opening), and a caller such as a launcher
// gives up on a call that does not return.
void ApplicationService::later(void (ApplicationService::*request)()) {
    QMetaObject::invokeMethod(this, request, Qt::QueuedConnection);
}

void ApplicationService::Activate(const QVariantMap& platformData) {
    platform::useActivationToken(platform::activationToken(platformData));
    later(&ApplicationService::activateRequested);
}

void ApplicationService::Open(const QStringList&, const QVariantMap&) {}

void ApplicationService::ActivateAction(const QString& actionName, const QVariantList&,
                                        const QVariantMap& platformData) {
    if (actionName == newRemindersFromSelectionAction) {
        platform::useActivationToken(platform::activationToken(platformData));
        return later(&ApplicationService::newRemindersFromSelectionRequested);
    }
    if (actionName == u"quit"_s) {
        qCInfo(lcApp) << "Asked to quit over the session bus";
        return later(&ApplicationService::quitRequested);
    }
    if (calledFromDBus()) sendErrorReply(QDBusError::InvalidArgs, u"Tavlin has no action “%1”"_s.arg(actionName));
}

void ApplicationService::addToTavlin(const QString& text) {
    if (!addToTavlin_) return;
    if (const std::optional<QString> error = addToTavlin_(text); error && calledFromDBus())
        sendErrorReply(noTextErrorName, *error);
}

void ApplicationService::handleNameLost(const QString& name) {
    if (name != serviceName) return;
    qCInfo(lcApp).noquote() << u"Another Tavlin took the name %1"_s.arg(serviceName);
    emit nameLost();
}

}  // namespace tavlin::app

#include "ApplicationService.moc"
