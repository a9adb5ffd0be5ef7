#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

namespace tavlin::app {

// Tavlin on the session bus: the well-known name com.quorvandell.tavlin,
// which one Tavlin per user owns, and the object /com/quorvandell/tavlin
// with the desktop's org.freedesktop.Application interface, through which
// the next Tavlin asks this one to quit.
//
// The name is taken so that a later Tavlin may take it over; losing it is
// reported as nameLost. Main thread only.
class ApplicationService : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

public:
    static constexpr QLatin1StringView serviceName{"com.quorvandell.tavlin"};
    static constexpr QLatin1StringView objectPath{"/com/quorvandell/tavlin"};
    static constexpr QLatin1StringView interfaceName{"org.freedesktop.Application"};

    explicit ApplicationService(QDBusConnection bus, QObject* parent = nullptr);
    ~ApplicationService() override;

    // Sends ActivateAction("quit") to the Tavlin that owns the name, if
    // another one does, and does not wait for its answer. Whether one did.
    bool askOwnerToQuit();
    // Exports the object and takes the name from its owner, letting a later
    // Tavlin take it in turn. Whether the name is ours.
    bool claimName();

public slots:
    // org.freedesktop.Application: "quit" is the one action so far.
    Q_SCRIPTABLE void ActivateAction(const QString& actionName, const QVariantList& parameter,
                                     const QVariantMap& platformData);

signals:
    void quitRequested();
    // Another Tavlin took the name.
    void nameLost();

private slots:
    void handleNameLost(const QString& name);

private:
    QDBusConnection bus_;
    bool isRegistered_ = false;
};

}  // namespace tavlin::app
