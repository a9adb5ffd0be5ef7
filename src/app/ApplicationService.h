#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

#include <functional>
#include <optional>

namespace tavlin::app {

// Tavlin on the session bus: the well-known name com.quorvandell.tavlin,
// which one Tavlin per user owns, and the object /com/quorvandell/tavlin
// with two interfaces:
// - the desktop's org.freedesktop.Application, through which the desktop
//   opens Tavlin again (Activate), runs the actions of its desktop entry,
//   and the next Tavlin asks this one to quit (ActivateAction);
// - com.quorvandell.tavlin.Services, through which other programs send
//   Tavlin text to make reminders of (AddToTavlin).
// The bus starts Tavlin for a call when none runs (its D-Bus service file).
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
    static constexpr QLatin1StringView servicesInterfaceName{"com.quorvandell.tavlin.Services"};
    // AddToTavlin's answer to text with nothing in it.
    static constexpr QLatin1StringView noTextErrorName{"com.quorvandell.tavlin.Error.NoText"};
    // The desktop entry's action.
    static constexpr QLatin1StringView newRemindersFromSelectionAction{"new-reminders-from-selection"};

    // What AddToTavlin does with the text: nothing to say, or the message of
    // the NoText error it answers with.
    using AddToTavlin = std::function<std::optional<QString>(const QString& text)>;

    explicit ApplicationService(QDBusConnection bus, QObject* parent = nullptr);
    ~ApplicationService() override;

    // Sends ActivateAction("quit") to the Tavlin that owns the name, if
    // another one does, and does not wait for its answer. Whether one did.
    bool askOwnerToQuit();
    // Exports the object and takes the name from its owner, letting a later
    // Tavlin take it in turn. Whether the name is ours.
    bool claimName();

    // Answers AddToTavlin with () while it has no handler.
    void setAddToTavlin(AddToTavlin handler) { addToTavlin_ = std::move(handler); }

public slots:
    // org.freedesktop.Application.
    Q_SCRIPTABLE void Activate(const QVariantMap& platformData);
    // Tavlin opens no files: nothing happens.
    Q_SCRIPTABLE void Open(const QStringList& uris, const QVariantMap& platformData);
    // "new-reminders-from-selection" and "quit"; any other is an error.
    Q_SCRIPTABLE void ActivateAction(const QString& actionName, const QVariantList& parameter,
                                     const QVariantMap& platformData);

signals:
    // The desktop opens Tavlin again.
    void activateRequested();
    void newRemindersFromSelectionRequested();
    void quitRequested();
    // Another Tavlin took the name.
    void nameLost();

private slots:
    void handleNameLost(const QString& name);

private:
    friend class ServicesAdaptor;
    // com.quorvandell.tavlin.Services.AddToTavlin.
    void addToTavlin(const QString& text);
    // Emits `request` on the next turn of the loop.
    void later(void (ApplicationService::*request)());

    QDBusConnection bus_;
    AddToTavlin addToTavlin_;
    bool isRegistered_ = false;
};

}  // namespace tavlin::app
