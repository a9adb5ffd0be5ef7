#pragma once

#include "platform/HotKeyBackend.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QLatin1StringView>
#include <QList>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <optional>

namespace tavlin::platform {

// One shortcut as the portal passes it: its id and its properties
// ("description", "preferred_trigger" going in; "description",
// "trigger_description" coming back). D-Bus signature (sa{sv}).
struct PortalShortcut {
    QString id;
    QVariantMap properties;
};
QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut);
const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut);
// Registers the types with Qt D-Bus; safe to call again.
void registerPortalShortcutTypes();
// A list of them read from a message argument (a(sa{sv})).
QList<PortalShortcut> portalShortcuts(const QVariant& argument);

// Global shortcuts from the desktop's GlobalShortcuts portal
// (org.freedesktop.portal.GlobalShortcuts, versions 1 and 2) on the session
// bus, where a Wayland desktop gives them: KDE Plasma 5.27 and later,
// GNOME 48 and later.
//
// The desktop keeps one shortcut for Tavlin, under the id "open-tavlin":
// grabbing a chord binds it with the chord as the preferred trigger, and
// the desktop may choose another key (asking the user, or keeping one the
// user chose before); the trigger it reports is triggerDescription. Its
// Activated and Deactivated signals are the chord's press and release.
// Ungrabbing only stops listening: the desktop keeps the binding, so that a
// menu that opens for a moment does not unbind it.
//
// The portal is asked for at construction; grabs made before it answered
// are bound once it has, or refused once it turned out to be missing.
class PortalHotKeyBackend final : public QObject, public HotKeyBackend {
    Q_OBJECT

public:
    static constexpr QLatin1StringView service{"org.freedesktop.portal.Desktop"};
    static constexpr QLatin1StringView objectPath{"/org/freedesktop/portal/desktop"};
    static constexpr QLatin1StringView interfaceName{"org.freedesktop.portal.GlobalShortcuts"};
    static constexpr QLatin1StringView requestInterface{"org.freedesktop.portal.Request"};
    static constexpr QLatin1StringView shortcutId{"open-tavlin"};
    // What the desktop shows for it.
    static constexpr QLatin1StringView shortcutDescription{"Open Tavlin"};
    // Time for the portal to answer a call (starting the portal included);
    // the answer to a request may wait on the user much longer.
    static constexpr int callTimeoutMs = 10000;

    explicit PortalHotKeyBackend(QDBusConnection bus);
    ~PortalHotKeyBackend() override;

    int grab(KeyChord chord) override;
    void ungrab(KeyChord chord) override;
    bool isHeldElsewhere(KeyChord) override { return false; }
    bool hasGlobalShortcuts() const override { return state_ == State::ready; }
    std::optional<QString> triggerDescription(KeyChord chord) const override;
    bool askToChangeTrigger(KeyChord chord) override;

    // The chord in the notation that XDG shortcut triggers are written in
    // ("CTRL+ALT+k"), the key named by the current keyboard layout;
    // nothing for a key without a name.
    static std::optional<QString> preferredTrigger(KeyChord chord);

    // The portal's interface version; 0 until it answered.
    uint version() const { return version_; }

private slots:
    void activated(const QDBusMessage& message);
    void deactivated(const QDBusMessage& message);
    void shortcutsChanged(const QDBusMessage& message);

private:
    enum class State { asking, ready, missing };
    using Answer = std::function<void(uint response, const QVariantMap& results)>;

    void askVersion();
    void createSession();
    void bind();
    void listShortcuts();
    // Calls `method` with `arguments` then the options with a fresh
    // handle_token (and `options` besides), and passes the request's
    // Response to `answer` (response 2 when the call itself failed).
    void request(const QString& method, const QVariantList& arguments, QVariantMap options, Answer answer);
    void becomeMissing(const QString& reason);
    void takeTrigger(const QList<PortalShortcut>& shortcuts);
    // The chord that an Activated or Deactivated message is about, if ours.
    std::optional<KeyChord> listenedChord(const QDBusMessage& message) const;

    QDBusConnection bus_;
    State state_ = State::asking;
    uint version_ = 0;
    QString session_;
    std::optional<KeyChord> chord_;       // the one grabbed or being bound
    bool listening_ = false;              // grabbed, not ungrabbed since
    std::optional<KeyChord> boundChord_;  // bound with the desktop
    bool binding_ = false;                // a BindShortcuts awaits its answer
    std::optional<QString> trigger_;
    quint64 requestCounter_ = 0;
};

}  // namespace tavlin::platform

Q_DECLARE_METATYPE(tavlin::platform::PortalShortcut)
