// The window and panel switches as a developer runs them on a desktop: the
// real binary on an X display under openbox, with a session bus of the
// test's own (a notification server on it) and the test's file manager as
// the desktop's application for folders.

#include "support/FakeFileManager.h"
#include "support/FakeNotificationServer.h"
#include "support/PrivateSessionBus.h"
#include "support/TavlinProcess.h"
#include "support/XSession.h"

#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QRegularExpression>

#include <optional>

using namespace Qt::StringLiterals;
using tavlin::testing::XSession;

namespace {

const QString listingHeader = u"window-server z-order (front to back, layer 0 + all Tavlin):"_s;

class WindowSwitchesX11Test : public ::testing::Test {
protected:
    void SetUp() override {
        if (const QString missing = XSession::missing(); !missing.isEmpty()) GTEST_SKIP() << missing.toStdString();
        if (!PrivateSessionBus::isAvailable()) GTEST_SKIP() << "dbus-daemon is not installed";
        if (!FakeFileManager::isAvailable()) GTEST_SKIP() << "gio is not installed (libglib2.0-bin)";
        ASSERT_TRUE(x.start()) << "Xvfb or openbox did not start";
        ASSERT_TRUE(bus.isRunning());
        notifications.emplace(bus.connect());
    }

    // Runs Tavlin with `arguments` to its end.
    TavlinProcess& run(const QStringList& arguments) {
        tavlin.emplace(TavlinProcess::Options{
            .arguments = arguments,
            .environment = QStringList{u"DISPLAY="_s + x.display(), u"QT_QPA_PLATFORM=xcb"_s, u"HOME="_s + home.path(),
                                       u"XDG_DATA_HOME="_s + dataHome(), u"XDG_CONFIG_HOME="_s + configHome(),
                                       bus.environmentEntry()} +
                           files.environment(),
            .withoutDisplay = false});
        return *tavlin;
    }

    QString dataHome() const { return home.filePath(u"data"_s); }
    QString configHome() const { return home.filePath(u"config"_s); }
    QStringList printed() const { return tavlin->standardOutput().split(u'\n', Qt::SkipEmptyParts); }

    // The report lines' tags, in order.
    QStringList reportTags() const {
        QStringList tags;
        const QRegularExpression tag(u"^\\[([^\\]]*)\\] panel: "_s);
        for (const QString& line : printed())
            if (const QRegularExpressionMatch match = tag.match(line); match.hasMatch()) tags << match.captured(1);
        return tags;
    }
    std::string said() const {
        return (tavlin->standardOutput() + u"\n--- standard error:\n"_s + tavlin->standardError()).toStdString();
    }

    XSession x;
    QTemporaryDir home;
    PrivateSessionBus bus;
    std::optional<FakeNotificationServer> notifications;
    FakeFileManager files{dataHome(), configHome()};
    std::optional<TavlinProcess> tavlin;
};

}  // namespace

TEST_F(WindowSwitchesX11Test, FrontTestReportsFiveStepsWithTheWindowsInFront) {
    QElapsedTimer elapsed;
    elapsed.start();
    TavlinProcess& front = run({u"--front-test"_s});
    ASSERT_TRUE(front.finish(30000)) << said();
    EXPECT_GE(elapsed.elapsed(), 5500);
    EXPECT_EQ(front.exitCode(), 0);

    // The five report lines in order, the last four each with its listing.
    const QStringList lines = printed();
    const QStringList reports = {
        u"Tavlin active="_s, u"after makeKeyAndOrderFront (active="_s, u"after orderFrontRegardless (active="_s,
        u"after another app takes the front (active="_s, u"after level = .floating (active="_s};
    std::vector<qsizetype> at;
    for (const QString& report : reports) {
        const auto found =
            std::find_if(lines.begin(), lines.end(), [&](const QString& l) { return l.startsWith(report); });
        ASSERT_NE(found, lines.end()) << report.toStdString() << "\n" << said();
        at.push_back(found - lines.begin());
    }
    ASSERT_TRUE(std::is_sorted(at.begin(), at.end())) << said();
    EXPECT_TRUE(lines[at[0]].endsWith(u" frontmost=FakeFiles"_s)) << said();
    for (std::size_t step = 1; step < at.size(); ++step) {
        SCOPED_TRACE(reports[qsizetype(step)].toStdString());
        EXPECT_EQ(lines.value(at[step] + 1), listingHeader);
        const qsizetype end = step + 1 < at.size() ? at[step + 1] : lines.size();
        const QStringList listing = lines.mid(at[step] + 2, end - at[step] - 2);
        const QString layer = step == 4 ? u"layer=3"_s : u"layer=0"_s;
        EXPECT_FALSE(
            listing.filter(QRegularExpression(u"^  \\d+: Tavlin “Tavlin FrontTest” "_s + layer + u"$"_s)).isEmpty())
            << said();
        // The file manager that took the activation is listed too.
        EXPECT_FALSE(listing.filter(QRegularExpression(u"^  \\d+: FakeFiles “Files” layer=0$"_s)).isEmpty()) << said();
    }
    // The other program in front: Tavlin is no longer active, its window not key.
    EXPECT_EQ(lines[at[3]], u"after another app takes the front (active=false):"_s) << said();

    ASSERT_EQ(files.starts().size(), 2u);
    EXPECT_EQ(files.starts()[0].folder, home.path());
}

TEST_F(WindowSwitchesX11Test, FocusTestOpensTheCaptureThenTypesIntoThePlainPanel) {
    const QStringList tags = {u"before-open"_s,    u"just-opened"_s,    u"settled"_s,
                              u"after-keyboard"_s, u"after-escape-1"_s, u"after-escape-2"_s};

    TavlinProcess& capture = run({u"--focus-test"_s, u"capture"_s, u"0.5"_s});
    ASSERT_TRUE(capture.finish(30000)) << said();
    EXPECT_EQ(capture.exitCode(), 0);
    EXPECT_EQ(reportTags(), tags) << said();
    const QStringList captured = printed();
    EXPECT_TRUE(captured.value(1).startsWith(u"[just-opened] panel: visible=true "_s)) << said();
    EXPECT_TRUE(captured.value(3).startsWith(u"keyboard: key=true reallyActive=true responder="_s)) << said();
    EXPECT_TRUE(captured.value(4).startsWith(u"typing: before="_s)) << said();
    EXPECT_TRUE(captured.value(5).startsWith(u"menu equivalents via NSApp.sendEvent: field="_s)) << said();
    EXPECT_TRUE(captured.last().startsWith(u"frontmost after escape: "_s)) << said();

    // In the plain panel the field has the keyboard: typed keys and the
    // shortcuts reach it, and the first Escape empties it.
    TavlinProcess& plain = run({u"--focus-test"_s, u"plain"_s, u"0.5"_s});
    ASSERT_TRUE(plain.finish(30000)) << said();
    EXPECT_EQ(reportTags(), tags) << said();
    const QStringList typed = printed();
    EXPECT_EQ(typed.value(3), u"keyboard: key=true reallyActive=true responder=QLineEdit(\"\")"_s) << said();
    EXPECT_EQ(typed.value(4), u"typing: before=\"\" after=\"hi\""_s) << said();
    EXPECT_EQ(typed.value(5), u"menu equivalents via NSApp.sendEvent: field=\"pasted\""_s) << said();
    EXPECT_TRUE(typed.value(7).startsWith(u"[after-escape-1] panel: visible=true "_s)) << said();
    EXPECT_TRUE(typed.value(8).startsWith(u"[after-escape-2] panel: nil "_s)) << said();
}

TEST_F(WindowSwitchesX11Test, PreferencesTestTwiceWithTheActivationStolen) {
    TavlinProcess& preferences = run({u"--preferences-test"_s, u"twice"_s, u"steal"_s});
    ASSERT_TRUE(preferences.finish(30000)) << said();
    EXPECT_EQ(preferences.exitCode(), 0);
    const QStringList lines = printed();
    EXPECT_TRUE(lines.value(0).startsWith(u"ContactPlaces.isAuthorized: "_s)) << said();
    EXPECT_EQ(lines.filter(QRegularExpression(u"^show\\(\\): \\d\\S* seconds$"_s)).size(), 2) << said();
    EXPECT_EQ(lines.filter(listingHeader).size(), 2) << said();
    EXPECT_EQ(
        lines.filter(QRegularExpression(u"^  “General” visible=true key=(true|false) level=(0|3) frame=\\("_s)).size(),
        2)
        << said();
    ASSERT_GE(lines.size(), 2);
    EXPECT_TRUE(QRegularExpression(u"^after regaining activation: key=(true|false) level=(0|3)$"_s)
                    .match(lines[lines.size() - 2])
                    .hasMatch())
        << said();
    EXPECT_EQ(lines.last(), u"after close: visible=false level=0"_s) << said();
    EXPECT_EQ(files.starts().size(), 2u);
}
