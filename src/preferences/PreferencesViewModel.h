#pragma once

#include "platform/Contacts.h"
#include "platform/Task.h"
#include "platform/eventstore/Reminder.h"
#include "preferences/CountSegment.h"
#include "store/CountScope.h"
#include "store/PanelSection.h"

#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QTime>
#include <QUrl>

#include <functional>
#include <optional>
#include <vector>

namespace tavlin::mcp {
class MCPServer;
}
namespace tavlin::store {
class LocationProvider;
class ReminderStore;
class Settings;
}  // namespace tavlin::store

namespace tavlin::preferences {

// What the settings use of the rest of the application. The two functions
// come from the application shell, which this library may not use.
struct PreferencesServices {
    store::ReminderStore& store;
    store::Settings& settings;
    // The daily summary's permission to notify: true once notifications are
    // allowed (asking the user when they have not answered yet).
    std::function<platform::Task<bool>()> ensureNotificationAuthorization;
    store::LocationProvider& locationProvider;
    mcp::MCPServer& mcpServer;
    platform::Contacts& contacts;
    // The tray's renderer of count segments, for the colour-style samples.
    SegmentRenderer renderSegments;
    // The application's update check; empty when it has none.
    std::function<void()> checkForUpdates;
};

// What the settings' three tabs show and do, without their widgets. The
// controls write Settings directly (it stores each change at once); this
// adds what is more than a binding: the count pickers' options, the daily
// summary's permission, the login item, the rules for shown lists and the
// default list, the permission captions and the AI tools' endpoint.
//
// The default list is cleared when it is no longer shown, at every change of
// the lists or of the shown set. changed() follows this object's own state;
// Settings, the store and the server signal their own. Main thread only.
class PreferencesViewModel : public QObject {
    Q_OBJECT

public:
    explicit PreferencesViewModel(PreferencesServices services, QObject* parent = nullptr);

    const PreferencesServices& services() const { return services_; }

    // ---- General tab

    // The picker's name for a count ("Due today"); "Off" for none.
    static QString scopeTitle(store::CountScope scope);
    // Every scope but the one the other picker holds, in declaration order.
    std::vector<store::CountScope> primaryScopeOptions() const;
    std::vector<store::CountScope> secondaryScopeOptions() const;

    // Off at once; on only once notifications are allowed, and denied
    // otherwise. Each switch-on asks afresh.
    void setDailySummaryEnabled(bool enabled);
    // The last switch-on found notifications turned off; until one succeeds.
    bool notificationsDenied() const { return notificationsDenied_; }
    // The minute of the day as a clock time, whatever the day's length; an
    // invalid time is read as 09:00.
    static QTime timeOfDay(qint64 minutes);
    static qint64 minuteOfDay(const QTime& time);
    QTime dailySummaryTime() const;
    void setDailySummaryTime(const QTime& time);

    // The login item as it really is, read back after every change.
    bool launchAtLogin() const { return launchAtLogin_; }
    // The last change of the login item failed; until one succeeds.
    bool launchAtLoginError() const { return launchAtLoginError_; }
    void setLaunchAtLogin(bool enabled);

    // ---- Reminders tab

    static QString sectionTitle(store::PanelSection section);
    bool isSectionShown(store::PanelSection section) const;
    // Nearby has a switch of its own and is never hidden here.
    void setSectionShown(store::PanelSection section, bool shown);

    // The lists shown: the stored set, or every list when it is empty.
    QSet<QString> shownListIDs() const;
    // Drops a default list that is not shown. Nothing while the store has
    // no lists (before the first fetch, or without access): the choice
    // waits for the lists to be known rather than being lost.
    void clearDefaultListIfHidden();
    // The list receiving new reminders first, then the others, each in the
    // store's order.
    std::vector<platform::ReminderList> orderedLists() const;
    bool isListIncluded(const QString& identifier) const;
    // Refused (without a word) for the last shown list and for the list
    // receiving new reminders. Every list shown is stored as the empty set,
    // so that lists made later are shown too.
    void setListIncluded(const QString& identifier, bool include);
    bool cannotExclude(const QString& identifier) const;
    bool isDefault(const QString& identifier) const;
    void markAsDefault(const QString& identifier);

    // Switching grouping on asks for the location, or for permission first.
    void setGroupNearbyEnabled(bool enabled);
    // While grouping is on without locations: what is missing, the
    // location service itself or the user's permission. Nothing otherwise.
    std::optional<QString> locationCaption() const;
    // Switching on reads the contacts' permission again (the vCard folder
    // asks for none).
    void setContactPlacesEnabled(bool enabled);
    bool contactsAuthorized() const { return contactsAuthorized_; }
    bool showsContactsCaption() const;

    // ---- AI tools tab

    // The server's address while it listens.
    std::optional<QUrl> endpoint() const;
    // Why there is no endpoint: the server's last failure to start.
    std::optional<QString> endpointProblem() const;
    // The prompt the "Copy Setup Prompt" button copies, for this executable.
    QString setupPrompt() const;

signals:
    void changed();

private:
    platform::Task<> enableDailySummary();

    PreferencesServices services_;
    bool notificationsDenied_ = false;
    bool launchAtLogin_ = false;
    bool launchAtLoginError_ = false;
    bool contactsAuthorized_ = false;
};

}  // namespace tavlin::preferences
