#pragma once

#include "platform/UserDefaults.h"
#include "store/CountScope.h"
#include "store/ManualOrder.h"
#include "store/ObservationTracking.h"
#include "store/SectionVisibility.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>
#include <string_view>

namespace tavlin::store {

// A point on the screen, in its coordinates; equal when both fields are.
struct ScreenPoint {
    double x = 0;
    double y = 0;
    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// The user's choices, read from the user defaults once at construction and
// written back at once on every assignment, one key per property.
//
// Every getter publishes its property (ObservationTracking) and every
// property has a change signal. An assignment of a value equal to the
// current one writes the key but emits nothing. The secondary scope always
// differs from the primary one. Main thread only.
class Settings : public QObject {
    Q_OBJECT

public:
    // The last minute of a day, the latest the daily summary can be set to.
    static constexpr qint64 lastMinuteOfDay = 24 * 60 - 1;

    // Logs a warning for each stored key it will not read: one of the wrong
    // kind, or one that is neither its own nor among `keysOfOthers` (the
    // keys other parts of Tavlin keep in the same defaults).
    explicit Settings(platform::UserDefaults& defaults, const QStringList& keysOfOthers = {},
                      QObject* parent = nullptr);

    // The two counts of the tray item.
    CountScope primaryScope() const { return observed(this, primaryScope_, &Settings::primaryScopeChanged); }
    CountScope secondaryScope() const { return observed(this, secondaryScope_, &Settings::secondaryScopeChanged); }
    // Choosing the secondary scope as primary moves the secondary elsewhere.
    void setPrimaryScope(CountScope scope);
    // The primary scope given as secondary stands for its distinct secondary.
    void setSecondaryScope(CountScope scope);

    // The lists shown; empty means all of them.
    QSet<QString> includedListIDs() const {
        return observed(this, includedListIDs_, &Settings::includedListIDsChanged);
    }
    void setIncludedListIDs(const QSet<QString>& identifiers);
    // Where new reminders go; nothing leaves the choice to the store.
    std::optional<QString> quickAddListID() const {
        return observed(this, quickAddListID_, &Settings::quickAddListIDChanged);
    }
    void setQuickAddListID(const std::optional<QString>& identifier);

    bool groupNearbyEnabled() const {
        return observed(this, groupNearbyEnabled_, &Settings::groupNearbyEnabledChanged);
    }
    void setGroupNearbyEnabled(bool enabled);
    bool contactPlacesEnabled() const {
        return observed(this, contactPlacesEnabled_, &Settings::contactPlacesEnabledChanged);
    }
    void setContactPlacesEnabled(bool enabled);
    bool showCompletedInMenuBar() const {
        return observed(this, showCompletedInMenuBar_, &Settings::showCompletedInMenuBarChanged);
    }
    void setShowCompletedInMenuBar(bool shown);
    bool menuBarQuietColors() const {
        return observed(this, menuBarQuietColors_, &Settings::menuBarQuietColorsChanged);
    }
    void setMenuBarQuietColors(bool quiet);
    bool dailySummaryEnabled() const {
        return observed(this, dailySummaryEnabled_, &Settings::dailySummaryEnabledChanged);
    }
    void setDailySummaryEnabled(bool enabled);
    bool mcpEnabled() const { return observed(this, mcpEnabled_, &Settings::mcpEnabledChanged); }
    void setMcpEnabled(bool enabled);

    SectionVisibility sectionVisibility() const {
        return observed(this, sectionVisibility_, &Settings::sectionVisibilityChanged);
    }
    void setSectionVisibility(const SectionVisibility& visibility);
    ManualOrder::Ranks manualOrderRanks() const {
        return observed(this, manualOrderRanks_, &Settings::manualOrderRanksChanged);
    }
    void setManualOrderRanks(const ManualOrder::Ranks& ranks);

    // Minutes after midnight, kept within one day (0 … lastMinuteOfDay).
    qint64 dailySummaryMinutes() const {
        return observed(this, dailySummaryMinutes_, &Settings::dailySummaryMinutesChanged);
    }
    void setDailySummaryMinutes(qint64 minutes);

    // Where the user pinned the panel; nothing while it is not pinned or
    // not resized.
    std::optional<ScreenPoint> pinnedPanelTopLeft() const {
        return observed(this, pinnedPanelTopLeft_, &Settings::pinnedPanelTopLeftChanged);
    }
    void setPinnedPanelTopLeft(const std::optional<ScreenPoint>& topLeft);
    std::optional<double> pinnedPanelWidth() const {
        return observed(this, pinnedPanelWidth_, &Settings::pinnedPanelWidthChanged);
    }
    void setPinnedPanelWidth(std::optional<double> width);
    std::optional<double> pinnedPanelListHeight() const {
        return observed(this, pinnedPanelListHeight_, &Settings::pinnedPanelListHeightChanged);
    }
    void setPinnedPanelListHeight(std::optional<double> height);

    // The local model server and the model on it that read quick-add lines.
    // Read at launch only: no window changes them. No name, no model.
    QUrl languageModelURL() const { return languageModelURL_; }
    std::optional<QString> languageModelName() const { return languageModelName_; }

signals:
    void primaryScopeChanged();
    void secondaryScopeChanged();
    void includedListIDsChanged();
    void quickAddListIDChanged();
    void groupNearbyEnabledChanged();
    void contactPlacesEnabledChanged();
    void showCompletedInMenuBarChanged();
    void menuBarQuietColorsChanged();
    void dailySummaryEnabledChanged();
    void mcpEnabledChanged();
    void sectionVisibilityChanged();
    void manualOrderRanksChanged();
    void dailySummaryMinutesChanged();
    void pinnedPanelTopLeftChanged();
    void pinnedPanelWidthChanged();
    void pinnedPanelListHeightChanged();

private:
    using ChangeSignal = void (Settings::*)();

    // Stores `value`, calls `write` for its key or keys, then signals a change.
    template <class T, class Write>
    void assign(T& field, T value, ChangeSignal changed, Write write);
    // The same, writing the value under `key` (nothing removes the key).
    template <class T>
    void assign(T& field, T value, ChangeSignal changed, std::string_view key);
    void load();
    void keepSecondaryDistinct();

    platform::UserDefaults& defaults_;
    CountScope primaryScope_ = CountScope::overdue;
    CountScope secondaryScope_ = CountScope::today;
    QSet<QString> includedListIDs_;
    std::optional<QString> quickAddListID_;
    bool groupNearbyEnabled_ = false;
    bool contactPlacesEnabled_ = false;
    bool showCompletedInMenuBar_ = true;
    bool menuBarQuietColors_ = false;
    bool dailySummaryEnabled_ = false;
    bool mcpEnabled_ = false;
    SectionVisibility sectionVisibility_;
    ManualOrder::Ranks manualOrderRanks_;
    qint64 dailySummaryMinutes_ = 540;
    std::optional<ScreenPoint> pinnedPanelTopLeft_;
    std::optional<double> pinnedPanelWidth_;
    std::optional<double> pinnedPanelListHeight_;
    QUrl languageModelURL_{QStringLiteral("http://127.0.0.1:11434")};
    std::optional<QString> languageModelName_;
};

}  // namespace tavlin::store
