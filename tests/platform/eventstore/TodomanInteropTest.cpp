// Reminders we write are read by todoman, and what todoman writes is read by
// us: the check that the store is an ordinary vdir.

#include "platform/eventstore/VdirEventStore.h"

#include "support/ReminderPrinters.h"
#include "support/Todoman.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <nlohmann/json.hpp>

using namespace tavlin::platform;
using namespace Qt::StringLiterals;

namespace {

class TodomanInteropTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!Todoman::isInstalled()) GTEST_SKIP() << Todoman::missing;
        QDir().mkpath(root() + u"/list"_s);
        todomanRunner = std::make_unique<Todoman>(root(), u"list"_s);
        store = std::make_unique<VdirEventStore>(VdirEventStore::Options{.roots = {root()}});
    }

    QString root() const { return QDir::cleanPath(vdir.path()); }
    QString list() const { return root() + u"/list"_s; }

    QByteArray todoman(const QStringList& arguments) { return todomanRunner->run(arguments); }

    // todoman's view of every to-do, by summary.
    std::map<std::string, nlohmann::json> listed() {
        std::map<std::string, nlohmann::json> bySummary;
        for (const auto& todo :
             nlohmann::json::parse(todoman({u"--porcelain"_s, u"list"_s, u"--status"_s, u"ANY"_s}).toStdString()))
            bySummary[todo["summary"].get<std::string>()] = todo;
        return bySummary;
    }

    Reminder saved(Reminder fields) {
        Reminder reminder = store->newReminder();
        fields.identifier = reminder.identifier;
        fields.listIdentifier = list();
        reminder = fields;
        EXPECT_EQ(store->save(reminder), std::nullopt);
        return reminder;
    }

    QTemporaryDir vdir;
    std::unique_ptr<Todoman> todomanRunner;
    std::unique_ptr<VdirEventStore> store;
};

TEST_F(TodomanInteropTest, TodomanListsWhatWeWrite) {
    const Date completedAt = Date::fromSecondsSince1970(1772791200);
    saved({.title = u"Pay rent"_s, .dueDateComponents = DateComponents{.year = 2026, .month = 4, .day = 1}});
    saved({.title = u"Dentist"_s,
           .dueDateComponents = DateComponents{.timeZone = TimeZone::fromIdentifier(u"Europe/Amsterdam"_s),
                                               .year = 2026,
                                               .month = 3,
                                               .day = 5,
                                               .hour = 15,
                                               .minute = 15},
           .priority = 1});
    saved({.title = u"Water plants"_s,
           .dueDateComponents = DateComponents{.year = 2026, .month = 3, .day = 2},
           .recurrenceRules = {{.frequency = RecurrenceRule::Frequency::weekly}}});
    saved({.title = u"Filed taxes"_s, .completed = true, .completionDate = completedAt});

    auto todos = listed();
    ASSERT_EQ(todos.size(), 4u);
    EXPECT_EQ(todos["Pay rent"]["due"], 1775001600);  // 2026-04-01, a day in UTC
    EXPECT_EQ(todos["Dentist"]["due"], 1772720100);   // 15:15 in Amsterdam is 14:15 UTC
    EXPECT_EQ(todos["Dentist"]["priority"], 1);
    EXPECT_EQ(todos["Water plants"]["due"], 1772409600);
    EXPECT_EQ(todos["Filed taxes"]["completed"], true);
    EXPECT_EQ(todos["Filed taxes"]["completed_at"], 1772791200);
    EXPECT_EQ(todos["Filed taxes"]["percent"], 100);

    // A file todoman rewrote still holds the rule.
    todoman({u"edit"_s, QString::number(todos["Water plants"]["id"].get<int>()), u"--priority"_s, u"low"_s});
    const auto weekly = store->fetchIncompleteReminders();
    const auto found = std::find_if(weekly.begin(), weekly.end(),
                                    [](const Reminder& reminder) { return reminder.title == u"Water plants"_s; });
    ASSERT_NE(found, weekly.end());
    EXPECT_EQ(found->priority, 9);
    EXPECT_EQ(found->recurrenceRules.size(), 1u);
}

TEST_F(TodomanInteropTest, WeReadWhatTodomanCreatesAndCompletes) {
    todoman(
        {u"new"_s, u"-l"_s, u"list"_s, u"--due"_s, u"2026-03-05 15:15"_s, u"--priority"_s, u"high"_s, u"Dentist"_s});
    const auto todo = listed()["Dentist"];
    todoman({u"done"_s, QString::number(todo["id"].get<int>())});
    const double completedAt = listed()["Dentist"]["completed_at"].get<double>();

    const auto done = store->fetchRemindersCompleted(Date::fromSecondsSince1970(0));
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0].title, u"Dentist"_s);
    EXPECT_EQ(
        done[0].dueDateComponents,
        (DateComponents{.timeZone = TimeZone::gmt(), .year = 2026, .month = 3, .day = 5, .hour = 15, .minute = 15}));
    EXPECT_EQ(done[0].priority, 4);
    EXPECT_EQ(done[0].completionDate, Date::fromSecondsSince1970(completedAt));
    EXPECT_EQ(done[0].listIdentifier, list());
}

TEST_F(TodomanInteropTest, AFileTodomanRewroteKeepsOurLocationAlarm) {
    const Alarm atHome = Alarm::on({u"Home"_s, GeoLocation{52.37, 4.89}, 120}, AlarmProximity::leave);
    const Reminder reminder = saved({.title = u"Take out the bins"_s, .alarms = {atHome}});
    todoman({u"edit"_s, QString::number(listed()["Take out the bins"]["id"].get<int>()), u"--priority"_s, u"medium"_s});
    const auto read = store->reminder(reminder.identifier);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->priority, 5);
    EXPECT_EQ(read->alarms, std::vector{atHome});
}

TEST_F(TodomanInteropTest, PlacesAreSeenBothWays) {
    // Ours, with and without coordinates: todoman shows the place's name.
    saved({.title = u"Take out the bins"_s,
           .alarms = {Alarm::on({u"Home, back door"_s, GeoLocation{52.37, 4.89}, 120}, AlarmProximity::leave)}});
    saved({.title = u"Buy nails"_s, .alarms = {Alarm::on({.title = u"Hardware store"_s}, AlarmProximity::enter)}});
    auto todos = listed();
    EXPECT_EQ(todos["Take out the bins"]["location"], "Home, back door");
    EXPECT_EQ(todos["Buy nails"]["location"], "Hardware store");
    const QByteArray shown = todoman({u"show"_s, QString::number(todos["Buy nails"]["id"].get<int>())});
    EXPECT_TRUE(shown.contains("Hardware store")) << shown.toStdString();

    // todoman's: a place by its name alone, which an edit of ours keeps.
    todoman({u"new"_s, u"-l"_s, u"list"_s, u"--location"_s, u"Post office"_s, u"Send parcel"_s});
    const auto fetched = store->fetchIncompleteReminders();
    const auto parcel = std::find_if(fetched.begin(), fetched.end(),
                                     [](const Reminder& reminder) { return reminder.title == u"Send parcel"_s; });
    ASSERT_NE(parcel, fetched.end());
    EXPECT_EQ(parcel->alarms, std::vector{Alarm::on({.title = u"Post office"_s}, AlarmProximity::none)});
    Reminder edited = *parcel;
    edited.title = u"Send the parcel"_s;
    ASSERT_EQ(store->save(edited), std::nullopt);
    todos = listed();
    EXPECT_EQ(todos["Send the parcel"]["location"], "Post office");
    EXPECT_EQ(store->reminder(edited.identifier), edited);
}

}  // namespace
