#include "preferences/PreferencesViewModel.h"

#include "mcp/MCPConfiguration.h"
#include "mcp/MCPServer.h"
#include "platform/LoginItem.h"
#include "preferences/LaunchAtLogin.h"
#include "store/LocationProvider.h"
#include "store/ReminderStore.h"
#include "store/SectionVisibility.h"
#include "store/Settings.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace tavlin::preferences {

namespace {

using platform::ReminderList;
using store::CountScope;
using store::PanelSection;

// The default when the time cannot be read: the daily summary's own.
constexpr qint64 kFallbackMinute = 9 * 60;

std::vector<CountScope> scopesExcept(CountScope taken) {
    std::vector<CountScope> options;
    for (const CountScope scope : store::allCountScopes)
        if (scope != taken) options.push_back(scope);
    return options;
}

bool loginItemIsEnabled() { return platform::LoginItem::mainApp().isEnabled(); }

}  // namespace

PreferencesViewModel::PreferencesViewModel(PreferencesServices services, QObject* parent)
    : QObject(parent),
      services_(std::move(services)),
      launchAtLogin_(loginItemIsEnabled()),
      contactsAuthorized_(platform::mayReadContacts(services_.contacts.authorizationStatus())) {
    // Whatever changes which lists are shown may leave the default list hidden.
    connect(&services_.store, &store::ReminderStore::listsChanged, this,
            &PreferencesViewModel::clearDefaultListIfHidden);
    connect(&services_.settings, &store::Settings::includedListIDsChanged, this,
            &PreferencesViewModel::clearDefaultListIfHidden);
}

// ---- General tab

QString PreferencesViewModel::scopeTitle(CountScope scope) {
    switch (scope) {
    case CountScope::overdue: return u"Overdue"_s;
    case CountScope::today: return u"Due today"_s;
    case CountScope::dueNow: return u"Due by today"_s;
    case CountScope::next7Days: return u"Next 7 days"_s;
    case CountScope::allIncomplete: return u"All incomplete"_s;
    case CountScope::noDueDate: return u"No due date"_s;
    case CountScope::completedToday: return u"Completed today"_s;
    case CountScope::none: return u"Off"_s;
    }
    Q_UNREACHABLE();
}

std::vector<CountScope> PreferencesViewModel::primaryScopeOptions() const {
    return scopesExcept(services_.settings.secondaryScope());
}

std::vector<CountScope> PreferencesViewModel::secondaryScopeOptions() const {
    return scopesExcept(services_.settings.primaryScope());
}

void PreferencesViewModel::setDailySummaryEnabled(bool enabled) {
    if (!enabled) {
        services_.settings.setDailySummaryEnabled(false);
        return;
    }
    // Not awaited: the answer may take as long as the user does.
    platform::detach(enableDailySummary());
}

platform::Task<> PreferencesViewModel::enableDailySummary() {
    const QPointer<PreferencesViewModel> self(this);
    bool allowed = false;
    if (services_.ensureNotificationAuthorization) {
        try {
            allowed = co_await services_.ensureNotificationAuthorization();
        } catch (...) {
            allowed = false;  // a failed request allows nothing
        }
    }
    if (!self) co_return;
    services_.settings.setDailySummaryEnabled(allowed);
    if (notificationsDenied_ != !allowed) {
        notificationsDenied_ = !allowed;
        emit changed();
    }
}

QTime PreferencesViewModel::timeOfDay(qint64 minutes) {
    // Hours and minutes as such: counting seconds from the start of the day
    // would be an hour off on the days the clocks change.
    minutes = std::clamp<qint64>(minutes, 0, store::Settings::lastMinuteOfDay);
    return QTime(static_cast<int>(minutes / 60), static_cast<int>(minutes % 60));
}

qint64 PreferencesViewModel::minuteOfDay(const QTime& time) {
    return time.isValid() ? time.hour() * 60 + time.minute() : kFallbackMinute;
}

QTime PreferencesViewModel::dailySummaryTime() const { return timeOfDay(services_.settings.dailySummaryMinutes()); }

void PreferencesViewModel::setDailySummaryTime(const QTime& time) {
    services_.settings.setDailySummaryMinutes(minuteOfDay(time));
}

void PreferencesViewModel::setLaunchAtLogin(bool enabled) {
    launchAtLoginError_ = preferences::setLaunchAtLogin(enabled).has_value();
    // What the session will really do, whatever was asked.
    launchAtLogin_ = loginItemIsEnabled();
    emit changed();
}

// ---- Reminders tab

QString PreferencesViewModel::sectionTitle(PanelSection section) {
    switch (section) {
    case PanelSection::nearby: return u"Nearby"_s;
    case PanelSection::overdue: return u"Overdue"_s;
    case PanelSection::today: return u"Today"_s;
    case PanelSection::tomorrow: return u"Tomorrow"_s;
    case PanelSection::thisWeek: return u"This week"_s;
    case PanelSection::later: return u"Later"_s;
    case PanelSection::noDueDate: return u"No due date"_s;
    }
    Q_UNREACHABLE();
}

bool PreferencesViewModel::isSectionShown(PanelSection section) const {
    return !services_.settings.sectionVisibility().hidden.contains(section);
}

void PreferencesViewModel::setSectionShown(PanelSection section, bool shown) {
    if (section == PanelSection::nearby) return;
    store::SectionVisibility visibility = services_.settings.sectionVisibility();
    if (shown) visibility.hidden.erase(section);
    else visibility.hidden.insert(section);
    services_.settings.setSectionVisibility(visibility);
}

QSet<QString> PreferencesViewModel::shownListIDs() const {
    QSet<QString> included = services_.settings.includedListIDs();
    if (!included.isEmpty()) return included;
    for (const ReminderList& list : services_.store.lists()) included.insert(list.identifier);
    return included;
}

void PreferencesViewModel::clearDefaultListIfHidden() {
    if (services_.store.lists().empty()) return;
    const std::optional<QString> chosen = services_.settings.quickAddListID();
    if (chosen && !shownListIDs().contains(*chosen)) services_.settings.setQuickAddListID(std::nullopt);
}

std::vector<ReminderList> PreferencesViewModel::orderedLists() const {
    const std::vector<ReminderList>& lists = services_.store.lists();
    const std::optional<ReminderList> quickAdd = services_.store.quickAddList();
    if (!quickAdd) return lists;
    std::vector<ReminderList> ordered;
    ordered.reserve(lists.size());
    for (const ReminderList& list : lists)
        if (list.identifier == quickAdd->identifier) ordered.push_back(list);
    for (const ReminderList& list : lists)
        if (list.identifier != quickAdd->identifier) ordered.push_back(list);
    return ordered;
}

bool PreferencesViewModel::isListIncluded(const QString& identifier) const {
    return shownListIDs().contains(identifier);
}

bool PreferencesViewModel::isDefault(const QString& identifier) const {
    const std::optional<ReminderList> quickAdd = services_.store.quickAddList();
    return quickAdd && quickAdd->identifier == identifier;
}

void PreferencesViewModel::setListIncluded(const QString& identifier, bool include) {
    QSet<QString> all;
    for (const ReminderList& list : services_.store.lists()) all.insert(list.identifier);
    QSet<QString> shown = shownListIDs();
    if (include) {
        shown.insert(identifier);
    } else {
        if (shown.size() < 2 || isDefault(identifier)) return;
        shown.remove(identifier);
    }
    services_.settings.setIncludedListIDs(shown == all ? QSet<QString>() : shown);
}

bool PreferencesViewModel::cannotExclude(const QString& identifier) const {
    const QSet<QString> shown = shownListIDs();
    if (!shown.contains(identifier)) return false;
    return shown.size() == 1 || isDefault(identifier);
}

void PreferencesViewModel::markAsDefault(const QString& identifier) {
    services_.settings.setQuickAddListID(identifier);
}

void PreferencesViewModel::setGroupNearbyEnabled(bool enabled) {
    services_.settings.setGroupNearbyEnabled(enabled);
    if (enabled) services_.locationProvider.requestFix();
}

std::optional<QString> PreferencesViewModel::locationCaption() const {
    using platform::LocationAuthorization;
    if (!services_.settings.groupNearbyEnabled()) return std::nullopt;
    switch (services_.locationProvider.authorization()) {
    case LocationAuthorization::restricted:
        return u"No location service is running: GeoClue is not installed or not started, so Tavlin cannot tell where you are."_s;
    case LocationAuthorization::denied:
        return u"Location access is turned off for Tavlin in Settings → Privacy → Location Services."_s;
    case LocationAuthorization::notDetermined:
    case LocationAuthorization::authorizedAlways: break;
    }
    return std::nullopt;
}

void PreferencesViewModel::setContactPlacesEnabled(bool enabled) {
    services_.settings.setContactPlacesEnabled(enabled);
    if (!enabled) return;
    const bool authorized = platform::mayReadContacts(services_.contacts.authorizationStatus());
    if (authorized == contactsAuthorized_) return;
    contactsAuthorized_ = authorized;
    emit changed();
}

bool PreferencesViewModel::showsContactsCaption() const {
    return services_.settings.contactPlacesEnabled() && !contactsAuthorized_;
}

// ---- AI tools tab

std::optional<QUrl> PreferencesViewModel::endpoint() const {
    return mcp::MCPConfiguration::serverURL(services_.mcpServer.port());
}

std::optional<QString> PreferencesViewModel::endpointProblem() const {
    if (endpoint()) return std::nullopt;
    return services_.mcpServer.lastError();
}

QString PreferencesViewModel::setupPrompt() const {
    return mcp::MCPConfiguration::setupInstructions(QCoreApplication::applicationFilePath(), endpoint(),
                                                    services_.mcpServer.configurationPath());
}

}  // namespace tavlin::preferences
