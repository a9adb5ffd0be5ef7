#include "NotificationsFixture.h"
#include "support/MainLoop.h"
#include "support/Printers.h"
#include "support/TavlinProcess.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>

#include <chrono>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

namespace {

// A to-do as todoman writes one: its alarm at `trigger` (UTC), or counted
// from its due time when `trigger` is a duration.
QByteArray todo(const char* uid, const char* summary, const char* due, const char* trigger) {
    const QByteArray triggerLine = QByteArray(trigger).startsWith("P") || QByteArray(trigger).startsWith("-P")
                                       ? QByteArray("TRIGGER:") + trigger
                                       : QByteArray("TRIGGER;VALUE=DATE-TIME:") + trigger;
    return crlf(QByteArray("BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//todoman//EN\nBEGIN:VTODO\nUID:") + uid +
                "\nSUMMARY:" + summary + "\nDUE;TZID=Europe/Amsterdam:" + due +
                "\nSTATUS:NEEDS-ACTION\nBEGIN:VALARM\nACTION:DISPLAY\nDESCRIPTION:" + summary + "\n" + triggerLine +
                "\nEND:VALARM\nEND:VTODO\nEND:VCALENDAR\n");
}

class AlarmsEndToEnd : public NotificationsFixture {
protected:
    void SetUp() override {
        NotificationsFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        writeTestFile(home.filePath(u"config/Tavlin/settings.json"_s), R"({"mcpEnabled": false})");
        writeTestFile(list() + u"displayname"_s, "Inbox");
    }

    QString list() const { return home.filePath(u"data/Tavlin/Reminders/inbox/"_s); }

    std::unique_ptr<TavlinProcess> launch(const QString& at) {
        return std::make_unique<TavlinProcess>(TavlinProcess::Options{
            .environment = {u"XDG_CONFIG_HOME="_s + home.filePath(u"config"_s),
                            u"XDG_DATA_HOME="_s + home.filePath(u"data"_s), u"TZ=Europe/Amsterdam"_s,
                            u"LANGUAGE=en_GB"_s, u"LANG=en_GB.UTF-8"_s, bus.environmentEntry()},
            .fakeTime = at});
    }

    QString titleOf(std::size_t call) const { return server->calls(u"Notify"_s).at(call).arguments.at(3).toString(); }
    bool waitForFile(const QString& name, const QByteArray& text) {
        return runMainLoopUntil([&] { return readTestFile(list() + name).contains(text); }, 20s);
    }

    QTemporaryDir home;
};

}  // namespace

// Tavlin as it runs, a few seconds before an alarm: it shows it once at its
// minute and marks it in the file; an alarm another program writes into the
// folder meanwhile fires too. Started again later, it shows neither again,
// only what it missed meanwhile, and "Mark as Completed" completes the file.
TEST_F(AlarmsEndToEnd, AnAlarmFiresOnceAndItsResponsesReachTheFile) {
    writeTestFile(list() + u"stretch.ics"_s,
                  todo("stretch", "Stretch your legs", "20260304T111900", "20260304T101900Z"));
    std::unique_ptr<TavlinProcess> tavlin = launch(u"2026-03-04 11:18:56"_s);
    ASSERT_TRUE(server->waitForCalls(u"Notify"_s, 1, 30s)) << tavlin->standardError().toStdString();
    const QVariantList shown = server->calls(u"Notify"_s).at(0).arguments;
    EXPECT_EQ(shown.at(3), u"Stretch your legs"_s);
    EXPECT_EQ(shown.at(4), u"11:19 · Inbox"_s);
    EXPECT_EQ(shown.at(5).toStringList(), (QStringList{u"default"_s, u"Open"_s, u"complete"_s, u"Mark as Completed"_s,
                                                       u"snooze"_s, u"Remind Me in 1 Hour"_s}));
    ASSERT_TRUE(waitForFile(u"stretch.ics"_s, "ACKNOWLEDGED:20260304T1019"));

    // Written while Tavlin runs, due twenty seconds on.
    writeTestFile(list() + u"water.ics"_s, todo("water", "Water the plants", "20260304T111920", "PT0S"));
    ASSERT_TRUE(server->waitForCalls(u"Notify"_s, 2, 60s)) << tavlin->standardError().toStdString();
    EXPECT_EQ(titleOf(1), u"Water the plants"_s);
    ASSERT_TRUE(waitForFile(u"water.ics"_s, "ACKNOWLEDGED:"));
    EXPECT_TRUE(tavlin->signalAndFinish(SIGTERM));

    // Missed while Tavlin was not running.
    writeTestFile(list() + u"call.ics"_s, todo("call", "Call the garage", "20260304T113000", "20260304T103000Z"));
    tavlin = launch(u"2026-03-04 11:45:00"_s);
    ASSERT_TRUE(server->waitForCalls(u"Notify"_s, 3, 30s)) << tavlin->standardError().toStdString();
    EXPECT_EQ(titleOf(2), u"Call the garage"_s) << "the others were shown before";
    // Marked once Tavlin knows the server's number for it.
    ASSERT_TRUE(waitForFile(u"call.ics"_s, "ACKNOWLEDGED:"));
    server->invokeAction(3, u"complete"_s);
    ASSERT_TRUE(waitForFile(u"call.ics"_s, "STATUS:COMPLETED")) << tavlin->standardError().toStdString();
    EXPECT_EQ(server->calls(u"Notify"_s).size(), 3u);
    EXPECT_TRUE(tavlin->signalAndFinish(SIGTERM));
}
