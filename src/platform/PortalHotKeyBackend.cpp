#include "platform/PortalHotKeyBackend.h"

#include "platform/KeyboardLayout.h"
#include "platform/Log.h"

#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QPointer>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace tavlin::platform {

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut) {
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut) {
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

void registerPortalShortcutTypes() {
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
}

QList<PortalShortcut> portalShortcuts(const QVariant& argument) {
    if (argument.metaType() == QMetaType::fromType<QList<PortalShortcut>>())
        return argument.value<QList<PortalShortcut>>();
    if (argument.metaType() != QMetaType::fromType<QDBusArgument>()) return {};
    QList<PortalShortcut> shortcuts;
    argument.value<QDBusArgument>() >> shortcuts;
    return shortcuts;
}

namespace {

// Waits for the Response signal of one request object, and goes with it.
class PortalRequest : public QObject {
    Q_OBJECT

public:
    using Answer = std::function<void(uint response, const QVariantMap& results)>;

    PortalRequest(QDBusConnection bus, QString path, Answer answer, QObject* parent)
        : QObject(parent), bus_(std::move(bus)), path_(std::move(path)), answer_(std::move(answer)) {
        bus_.connect(QString(PortalHotKeyBackend::service), path_, QString(PortalHotKeyBackend::requestInterface),
                     u"Response"_s, this, SLOT(Response(uint, QVariantMap)));
    }

    void fail() { Response(2, {}); }

public slots:
    void Response(uint response, const QVariantMap& results) {
        if (!answer_) return;
        bus_.disconnect(QString(PortalHotKeyBackend::service), path_, QString(PortalHotKeyBackend::requestInterface),
                        u"Response"_s, this, SLOT(Response(uint, QVariantMap)));
        const Answer answer = std::exchange(answer_, nullptr);
        deleteLater();
        answer(response, results);
    }

private:
    QDBusConnection bus_;
    QString path_;
    Answer answer_;
};

QString wordsFor(uint response) { return response == 1 ? u"the request was cancelled"_s : u"the desktop refused it"_s; }

}  // namespace

PortalHotKeyBackend::PortalHotKeyBackend(QDBusConnection bus) : bus_(std::move(bus)) {
    registerPortalShortcutTypes();
    askVersion();
}

PortalHotKeyBackend::~PortalHotKeyBackend() {
    if (!session_.isEmpty())
        bus_.call(
            QDBusMessage::createMethodCall(QString(service), session_, u"org.freedesktop.portal.Session"_s, u"Close"_s),
            QDBus::NoBlock);
}

std::optional<QString> PortalHotKeyBackend::preferredTrigger(KeyChord chord) {
    const std::optional<QString> key = KeyboardLayout::current().symbolName(chord.keyCode);
    if (!key) return std::nullopt;
    QStringList parts;
    if (chord.modifiers & X11Modifier::control) parts << u"CTRL"_s;
    if (chord.modifiers & X11Modifier::alt) parts << u"ALT"_s;
    if (chord.modifiers & X11Modifier::shift) parts << u"SHIFT"_s;
    if (chord.modifiers & X11Modifier::super) parts << u"LOGO"_s;
    parts << *key;
    return parts.join(u'+');
}

int PortalHotKeyBackend::grab(KeyChord chord) {
    if (state_ == State::missing) return noKeyGrabs;
    // The desktop keeps one shortcut for Tavlin.
    if (listening_ && chord_ && *chord_ != chord) return badAccess;
    if (chord_ != chord) trigger_.reset();
    chord_ = chord;
    listening_ = true;
    if (state_ == State::ready && boundChord_ != chord) bind();
    return grabbed;
}

void PortalHotKeyBackend::ungrab(KeyChord chord) {
    if (chord_ == chord) listening_ = false;
}

std::optional<QString> PortalHotKeyBackend::triggerDescription(KeyChord chord) const {
    if (chord_ != chord || boundChord_ != chord) return std::nullopt;
    return trigger_;
}

bool PortalHotKeyBackend::askToChangeTrigger(KeyChord chord) {
    if (state_ != State::ready || boundChord_ != chord) return false;
    if (version_ >= 2) {
        QDBusMessage configure = QDBusMessage::createMethodCall(QString(service), QString(objectPath),
                                                                QString(interfaceName), u"ConfigureShortcuts"_s);
        configure << QVariant::fromValue(QDBusObjectPath(session_)) << QString() << QVariantMap();
        bus_.asyncCall(configure, callTimeoutMs);
        return true;
    }
    // Version 1 has no call for it; binding again is where desktops ask.
    boundChord_.reset();
    bind();
    return true;
}

void PortalHotKeyBackend::askVersion() {
    QDBusMessage get = QDBusMessage::createMethodCall(QString(service), QString(objectPath),
                                                      u"org.freedesktop.DBus.Properties"_s, u"Get"_s);
    get << QString(interfaceName) << u"version"_s;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(get, callTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
        call->deleteLater();
        const QDBusPendingReply<QDBusVariant> reply = *call;
        if (reply.isError()) return becomeMissing(reply.error().message());
        version_ = reply.value().variant().toUInt();
        if (version_ == 0) return becomeMissing(u"it has no GlobalShortcuts version"_s);
        createSession();
    });
}

void PortalHotKeyBackend::createSession() {
    const QString sessionToken = u"tavlin_session"_s;
    request(
        u"CreateSession"_s, {}, {{u"session_handle_token"_s, sessionToken}},
        [this](uint response, const QVariantMap& results) {
            // A string by the interface's word; some portals send a path.
            const QVariant handle = results.value(u"session_handle"_s);
            session_ = handle.metaType() == QMetaType::fromType<QDBusObjectPath>()
                           ? handle.value<QDBusObjectPath>().path()
                           : handle.toString();
            if (response != 0 || session_.isEmpty())
                return becomeMissing(u"it did not open a session: "_s + wordsFor(response));
            for (const auto& [signal, slot] : {std::pair{u"Activated"_s, SLOT(activated(QDBusMessage))},
                                               std::pair{u"Deactivated"_s, SLOT(deactivated(QDBusMessage))},
                                               std::pair{u"ShortcutsChanged"_s, SLOT(shortcutsChanged(QDBusMessage))}})
                bus_.connect(QString(service), QString(objectPath), QString(interfaceName), signal, this, slot);
            state_ = State::ready;
            qCInfo(lcKeys).noquote() << u"global shortcuts come from the desktop portal (version %1)"_s.arg(version_);
            changed();
            if (chord_ && listening_) bind();
            else listShortcuts();
        });
}

void PortalHotKeyBackend::bind() {
    if (!chord_ || binding_) return;
    const KeyChord chord = *chord_;
    QVariantMap properties{{u"description"_s, QString(shortcutDescription)}};
    if (const std::optional<QString> trigger = preferredTrigger(chord))
        properties.insert(u"preferred_trigger"_s, *trigger);
    const QList<PortalShortcut> shortcuts{{QString(shortcutId), properties}};
    binding_ = true;
    request(u"BindShortcuts"_s,
            {QVariant::fromValue(QDBusObjectPath(session_)), QVariant::fromValue(shortcuts), QString()}, {},
            [this, chord](uint response, const QVariantMap& results) {
                binding_ = false;
                // Another chord was grabbed meanwhile: that one is bound now.
                if (chord_ != chord) return bind();
                if (response != 0) {
                    chord_.reset();
                    listening_ = false;
                    boundChord_.reset();
                    trigger_.reset();
                    changed();
                    return refuse(chord, u"the desktop did not bind it: "_s + wordsFor(response));
                }
                boundChord_ = chord;
                takeTrigger(portalShortcuts(results.value(u"shortcuts"_s)));
                if (!trigger_) listShortcuts();
            });
}

void PortalHotKeyBackend::listShortcuts() {
    request(u"ListShortcuts"_s, {QVariant::fromValue(QDBusObjectPath(session_))}, {},
            [this](uint response, const QVariantMap& results) {
                if (response == 0) takeTrigger(portalShortcuts(results.value(u"shortcuts"_s)));
            });
}

void PortalHotKeyBackend::request(const QString& method, const QVariantList& arguments, QVariantMap options,
                                  Answer answer) {
    const QString token = u"tavlin%1"_s.arg(++requestCounter_);
    options.insert(u"handle_token"_s, token);
    // Where the portal puts the request object: the signal is listened for
    // before the call, so that a quick answer is not missed.
    const QString sender = bus_.baseService().mid(1).replace(u'.', u'_');
    const QString path = u"/org/freedesktop/portal/desktop/request/%1/%2"_s.arg(sender, token);
    auto* pending = new PortalRequest(bus_, path, std::move(answer), this);
    QDBusMessage call =
        QDBusMessage::createMethodCall(QString(service), QString(objectPath), QString(interfaceName), method);
    call.setArguments(arguments + QVariantList{options});
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, callTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [pending = QPointer(pending), method](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                if (!call->isError() || !pending) return;
                qCWarning(lcKeys).noquote()
                    << u"the desktop portal refused %1: %2"_s.arg(method, call->error().message());
                pending->fail();
            });
}

void PortalHotKeyBackend::becomeMissing(const QString& reason) {
    state_ = State::missing;
    qCWarning(lcKeys).noquote()
        << u"this desktop gives Tavlin no global shortcut (no GlobalShortcuts portal: %1); bind “gapplication launch com.quorvandell.tavlin” to a key in the desktop’s keyboard settings instead"_s
               .arg(reason);
    changed();
    if (chord_ && listening_) {
        const KeyChord chord = *chord_;
        chord_.reset();
        listening_ = false;
        refuse(chord, u"this desktop gives no global shortcuts"_s);
    }
}

void PortalHotKeyBackend::takeTrigger(const QList<PortalShortcut>& shortcuts) {
    for (const PortalShortcut& shortcut : shortcuts) {
        if (shortcut.id != shortcutId) continue;
        const QString trigger = shortcut.properties.value(u"trigger_description"_s).toString();
        const std::optional<QString> taken = trigger.isEmpty() ? std::nullopt : std::optional(trigger);
        if (taken == trigger_) return;
        trigger_ = taken;
        changed();
        return;
    }
}

std::optional<KeyChord> PortalHotKeyBackend::listenedChord(const QDBusMessage& message) const {
    const QVariantList arguments = message.arguments();
    if (arguments.size() < 2 || !chord_ || !listening_) return std::nullopt;
    if (arguments[0].value<QDBusObjectPath>().path() != session_ || arguments[1].toString() != shortcutId)
        return std::nullopt;
    return chord_;
}

void PortalHotKeyBackend::activated(const QDBusMessage& message) {
    if (const std::optional<KeyChord> chord = listenedChord(message)) deliver(*chord, true);
}

void PortalHotKeyBackend::deactivated(const QDBusMessage& message) {
    if (const std::optional<KeyChord> chord = listenedChord(message)) deliver(*chord, false);
}

void PortalHotKeyBackend::shortcutsChanged(const QDBusMessage& message) {
    const QVariantList arguments = message.arguments();
    if (arguments.size() < 2 || arguments[0].value<QDBusObjectPath>().path() != session_) return;
    takeTrigger(portalShortcuts(arguments[1]));
}

}  // namespace tavlin::platform

#include "PortalHotKeyBackend.moc"
