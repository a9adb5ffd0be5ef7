#include "panel/RowFilter.h"
#include "panel/RowOrder.h"
#include "platform/Geodesic.h"

#include "store/ReminderStoreFixture.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace Qt::StringLiterals;
using namespace tavlin::panel;
using tavlin::platform::Alarm;
using tavlin::platform::AlarmProximity;
using tavlin::platform::GeoLocation;
using tavlin::platform::Location;
using tavlin::platform::LocationAuthorization;
using tavlin::platform::RecurrenceRule;
using tavlin::platform::StructuredLocation;

namespace {

using Frequency = RecurrenceRule::Frequency;

class RowFilterTest : public ReminderStoreFixture {
protected:
    static Reminder titled(const char* id, const char* title, const char* list = "L1") {
        Reminder made = reminder(id, list);
        made.title = QString::fromUtf8(title);
        return made;
    }
    static Reminder repeating(Reminder made, Frequency frequency, int interval) {
        made.recurrenceRules = {{.frequency = frequency, .interval = interval}};
        return made;
    }
    static Alarm placeAlarm(const char* title, std::optional<GeoLocation> geo = std::nullopt, double radius = 0) {
        return Alarm::on({.title = QString::fromUtf8(title), .geoLocation = geo, .radius = radius},
                         AlarmProximity::enter);
    }

    // One fixture for every line: two lists, dates, notes, places, cadences.
    void SetUp() override {
        Reminder milk = titled("milk", "Buy Milk");
        milk.dueDateComponents = at(2026, 3, 5, 9);  // tomorrow
        Reminder cafe = titled("cafe", "Café visit", "L2");
        cafe.dueDateComponents = day(2026, 3, 5);  // tomorrow, all day
        Reminder shop = titled("shop", "Shop", "L2");
        shop.notes = u"buy Milk and bread"_s;
        shop.dueDateComponents = day(2026, 3, 6);
        Reminder weekly = repeating(titled("weekly", "Water plants"), Frequency::weekly, 1);
        weekly.dueDateComponents = day(2026, 3, 9);  // not today: "every week" must not read as today
        Reminder office = titled("office", "Print report", "L2");
        office.alarms = {Alarm::at(wednesdayMorning), placeAlarm(""), placeAlarm("Office Tower"), placeAlarm("Home")};
        storeWith({milk, titled("oat", "Oat milk"), cafe, shop, weekly,
                   repeating(titled("biweekly", "Water garden"), Frequency::weekly, 2),
                   repeating(titled("daily", "Stretch"), Frequency::daily, 1),
                   repeating(titled("hourly", "Drink water"), Frequency::hourly, 1), office},
                  {list("L1", "Groceries"), list("L2", "Work")});
    }

    QStringList rows(const QString& line) {
        return identifiers(RowFilter(*store, calendar).filteredRows(line, wallNow()));
    }
};

}  // namespace

TEST_F(RowFilterTest, TheLineNarrowsByDateListPlaceCadenceAndWords) {
    const QStringList everything{u"milk"_s,     u"oat"_s,   u"cafe"_s,   u"shop"_s,  u"weekly"_s,
                                 u"biweekly"_s, u"daily"_s, u"hourly"_s, u"office"_s};
    struct Case {
        QString line;
        QStringList rows;
    };
    const Case cases[] = {
        {u""_s, everything},
        {u"milk"_s, {u"milk"_s, u"oat"_s, u"shop"_s}},  // the notes count when the title does not
        {u"MILK"_s, {u"milk"_s, u"oat"_s, u"shop"_s}},
        {u"cafe"_s, {u"cafe"_s}},
        {u"CAFÉ"_s, {u"cafe"_s}},
        {u"tomorrow"_s, {u"milk"_s, u"cafe"_s}},  // any time of the day; the undated drop out
        {u"#Work"_s, {u"cafe"_s, u"shop"_s, u"office"_s}},
        {u"milk #Groceries"_s, {u"milk"_s, u"oat"_s}},
        {u"@office"_s, {u"office"_s}},  // the first place with a title, not an empty one
        {u"@home"_s, {}},               // a later place does not count
        {u"every week"_s, {u"weekly"_s}},
        {u"every 2 weeks"_s, {u"biweekly"_s}},
        {u"every day"_s, {u"daily"_s}},  // an hourly rule is no cadence a line can name
        {u"water"_s, {u"weekly"_s, u"biweekly"_s, u"hourly"_s}},
        {u"water every week"_s, {u"weekly"_s}},
        {u"bread tomorrow"_s, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(rows(c.line), c.rows) << c.line.toStdString();
}

TEST_F(RowFilterTest, TheRowsFollowTheStoreAndItsReadersHearOfIt) {
    RowFilter filter(*store, calendar);
    int heard = 0;
    QObject::connect(&filter, &RowFilter::rowsChanged, [&] { ++heard; });
    EXPECT_EQ(identifiers(filter.filteredRows(u"milk"_s, wallNow())), (QStringList{u"milk"_s, u"oat"_s, u"shop"_s}));
    tavlin::platform::detach(store->add({.title = u"Milk powder"_s}));
    clock.runDueActions();
    EXPECT_GE(heard, 1);
    EXPECT_EQ(identifiers(filter.filteredRows(u"milk"_s, wallNow())).size(), 4);
    // A list renamed: "#Work" finds nothing once no list has that title.
    seed({.lists = {list("L1", "Groceries"), list("L2", "Office")}, .reminders = backend.contents().reminders});
    advance(std::chrono::seconds(1));
    clock.runDueActions();
    EXPECT_TRUE(filter.filteredRows(u"#Work"_s, wallNow()).empty());
    EXPECT_EQ(identifiers(filter.filteredRows(u"#Office"_s, wallNow())),
              (QStringList{u"cafe"_s, u"shop"_s, u"office"_s}));
}

TEST(RowOrder, DueThenPriorityThenAgeThenTitle) {
    const auto made = [](const char* title, std::optional<tavlin::platform::DateComponents> due, int priority,
                         std::optional<double> created) {
        return tavlin::platform::Reminder{
            .identifier = QString::fromUtf8(title),
            .title = QString::fromUtf8(title),
            .dueDateComponents = due,
            .priority = priority,
            .creationDate =
                created ? std::optional(tavlin::platform::Date::fromSecondsSince1970(*created)) : std::nullopt};
    };
    const tavlin::platform::DateComponents allDay{.year = 2026, .month = 3, .day = 5};
    const tavlin::platform::DateComponents nine{.year = 2026, .month = 3, .day = 5, .hour = 9, .minute = 0};
    struct Case {
        const char* name;
        tavlin::platform::Reminder first;
        tavlin::platform::Reminder second;
    };
    const Case cases[] = {
        {"all day before 09:00 whatever the priority", made("a", allDay, 0, 2), made("b", nine, 1, 1)},
        {"dated before undated", made("b", nine, 9, 9), made("a", std::nullopt, 1, 1)},
        {"priority 1 before 5", made("b", nine, 1, 9), made("a", nine, 5, 1)},
        {"priority 5 before none", made("b", nine, 5, 9), made("a", nine, 0, 1)},
        {"older first", made("b", nine, 5, 1), made("a", nine, 5, 2)},
        {"a creation date before none", made("b", nine, 5, 1), made("a", nine, 5, std::nullopt)},
        {"numbers by value", made("Item 2", nine, 5, 1), made("Item 10", nine, 5, 1)},
    };
    const auto amsterdam = tavlin::platform::Calendar::gregorian(
        tavlin::platform::TimeZone::fromIdentifier(u"Europe/Amsterdam"_s).value());
    for (const Case& c : cases) {
        EXPECT_TRUE(rowOrder(c.first, c.second, amsterdam)) << c.name;
        EXPECT_FALSE(rowOrder(c.second, c.first, amsterdam)) << c.name;
    }

    // A strict weak order over ties and near-ties, as std::sort needs.
    std::vector<tavlin::platform::Reminder> all;
    for (const Case& c : cases) all.insert(all.end(), {c.first, c.second});
    all.push_back(made("item 2", nine, 5, 1));
    all.push_back(made("Item 2", nine, 5, 1));
    all.push_back(made("", std::nullopt, 0, std::nullopt));
    const auto before = [&](const auto& a, const auto& b) { return rowOrder(a, b, amsterdam); };
    for (const auto& a : all) {
        EXPECT_FALSE(before(a, a));
        for (const auto& b : all) {
            if (before(a, b)) {
                EXPECT_FALSE(before(b, a));
            }
            for (const auto& c : all) {
                if (before(a, b) && before(b, c)) {
                    EXPECT_TRUE(before(a, c));
                }
                const auto tied = [&](const auto& x, const auto& y) { return !before(x, y) && !before(y, x); };
                if (tied(a, b) && tied(b, c)) {
                    EXPECT_TRUE(tied(a, c));
                }
            }
        }
    }
    std::sort(all.begin(), all.end(), before);
    EXPECT_TRUE(std::is_sorted(all.begin(), all.end(), before));
}

TEST(NearbyRows, OnlyWithGroupingPermissionAndAFixWithinTheRadius) {
    const GeoLocation bakery{52.37, 4.89};
    // A point `metres` north of the bakery, found on the ellipsoid itself.
    const auto north = [&](double metres) {
        const double perDegree = tavlin::platform::geodesicDistance(52.37, 4.89, 52.371, 4.89) / 0.001;
        return Location{.latitude = bakery.latitude + metres / perDegree, .longitude = bakery.longitude};
    };
    const auto at = [&](double radius, const std::vector<Alarm>& before = {}) {
        tavlin::platform::Reminder made{.identifier = u"bread"_s, .title = u"Buy bread"_s, .alarms = before};
        made.alarms.push_back(
            Alarm::on({.title = u"Bakery"_s, .geoLocation = bakery, .radius = radius}, AlarmProximity::enter));
        return std::vector{made};
    };
    const auto always = LocationAuthorization::authorizedAlways;
    struct Case {
        const char* name;
        std::vector<tavlin::platform::Reminder> rows;
        NearbyContext context;
        bool near;
    };
    const Case cases[] = {
        {"radius 0 counts as 250 m: 200 m", at(0), {true, always, north(200)}, true},
        {"radius 0: 260 m", at(0), {true, always, north(260)}, false},
        {"radius 100: 99 m", at(100), {true, always, north(99)}, true},
        {"radius 100: 101 m", at(100), {true, always, north(101)}, false},
        {"on the spot", at(-5), {true, always, north(0)}, true},
        {"grouping off", at(100), {false, always, north(0)}, false},
        {"no permission", at(100), {true, LocationAuthorization::denied, north(0)}, false},
        {"not asked yet", at(100), {true, LocationAuthorization::notDetermined, north(0)}, false},
        {"no fix", at(100), {true, always, std::nullopt}, false},
        {"the first titled place has no coordinates",
         at(100, {Alarm::on({.title = u"Bakery"_s}, AlarmProximity::enter)}),
         {true, always, north(0)},
         false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(nearbyReminderIDs(c.rows, c.context), c.near ? QSet<QString>{u"bread"_s} : QSet<QString>()) << c.name;
}
