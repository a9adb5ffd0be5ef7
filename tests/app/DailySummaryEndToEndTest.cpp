#include "support/FakeNotificationServer.h"
#include "support/Printers.h"
#include "support/PrivateSessionBus.h"
#include "support/TavlinProcess.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

namespace {

void write(const QString& path, const QByteArray& contents) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(contents);
}

QByteArray overdueReminder(const char* uid) {
    return QByteArray("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Tavlin//test//EN\r\nBEGIN:VTODO\r\nUID:") + uid +
           "\r\nSUMMARY:" + uid +
           "\r\nDUE;VALUE=DATE:20260303\r\nSTATUS:NEEDS-ACTION\r\nEND:VTODO\r\nEND:VCALENDAR\r\n";
}

}  // namespace

// Tavlin as it runs: the summary switched on for 09:00, two reminders
// overdue and none due today, launched a few seconds before nine.
TEST(DailySummaryEndToEnd, PostsTheCountsAtTheChosenMinute) {
    if (!PrivateSessionBus::isAvailable()) GTEST_SKIP() << "dbus-daemon is not installed";
    PrivateSessionBus bus;
    ASSERT_TRUE(bus.isRunning());
    FakeNotificationServer server(bus.connect());
    ASSERT_TRUE(server.isRegistered());

    QTemporaryDir home;
    write(home.filePath(u"config/Tavlin/settings.json"_s),
          R"({"mcpEnabled": false, "dailySummaryEnabled": true, "dailySummaryMinutes": 540})");
    const QString list = home.filePath(u"data/Tavlin/Reminders/inbox/"_s);
    write(list + u"displayname"_s, "Inbox");
    write(list + u"overdue-1.ics"_s, overdueReminder("overdue-1"));
    write(list + u"overdue-2.ics"_s, overdueReminder("overdue-2"));

    const auto launched = std::chrono::steady_clock::now();
    TavlinProcess tavlin({.environment = {u"XDG_CONFIG_HOME="_s + home.filePath(u"config"_s),
                                          u"XDG_DATA_HOME="_s + home.filePath(u"data"_s), u"TZ=Europe/Amsterdam"_s,
                                          bus.environmentEntry()},
                          .fakeTime = u"2026-03-04 08:59:54"_s});
    ASSERT_TRUE(server.waitForCalls(u"Notify"_s, 1, 30s)) << tavlin.standardError().toStdString();

    const FakeNotificationServer::Call call = server.calls(u"Notify"_s).at(0);
    EXPECT_GE(call.time - launched, 4s) << "posted at nine, not at launch";
    EXPECT_EQ(call.arguments.at(0), u"Tavlin"_s);
    EXPECT_EQ(call.arguments.at(1), 0u) << "a summary never replaces another";
    EXPECT_EQ(call.arguments.at(3), u"Daily summary"_s);
    EXPECT_EQ(call.arguments.at(4), u"2 overdue, 0 due today"_s);
    EXPECT_EQ(call.arguments.at(6).toMap().value(u"suppress-sound"_s), true);
    EXPECT_EQ(call.arguments.at(5).toStringList(), QStringList()) << "a click does nothing, so no action is offered";
    EXPECT_TRUE(tavlin.signalAndFinish(SIGTERM));
}
