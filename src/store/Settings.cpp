#include "store/Settings.h"

#include "platform/Log.h"

#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <vector>

using nlohmann::json;
using namespace Qt::StringLiterals;

namespace tavlin::store {

namespace {

namespace Key {
constexpr std::string_view primaryScope = "primaryScope";
constexpr std::string_view secondaryScope = "secondaryScope";
constexpr std::string_view includedListIDs = "includedListIDs";
constexpr std::string_view quickAddListID = "quickAddListID";
constexpr std::string_view groupNearbyEnabled = "groupNearbyEnabled";
constexpr std::string_view contactPlacesEnabled = "contactPlacesEnabled";
constexpr std::string_view showCompletedInMenuBar = "showCompletedInMenuBar";
constexpr std::string_view menuBarQuietColors = "menuBarQuietColors";
constexpr std::string_view dailySummaryEnabled = "dailySummaryEnabled";
constexpr std::string_view mcpEnabled = "mcpEnabled";
constexpr std::string_view hiddenPanelSections = "hiddenPanelSections";
constexpr std::string_view manualOrderRanks = "manualOrderRanks";
constexpr std::string_view dailySummaryMinutes = "dailySummaryMinutes";
constexpr std::string_view pinnedPanelTopLeftX = "pinnedPanelTopLeftX";
constexpr std::string_view pinnedPanelTopLeftY = "pinnedPanelTopLeftY";
constexpr std::string_view pinnedPanelWidth = "pinnedPanelWidth";
constexpr std::string_view pinnedPanelListHeight = "pinnedPanelListHeight";
constexpr std::string_view languageModelURL = "languageModelURL";
constexpr std::string_view languageModelName = "languageModelName";
}  // namespace Key

// The stored forms of the values.
json toJson(bool value) { return value; }
json toJson(qint64 value) { return value; }
json toJson(double value) { return value; }
json toJson(const QString& text) { return text.toStdString(); }
json toJson(CountScope scope) { return toJson(rawValue(scope)); }

json toJson(const QStringList& texts) {
    json array = json::array();
    for (const QString& text : texts) array.push_back(toJson(text));
    return array;
}

// Sorted, so that one set always gives one file.
json toJson(const QSet<QString>& texts) {
    QStringList sorted(texts.cbegin(), texts.cend());
    sorted.sort();
    return toJson(sorted);
}

json toJson(const SectionVisibility& visibility) { return toJson(visibility.encoded()); }

json toJson(const ManualOrder::Ranks& ranks) {
    json object = json::object();
    for (auto entry = ranks.cbegin(); entry != ranks.cend(); ++entry) object[entry.key().toStdString()] = entry.value();
    return object;
}

// Null, which removes the key, for nothing.
template <class T>
json toJson(const std::optional<T>& value) {
    return value ? toJson(*value) : json();
}

std::optional<CountScope> storedScope(const platform::UserDefaults& defaults, std::string_view key) {
    const std::optional<QString> raw = defaults.string(key);
    return raw ? countScopeFromRawValue(*raw) : std::nullopt;
}

std::optional<double> storedNumber(const platform::UserDefaults& defaults, std::string_view key) {
    const json value = defaults.object(key);
    return value.is_number() ? std::optional(value.get<double>()) : std::nullopt;
}

std::optional<ScreenPoint> storedPoint(const platform::UserDefaults& defaults) {
    const std::optional<double> x = storedNumber(defaults, Key::pinnedPanelTopLeftX);
    if (!x) return std::nullopt;
    const std::optional<double> y = storedNumber(defaults, Key::pinnedPanelTopLeftY);
    if (!y) return std::nullopt;
    return ScreenPoint{*x, *y};
}

// An integer within one day. Any other minute would send the daily summary
// into the past, to fire again at once, over and over.
std::optional<qint64> storedMinuteOfDay(const platform::UserDefaults& defaults) {
    const json value = defaults.object(Key::dailySummaryMinutes);
    if (!value.is_number_integer()) return std::nullopt;
    // Unsigned numbers beyond the signed range come out negative, and are
    // refused with the negative ones.
    const auto minutes = value.get<std::int64_t>();
    if (minutes >= 0 && minutes <= Settings::lastMinuteOfDay) return minutes;
    qCWarning(lcStore) << "ignoring the stored daily summary minute" << minutes << "- not within a day";
    return std::nullopt;
}

// How each key must be stored to be read, and how a warning words that.
struct StoredForm {
    std::string_view key;
    QString expected;
    bool (*reads)(const json&);
};

bool isBoolean(const json& value) { return value.is_boolean(); }
// The defaults' own Boolean reading also takes numbers.
bool isBooleanOrNumber(const json& value) { return value.is_boolean() || value.is_number(); }
bool isString(const json& value) { return value.is_string(); }
bool isNumber(const json& value) { return value.is_number(); }
bool isInteger(const json& value) { return value.is_number_integer(); }
bool isStringArray(const json& value) {
    return value.is_array() && std::all_of(value.begin(), value.end(), [](const json& e) { return e.is_string(); });
}
bool isNumberObject(const json& value) {
    return value.is_object() && std::all_of(value.begin(), value.end(), [](const json& e) { return e.is_number(); });
}
// An http(s) address with a host: all a model server needs.
std::optional<QUrl> httpURL(const json& value) {
    if (!value.is_string()) return std::nullopt;
    const QUrl url(QString::fromStdString(value.get<std::string>()), QUrl::StrictMode);
    if (!url.isValid() || (url.scheme() != u"http"_s && url.scheme() != u"https"_s) || url.host().isEmpty())
        return std::nullopt;
    return url;
}
bool isHTTPURL(const json& value) { return httpURL(value).has_value(); }
bool isScope(const json& value) {
    return value.is_string() && countScopeFromRawValue(QString::fromStdString(value.get<std::string>()));
}

const std::vector<StoredForm>& storedForms() {
    static const std::vector<StoredForm> forms = [] {
        QStringList scopes;
        for (const CountScope scope : allCountScopes) scopes.append(u'"' + rawValue(scope) + u'"');
        const QString scope = u"one of "_s + scopes.join(u", "_s);
        const QString boolean = u"true or false"_s;
        const QString number = u"a number"_s;
        return std::vector<StoredForm>{
            {Key::primaryScope, scope, isScope},
            {Key::secondaryScope, scope, isScope},
            {Key::includedListIDs, u"an array of list identifiers (strings)"_s, isStringArray},
            {Key::quickAddListID, u"a list identifier (a string)"_s, isString},
            {Key::groupNearbyEnabled, boolean, isBooleanOrNumber},
            {Key::contactPlacesEnabled, boolean, isBooleanOrNumber},
            {Key::showCompletedInMenuBar, boolean, isBoolean},
            {Key::menuBarQuietColors, boolean, isBooleanOrNumber},
            {Key::dailySummaryEnabled, boolean, isBooleanOrNumber},
            {Key::mcpEnabled, boolean, isBooleanOrNumber},
            {Key::hiddenPanelSections, u"an array of panel section names (strings)"_s, isStringArray},
            {Key::manualOrderRanks, u"an object of reminder identifiers to numbers"_s, isNumberObject},
            {Key::dailySummaryMinutes, u"a whole number of minutes after midnight"_s, isInteger},
            {Key::pinnedPanelTopLeftX, number, isNumber},
            {Key::pinnedPanelTopLeftY, number, isNumber},
            {Key::pinnedPanelWidth, number, isNumber},
            {Key::pinnedPanelListHeight, number, isNumber},
            {Key::languageModelURL, u"the http:// address of a model server (a string)"_s, isHTTPURL},
            {Key::languageModelName, u"the name of a model (a string)"_s, isString},
        };
    }();
    return forms;
}

// A stored value as the file spells it, cut short when long.
QString shownValue(const json& value) {
    constexpr qsizetype limit = 60;
    const QString text = QString::fromStdString(value.dump(-1, ' ', false, json::error_handler_t::replace));
    return text.size() <= limit ? text : text.left(limit) + u"…"_s;
}

// One warning per key that is not read: a key no one knows (with the known
// key it may have been meant as), or a value of the wrong kind.
void warnAboutUnreadKeys(const platform::UserDefaults& defaults, const QStringList& keysOfOthers) {
    QStringList known = keysOfOthers;
    for (const StoredForm& form : storedForms()) known.append(QString::fromUtf8(form.key));
    for (const QString& key : defaults.keys()) {
        const std::string stdKey = key.toStdString();
        const auto form = std::find_if(storedForms().begin(), storedForms().end(),
                                       [&](const StoredForm& form) { return form.key == stdKey; });
        if (form != storedForms().end()) {
            const json value = defaults.object(stdKey);
            if (!form->reads(value))
                qCWarning(lcStore).noquote() << u"%1: setting \"%2\" is ignored: it should be %3, not %4"_s.arg(
                    defaults.filePath(), key, form->expected, shownValue(value));
            continue;
        }
        if (keysOfOthers.contains(key)) continue;
        QString warning = u"%1: unknown setting \"%2\" is ignored"_s.arg(defaults.filePath(), key);
        const auto meant = std::find_if(known.cbegin(), known.cend(), [&](const QString& candidate) {
            return candidate.compare(key, Qt::CaseInsensitive) == 0;
        });
        if (meant != known.cend()) warning += u" (did you mean \"%1\"?)"_s.arg(*meant);
        qCWarning(lcStore).noquote() << warning;
    }
}

}  // namespace

Settings::Settings(platform::UserDefaults& defaults, const QStringList& keysOfOthers, QObject* parent)
    : QObject(parent), defaults_(defaults) {
    warnAboutUnreadKeys(defaults_, keysOfOthers);
    load();
}

// The members start at their defaults; an absent key, or a value of the
// wrong kind, leaves a member as it is.
void Settings::load() {
    primaryScope_ = storedScope(defaults_, Key::primaryScope).value_or(primaryScope_);
    secondaryScope_ = storedScope(defaults_, Key::secondaryScope).value_or(secondaryScope_);
    const QStringList included = defaults_.stringArray(Key::includedListIDs).value_or(QStringList());
    includedListIDs_ = QSet<QString>(included.cbegin(), included.cend());
    quickAddListID_ = defaults_.string(Key::quickAddListID);
    groupNearbyEnabled_ = defaults_.boolean(Key::groupNearbyEnabled);
    contactPlacesEnabled_ = defaults_.boolean(Key::contactPlacesEnabled);
    const json showCompleted = defaults_.object(Key::showCompletedInMenuBar);
    if (showCompleted.is_boolean()) showCompletedInMenuBar_ = showCompleted.get<bool>();
    menuBarQuietColors_ = defaults_.boolean(Key::menuBarQuietColors);
    dailySummaryEnabled_ = defaults_.boolean(Key::dailySummaryEnabled);
    mcpEnabled_ = defaults_.boolean(Key::mcpEnabled);
    sectionVisibility_ =
        SectionVisibility::decoding(defaults_.stringArray(Key::hiddenPanelSections).value_or(QStringList()));
    manualOrderRanks_ = ManualOrder::decodeRanks(defaults_.object(Key::manualOrderRanks));
    dailySummaryMinutes_ = storedMinuteOfDay(defaults_).value_or(dailySummaryMinutes_);
    // Through the setters, so that a half or malformed stored value is
    // cleared from the file as well.
    setPinnedPanelTopLeft(storedPoint(defaults_));
    setPinnedPanelWidth(storedNumber(defaults_, Key::pinnedPanelWidth));
    setPinnedPanelListHeight(storedNumber(defaults_, Key::pinnedPanelListHeight));
    languageModelURL_ = httpURL(defaults_.object(Key::languageModelURL)).value_or(languageModelURL_);
    languageModelName_ = defaults_.string(Key::languageModelName);
    keepSecondaryDistinct();
}

template <class T, class Write>
void Settings::assign(T& field, T value, ChangeSignal changed, Write write) {
    const bool differs = !(field == value);
    field = std::move(value);
    write();
    if (differs) emit(this->*changed)();
}

template <class T>
void Settings::assign(T& field, T value, ChangeSignal changed, std::string_view key) {
    assign(field, std::move(value), changed, [&] { defaults_.set(key, toJson(field)); });
}

void Settings::keepSecondaryDistinct() {
    const CountScope distinct = distinctSecondary(primaryScope_, secondaryScope_);
    if (distinct != secondaryScope_) setSecondaryScope(distinct);
}

void Settings::setPrimaryScope(CountScope scope) {
    // The secondary moves first, so that no one ever sees the two equal.
    assign(primaryScope_, scope, &Settings::primaryScopeChanged, [this] {
        keepSecondaryDistinct();
        defaults_.set(Key::primaryScope, toJson(primaryScope_));
    });
}

void Settings::setSecondaryScope(CountScope scope) {
    assign(secondaryScope_, distinctSecondary(primaryScope_, scope), &Settings::secondaryScopeChanged,
           Key::secondaryScope);
}

void Settings::setIncludedListIDs(const QSet<QString>& identifiers) {
    assign(includedListIDs_, identifiers, &Settings::includedListIDsChanged, Key::includedListIDs);
}

void Settings::setQuickAddListID(const std::optional<QString>& identifier) {
    assign(quickAddListID_, identifier, &Settings::quickAddListIDChanged, Key::quickAddListID);
}

void Settings::setGroupNearbyEnabled(bool enabled) {
    assign(groupNearbyEnabled_, enabled, &Settings::groupNearbyEnabledChanged, Key::groupNearbyEnabled);
}

void Settings::setContactPlacesEnabled(bool enabled) {
    assign(contactPlacesEnabled_, enabled, &Settings::contactPlacesEnabledChanged, Key::contactPlacesEnabled);
}

void Settings::setShowCompletedInMenuBar(bool shown) {
    assign(showCompletedInMenuBar_, shown, &Settings::showCompletedInMenuBarChanged, Key::showCompletedInMenuBar);
}

void Settings::setMenuBarQuietColors(bool quiet) {
    assign(menuBarQuietColors_, quiet, &Settings::menuBarQuietColorsChanged, Key::menuBarQuietColors);
}

void Settings::setDailySummaryEnabled(bool enabled) {
    assign(dailySummaryEnabled_, enabled, &Settings::dailySummaryEnabledChanged, Key::dailySummaryEnabled);
}

void Settings::setMcpEnabled(bool enabled) {
    assign(mcpEnabled_, enabled, &Settings::mcpEnabledChanged, Key::mcpEnabled);
}

void Settings::setSectionVisibility(const SectionVisibility& visibility) {
    assign(sectionVisibility_, visibility, &Settings::sectionVisibilityChanged, Key::hiddenPanelSections);
}

void Settings::setManualOrderRanks(const ManualOrder::Ranks& ranks) {
    assign(manualOrderRanks_, ranks, &Settings::manualOrderRanksChanged, Key::manualOrderRanks);
}

void Settings::setDailySummaryMinutes(qint64 minutes) {
    assign(dailySummaryMinutes_, std::clamp<qint64>(minutes, 0, lastMinuteOfDay), &Settings::dailySummaryMinutesChanged,
           Key::dailySummaryMinutes);
}

void Settings::setPinnedPanelTopLeft(const std::optional<ScreenPoint>& topLeft) {
    assign(pinnedPanelTopLeft_, topLeft, &Settings::pinnedPanelTopLeftChanged, [this] {
        const std::optional<ScreenPoint>& point = pinnedPanelTopLeft_;
        defaults_.set(Key::pinnedPanelTopLeftX, point ? toJson(point->x) : json());
        defaults_.set(Key::pinnedPanelTopLeftY, point ? toJson(point->y) : json());
    });
}

void Settings::setPinnedPanelWidth(std::optional<double> width) {
    assign(pinnedPanelWidth_, width, &Settings::pinnedPanelWidthChanged, Key::pinnedPanelWidth);
}

void Settings::setPinnedPanelListHeight(std::optional<double> height) {
    assign(pinnedPanelListHeight_, height, &Settings::pinnedPanelListHeightChanged, Key::pinnedPanelListHeight);
}

}  // namespace tavlin::store
