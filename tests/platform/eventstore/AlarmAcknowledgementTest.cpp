#include "platform/eventstore/VdirEventStore.h"

#include "platform/eventstore/AlarmTrigger.h"

#include "support/ReminderPrinters.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>

using namespace tavlin::platform;
using namespace Qt::StringLiterals;

namespace {

Date utc(const char* text) {
    return Date::fromQDateTime(QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate));
}

// Alarms as other clients leave them: counted from the start, acknowledged
// (by the standard's property, or by one client's own for the whole item),
// put off, and broken.
const QByteArray kAlarms = crlf(R"(BEGIN:VCALENDAR
VERSION:2.0
PRODID:-//Another Client//EN
BEGIN:VTODO
UID:alarms-1
SUMMARY:Stretch
DTSTART:20260304T100000Z
DUE:20260304T120000Z
X-MOZ-LASTACK:20260304T095600Z
BEGIN:VALARM
UID:FROM-START
ACTION:DISPLAY
TRIGGER;RELATED=START:-PT5M
X-ALARM-NOTE:keep me
END:VALARM
BEGIN:VALARM
ACTION:DISPLAY
TRIGGER:-PT15M
ACKNOWLEDGED:20260304T114600Z
END:VALARM
BEGIN:VALARM
ACTION:DISPLAY
TRIGGER;VALUE=DATE-TIME:20260304T130000Z
RELATED-TO;RELTYPE=SNOOZE:FROM-START
END:VALARM
BEGIN:VALARM
ACTION:DISPLAY
DESCRIPTION:no trigger
END:VALARM
BEGIN:VALARM
ACTION:DISPLAY
TRIGGER;VALUE=DATE-TIME:tomorrow
END:VALARM
END:VTODO
END:VCALENDAR
)");

class AlarmAcknowledgementTest : public ::testing::Test {
protected:
    QString write(const QByteArray& contents) {
        const QString path = folder.path() + u"/Reminders/alarms-1.ics"_s;
        writeTestFile(path, contents);
        return path;
    }
    VdirEventStore& open() {
        store = std::make_unique<VdirEventStore>(VdirEventStore::Options{.roots = {QDir::cleanPath(folder.path())}});
        EXPECT_EQ(store->requestFullAccess(), std::nullopt);
        return *store;
    }

    QTemporaryDir folder;
    std::unique_ptr<VdirEventStore> store;
    Calendar calendar = Calendar::gregorian(TimeZone::gmt());
};

TEST_F(AlarmAcknowledgementTest, ReadsTheStartAcknowledgementsSnoozesAndBrokenTriggers) {
    write(kAlarms);
    const std::optional<Reminder> reminder = open().reminder(u"alarms-1"_s);
    ASSERT_TRUE(reminder);
    ASSERT_EQ(reminder->alarms.size(), 5u);
    const std::vector<Alarm>& alarms = reminder->alarms;
    EXPECT_TRUE(alarms[0].relativeToStart);
    EXPECT_EQ(alarmTriggerDate(*reminder, alarms[0], calendar), utc("2026-03-04T09:55:00Z"));
    EXPECT_EQ(alarms[0].acknowledged, utc("2026-03-04T09:56:00Z")) << "the item's X-MOZ-LASTACK";
    EXPECT_EQ(alarms[1].acknowledged, utc("2026-03-04T11:46:00Z")) << "its own, the later";
    EXPECT_TRUE(alarms[2].snooze);
    EXPECT_EQ(alarms[2].absoluteDate, utc("2026-03-04T13:00:00Z"));
    EXPECT_FALSE(alarms[3].hasTrigger);
    EXPECT_FALSE(alarms[4].hasTrigger);
    EXPECT_EQ(alarmTriggerDate(*reminder, alarms[4], calendar), std::nullopt);
}

// Acknowledging marks what went off and adds the snooze beside it; the rest
// of the file stays as it was, and an edit that keeps an alarm keeps its
// acknowledgement.
TEST_F(AlarmAcknowledgementTest, AcknowledgingWritesOnlyTheAcknowledgementAndTheSnooze) {
    const QString path = write(crlf(R"(BEGIN:VCALENDAR
VERSION:2.0
PRODID:-//Another Client//EN
BEGIN:VTODO
UID:alarms-1
SUMMARY:Stretch
DUE:20260304T120000Z
BEGIN:VALARM
UID:AT-DUE
ACTION:DISPLAY
TRIGGER:PT0S
X-ALARM-NOTE:keep me
END:VALARM
BEGIN:VALARM
UID:LATER
ACTION:DISPLAY
TRIGGER:PT1H
END:VALARM
END:VTODO
END:VCALENDAR
)"));
    VdirEventStore& vdir = open();
    const Date at = utc("2026-03-04T12:00:30Z");
    ASSERT_EQ(vdir.acknowledgeAlarms(u"alarms-1"_s, at, calendar, at.addingTimeInterval(3600)), std::nullopt);
    const QByteArray text = readTestFile(path);
    EXPECT_TRUE(
        text.contains("UID:AT-DUE\r\nACTION:DISPLAY\r\nTRIGGER:PT0S\r\nX-ALARM-NOTE:keep me\r\n"
                      "ACKNOWLEDGED:20260304T120030Z\r\nEND:VALARM"))
        << text.toStdString();
    EXPECT_EQ(text.count("ACKNOWLEDGED"), 1) << "the alarm still to come is not";
    EXPECT_TRUE(text.contains("TRIGGER;VALUE=DATE-TIME:20260304T130030Z\r\nRELATED-TO;RELTYPE=SNOOZE:AT-DUE"))
        << text.toStdString();

    Reminder reminder = vdir.reminder(u"alarms-1"_s).value();
    ASSERT_EQ(reminder.alarms.size(), 3u);
    EXPECT_EQ(reminder.alarms[0].acknowledged, at);
    EXPECT_TRUE(reminder.alarms[2].snooze);
    reminder.title = u"Stretch your legs"_s;
    reminder.alarms[0].acknowledged.reset();  // as a copy made before the acknowledgement
    ASSERT_EQ(vdir.save(reminder), std::nullopt);
    EXPECT_EQ(vdir.reminder(u"alarms-1"_s)->alarms[0].acknowledged, at);

    const QByteArray before = readTestFile(path);
    ASSERT_EQ(vdir.acknowledgeAlarms(u"alarms-1"_s, at, calendar), std::nullopt);
    EXPECT_EQ(readTestFile(path), before) << "nothing more to acknowledge, nothing written";
}

TEST_F(AlarmAcknowledgementTest, AFileNotReadWholeIsNotWritten) {
    QByteArray latin1 = crlf(R"(BEGIN:VCALENDAR
VERSION:2.0
BEGIN:VTODO
UID:alarms-1
SUMMARY:Caf)");
    latin1 += "\xe9";
    latin1 += crlf(R"(
DUE:20260304T120000Z
BEGIN:VALARM
ACTION:DISPLAY
TRIGGER:PT0S
END:VALARM
END:VTODO
END:VCALENDAR
)");
    const QString path = write(latin1);
    ASSERT_EQ(open().acknowledgeAlarms(u"alarms-1"_s, utc("2026-03-04T12:01:00Z"), calendar), std::nullopt);
    EXPECT_EQ(readTestFile(path), latin1);
}

}  // namespace
