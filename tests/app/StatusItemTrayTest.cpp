// The real tavlin on an X display with a tray host on its session bus: its
// tray item registers there, and a tray reads the counts from it.

#include "support/FakeStatusNotifierWatcher.h"
#include "support/PrivateSessionBus.h"
#include "support/TavlinProcess.h"
#include "support/XSession.h"

#include <gtest/gtest.h>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <functional>

using namespace Qt::StringLiterals;
using tavlin::testing::FakeStatusNotifierWatcher;
using tavlin::testing::XSession;

namespace {

// Writes one reminder into the list folder `list`.
void writeReminder(const QString& list, const QString& uid, const QByteArray& properties) {
    QDir().mkpath(list);
    QFile file(list + u'/' + uid + u".ics"_s);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Tavlin//test//EN\r\nBEGIN:VTODO\r\nUID:" + uid.toUtf8() +
               "\r\nSUMMARY:" + uid.toUtf8() + "\r\n" + properties + "END:VTODO\r\nEND:VCALENDAR\r\n");
}

bool waitUntil(const std::function<bool()>& done, int waitMs = 15000) {
    const QDeadlineTimer deadline(waitMs);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QThread::msleep(50);
    }
    return true;
}

}  // namespace

TEST(StatusItemTray, ATrayHostReadsTheCountsAndTheirPicture) {
    if (const QString missing = XSession::missing(); !missing.isEmpty()) GTEST_SKIP() << missing.toStdString();
    if (!PrivateSessionBus::isAvailable()) GTEST_SKIP() << "dbus-daemon is not installed (Debian package dbus-daemon)";
    XSession x;
    ASSERT_TRUE(x.start());
    PrivateSessionBus bus;
    ASSERT_TRUE(bus.isRunning());
    const FakeStatusNotifierWatcher watcher(bus.address());
    ASSERT_TRUE(watcher.isRegistered());

    // Wednesday 4 March 2026 at 10:00: five reminders due on Monday.
    QTemporaryDir reminders;
    const QString inbox = reminders.filePath(u"inbox"_s);
    for (int i = 1; i <= 5; ++i) writeReminder(inbox, u"overdue-%1"_s.arg(i), "DUE;VALUE=DATE:20260302\r\n");
    QFile(inbox + u"/displayname"_s).open(QIODevice::WriteOnly);

    TavlinProcess tavlin({.environment = {u"DISPLAY="_s + x.display(), u"QT_QPA_PLATFORM=xcb"_s, bus.environmentEntry(),
                                          u"TAVLIN_REMINDERS_DIR="_s + reminders.path(), u"TZ=Europe/Amsterdam"_s},
                          .fakeTime = u"2026-03-04 10:00:00"_s,
                          .withoutDisplay = false});
    const std::optional<FakeStatusNotifierWatcher::Item> item = watcher.waitForItem(15000);
    ASSERT_TRUE(item) << "no tray item registered: " << tavlin.standardError().toStdString();

    const auto toolTip = [&] { return watcher.toolTip(*item).value_or(u"(none)"_s); };
    EXPECT_TRUE(waitUntil([&] { return toolTip() == u"5 overdue, 0 due today"_s; })) << toolTip().toStdString();

    // The tray's picture at 22 px: the red overdue row above the grey one.
    const std::vector<QImage> pictures = watcher.iconPixmaps(*item);
    const auto picture22 = std::ranges::find_if(pictures, [](const QImage& image) { return image.width() == 22; });
    ASSERT_NE(picture22, pictures.end()) << pictures.size() << " pictures";
    const QColor top = picture22->pixelColor(3, 5), bottom = picture22->pixelColor(3, 16);
    EXPECT_EQ(top, QColor(255, 59, 48)) << top.name(QColor::HexArgb).toStdString();
    EXPECT_EQ(bottom.red(), bottom.green()) << bottom.name(QColor::HexArgb).toStdString();
    EXPECT_EQ(bottom.green(), bottom.blue()) << bottom.name(QColor::HexArgb).toStdString();
    EXPECT_GT(bottom.alpha(), 0);
    EXPECT_LT(bottom.alpha(), 80) << "a translucent grey";

    // Two done this morning: the done count joins them.
    for (int i = 1; i <= 2; ++i)
        writeReminder(inbox, u"done-%1"_s.arg(i), "STATUS:COMPLETED\r\nCOMPLETED:20260304T080000Z\r\n");
    EXPECT_TRUE(waitUntil([&] { return toolTip() == u"5 overdue, 0 due today, 2 done today"_s; }))
        << toolTip().toStdString();
    EXPECT_EQ(watcher.items().size(), 1u);
}
