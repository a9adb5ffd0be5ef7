// A reminder's life through a real CalDAV server: the store's vdir synced by
// vdirsyncer with a Radicale calendar, a second vdir synced with the same
// calendar to see what the server holds, and todoman reading the store's
// vdir throughout.

#include "platform/eventstore/VdirEventStore.h"

#include "platform/eventstore/AlarmTrigger.h"

#include "support/Radicale.h"
#include "support/ReminderPrinters.h"
#include "support/TestFiles.h"
#include "support/Todoman.h"
#include "support/Vdirsyncer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>
#include <nlohmann/json.hpp>

#include <map>
#include <memory>

using namespace tavlin::platform;
using namespace Qt::StringLiterals;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

class CalDAVRoundTripTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!Radicale::isInstalled()) GTEST_SKIP() << Radicale::missing;
        if (!Vdirsyncer::isInstalled()) GTEST_SKIP() << Vdirsyncer::missing;
        server = std::make_unique<Radicale>();
        ASSERT_TRUE(server->isRunning()) << "Radicale did not start:\n" << server->log().toStdString();
        ASSERT_EQ(server->request("MKCOL", u"/tavlin/"_s).status, 201);
        ASSERT_EQ(server->request("MKCALENDAR", collection).status, 201);

        writeTestFile(list() + u"/displayname"_s, "Errands");
        QDir().mkpath(mirrorList());
        vdirsyncer = std::make_unique<Vdirsyncer>(std::vector<Vdirsyncer::Pair>{
            {u"tavlin"_s, list(), server->url(collection)}, {u"mirror"_s, mirrorList(), server->url(collection)}});
        ASSERT_TRUE(vdirsyncer->discover());

        store = std::make_unique<VdirEventStore>(VdirEventStore::Options{.roots = {root()}});
        mirror = std::make_unique<VdirEventStore>(VdirEventStore::Options{.roots = {mirrorRoot.path()}});
        if (Todoman::isInstalled()) todoman = std::make_unique<Todoman>(root(), u"Errands"_s);
    }

    QString root() const { return QDir::cleanPath(folder.path()); }
    QString list() const { return root() + u"/errands"_s; }
    QString mirrorList() const { return QDir::cleanPath(mirrorRoot.path()) + u"/errands"_s; }

    // Our vdir to the server and back, then the server to the mirror.
    void syncBothWays() {
        ASSERT_TRUE(vdirsyncer->sync(u"tavlin"_s));
        ASSERT_TRUE(vdirsyncer->sync(u"mirror"_s));
        store->refreshSourcesIfNecessary();
        mirror->refreshSourcesIfNecessary();
    }

    // A reminder as the server holds it, in our list.
    std::optional<Reminder> onTheServer(const QString& identifier) {
        std::optional<Reminder> found = mirror->reminder(identifier);
        if (found) found->listIdentifier = list();
        return found;
    }

    // Another CalDAV client edits an item on the server: its text as the
    // server gives it, changed, put back.
    void editOnTheServer(const QString& identifier, const std::function<void(QByteArray&)>& edit) {
        const QString item = collection + identifier + u".ics"_s;
        Radicale::Response got = server->request("GET", item);
        ASSERT_EQ(got.status, 200) << got.body.toStdString();
        edit(got.body);
        const Radicale::Response put = server->request("PUT", item, got.body, "text/calendar; charset=utf-8");
        ASSERT_TRUE(put.status == 201 || put.status == 204) << put.status << " " << put.body.toStdString();
    }

    // What todoman lists of our vdir: each to-do's summary and whether it
    // is done, open ones first.
    using Todos = std::multimap<bool, std::string>;
    std::optional<Todos> todomanList() {
        if (!todoman) return std::nullopt;
        Todos todos;
        const QByteArray listed = todoman->run({u"--porcelain"_s, u"list"_s, u"--status"_s, u"ANY"_s});
        for (const auto& todo : nlohmann::json::parse(listed.toStdString()))
            todos.emplace(todo["completed"].get<bool>(), todo["summary"].get<std::string>());
        return todos;
    }
    void expectTodoman(const Todos& expected) {
        if (const std::optional<Todos> listed = todomanList()) {
            EXPECT_EQ(*listed, expected);
        }
    }

    const QString collection = u"/tavlin/errands/"_s;
    QTemporaryDir folder, mirrorRoot;
    std::unique_ptr<Radicale> server;
    std::unique_ptr<Vdirsyncer> vdirsyncer;
    std::unique_ptr<VdirEventStore> store, mirror;
    std::unique_ptr<Todoman> todoman;  // absent when not installed
};

TEST_F(CalDAVRoundTripTest, AReminderLivesThroughRadicaleWhole) {
    // Made here: every field arrives whole on the server.
    Reminder reminder = store->newReminder();
    reminder.listIdentifier = list();
    reminder.title = u"Water plants"_s;
    reminder.notes = u"Rain water; not tap, please\nand the ferns"_s;
    reminder.dueDateComponents = DateComponents{.timeZone = TimeZone::fromIdentifier(u"Europe/Amsterdam"_s),
                                                .year = 2026,
                                                .month = 3,
                                                .day = 2,
                                                .hour = 9,
                                                .minute = 0};
    reminder.priority = 5;
    reminder.recurrenceRules = {{.frequency = RecurrenceRule::Frequency::weekly, .interval = 2}};
    reminder.alarms = {Alarm::at(Date::fromSecondsSince1970(1772438400)),  // 09:00 in Amsterdam
                       Alarm::on({u"Home, back door"_s, GeoLocation{52.3731, 4.8922}, 120}, AlarmProximity::leave)};
    ASSERT_EQ(store->save(reminder), std::nullopt);
    const QString id = reminder.identifier;
    syncBothWays();
    EXPECT_EQ(onTheServer(id), reminder);
    expectTodoman({{false, "Water plants"}});
    // Its place as other clients see it, too.
    const std::string served =
        server->request("GET", collection + id + u".ics"_s).body.replace("\r\n ", "").toStdString();
    EXPECT_THAT(served, HasSubstr("\nLOCATION:Home\\, back door\r\n"));
    EXPECT_THAT(served, HasSubstr("\nGEO:52.3731;4.8922\r\n"));

    // Changed by another client on the server: the change shows here, and
    // everything else comes back as it was.
    editOnTheServer(id, [](QByteArray& text) {
        text.replace("SUMMARY:Water plants", "SUMMARY:Water the plants").replace("PRIORITY:5", "PRIORITY:1");
    });
    syncBothWays();
    Reminder expected = reminder;
    expected.title = u"Water the plants"_s;
    expected.priority = 1;
    EXPECT_EQ(store->reminder(id), expected);
    expectTodoman({{false, "Water the plants"}});

    // Done: the occurrence keeps the series' rule, the series goes on in a
    // new reminder, on the server too.
    Reminder done = *store->reminder(id);
    done.completed = true;
    ASSERT_EQ(store->save(done), std::nullopt);
    syncBothWays();
    EXPECT_EQ(mirror->fetchIncompleteReminders().size(), 1u);
    EXPECT_EQ(mirror->fetchRemindersCompleted(Date::fromSecondsSince1970(0)).size(), 1u);
    expectTodoman({{false, "Water the plants"}, {true, "Water the plants"}});
    // Touched by another client, the done occurrence comes back as the server writes it.
    editOnTheServer(id, [](QByteArray& text) { text.replace("END:VTODO", "CATEGORIES:garden\r\nEND:VTODO"); });
    syncBothWays();
    EXPECT_THAT(readTestFile(list() + u'/' + id + u".ics"_s).toStdString(), HasSubstr("CATEGORIES:garden"));

    // Reopened: one series again, with its rule, here and on the server.
    Reminder reopened = *store->reminder(id);
    reopened.completed = false;
    ASSERT_EQ(store->save(reopened), std::nullopt);
    syncBothWays();
    EXPECT_EQ(store->fetchIncompleteReminders(), std::vector{expected});
    EXPECT_EQ(onTheServer(id), expected);
    EXPECT_EQ(mirror->fetchIncompleteReminders().size(), 1u);
    EXPECT_TRUE(mirror->fetchRemindersCompleted(Date::fromSecondsSince1970(0)).empty());
    // The server writes plain line feeds.
    const std::string file =
        readTestFile(list() + u'/' + id + u".ics"_s).replace("\r\n", "\n").replace("\n ", "").toStdString();
    EXPECT_THAT(file, HasSubstr("\nRRULE:FREQ=WEEKLY;INTERVAL=2\n"));
    EXPECT_THAT(file, HasSubstr("\nLOCATION:Home\\, back door\n"));
    EXPECT_THAT(file, HasSubstr("\nGEO:52.3731;4.8922\n"));
    EXPECT_THAT(file, Not(HasSubstr("X-TAVLIN")));
    expectTodoman({{false, "Water the plants"}});
}

// An alarm shown here is acknowledged on the server too, and its snooze
// arrives as an alarm put off; one acknowledged by another client on the
// server comes back acknowledged.
TEST_F(CalDAVRoundTripTest, AcknowledgementsAndSnoozesSurviveASyncBothWays) {
    Reminder reminder = store->newReminder();
    reminder.listIdentifier = list();
    reminder.title = u"Stretch"_s;
    const Date trigger = Date::fromSecondsSince1970(1772621940);  // 4 March 2026, 11:19 UTC
    reminder.alarms = {Alarm::at(trigger)};
    ASSERT_EQ(store->save(reminder), std::nullopt);
    const QString id = reminder.identifier;
    syncBothWays();

    const Calendar calendar = Calendar::gregorian(TimeZone::gmt());
    const Date shown = trigger.addingTimeInterval(5);
    ASSERT_EQ(store->acknowledgeAlarms(id, shown, calendar, shown.addingTimeInterval(3600)), std::nullopt);
    syncBothWays();
    const std::optional<Reminder> there = onTheServer(id);
    ASSERT_TRUE(there);
    ASSERT_EQ(there->alarms.size(), 2u);
    EXPECT_EQ(there->alarms[0].acknowledged, shown);
    EXPECT_TRUE(there->alarms[1].snooze);
    EXPECT_EQ(there->alarms[1].absoluteDate, shown.addingTimeInterval(3600));
    EXPECT_EQ(there->alarms[1].acknowledged, std::nullopt);

    // Another client dismisses the snooze on the server.
    editOnTheServer(id, [](QByteArray& text) {
        const qsizetype snooze = text.indexOf("RELATED-TO;RELTYPE=SNOOZE");
        ASSERT_GE(snooze, 0) << text.toStdString();
        text.insert(snooze, "ACKNOWLEDGED:20260304T122000Z\r\n");
    });
    syncBothWays();
    const std::optional<Reminder> here = store->reminder(id);
    ASSERT_TRUE(here);
    ASSERT_EQ(here->alarms.size(), 2u);
    EXPECT_TRUE(isAcknowledged(here->alarms[1], *here->alarms[1].absoluteDate));
    EXPECT_EQ(here->alarms[0].acknowledged, shown);
}

}  // namespace
