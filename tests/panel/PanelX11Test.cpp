// The panel on a real X server: Xvfb and openbox, started here, with an
// X client of another program holding the focus, and the hot key, clicks
// and drags made by xdotool.

#include "support/SelectionOwner.h"
#include "support/XSession.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

using tavlin::testing::ProcessOutput;
using tavlin::testing::SelectionOwner;
using tavlin::testing::XSession;

void copyFolder(const QString& from, const QString& to) {
    QDirIterator files(from, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString file = files.next();
        const QString target = to + file.mid(from.size());
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::copy(file, target);
    }
}

// One line of the probe's state, read into its fields.
struct ProbeState {
    QString line;
    QString field(const QString& name) const {
        const QRegularExpression pattern(u"(?:^| )"_s + name + u"=(\\S+)"_s);
        return pattern.match(line).captured(1);
    }
    bool is(const QString& name) const { return field(name) == u"true"_s; }
    QRect geometry() const {
        const QStringList parts = field(u"geometry"_s).split(u',');
        if (parts.size() != 4) return {};
        return {parts[0].toInt(), parts[1].toInt(), parts[2].toInt(), parts[3].toInt()};
    }
};

class PanelX11Test : public ::testing::Test {
protected:
    void SetUp() override {
        const QString missing = XSession::missing();
        if (!missing.isEmpty()) GTEST_SKIP() << missing.toStdString();
        if (QStandardPaths::findExecutable(u"xev"_s).isEmpty()) GTEST_SKIP() << "xev not installed (x11-utils)";
        ASSERT_TRUE(session.start(XSession::WindowManager::openbox, u"1280x800x24"_s))
            << "Xvfb or openbox did not start";
        copyFolder(QStringLiteral(TAVLIN_FIXTURES) + u"/reminders"_s, folder.filePath(u"reminders"_s));
        // Another program's window, which has the focus.
        session.startClient(u"xev"_s, {u"-geometry"_s, u"300x200+50+50"_s, u"-name"_s, u"other"_s});
        ASSERT_TRUE(session.focusWindow(u"other"_s)) << "xev did not take the focus";
    }

    QString activeWindowName() const { return session.activeWindowName(); }

    // A probe with the settings of this test (shared by its probes), and
    // `environment` besides.
    void startProbe(const QStringList& arguments = {}, QProcessEnvironment environment = {}) {
        environment.insert(u"XDG_CONFIG_HOME"_s, folder.filePath(u"config"_s));
        stopProbe();
        probe = &session.startClient(QStringLiteral(PANEL_PROBE),
                                     QStringList{u"--reminders"_s, folder.filePath(u"reminders"_s)} + arguments,
                                     environment);
        output = std::make_unique<ProcessOutput>(*probe);
        ASSERT_TRUE(output->waitForLine(u"ready"_s)) << output->lines().join(u" | "_s).toStdString();
    }
    void stopProbe() {
        if (probe) tavlin::testing::stopProcess(*probe);
        probe = nullptr;
    }
    void command(const char* line) {
        probe->write(line);
        probe->write("\n");
        probe->waitForBytesWritten();
    }
    ProbeState state() {
        output->clear();
        command("state");
        return {output->waitForLineStartingWith(u"state "_s)};
    }
    // Asks for the state until it satisfies `done`; the last one.
    ProbeState stateWhen(const std::function<bool(const ProbeState&)>& done) {
        ProbeState last;
        waitFor([&] {
            last = state();
            return done(last);
        });
        return last;
    }
    static bool waitFor(const std::function<bool()>& done) {
        QElapsedTimer elapsed;
        elapsed.start();
        while (!done()) {
            if (elapsed.elapsed() > tavlin::testing::kXWaitMs) return false;
            QThread::msleep(50);
        }
        return true;
    }
    void xdotool(const QString& commands) { session.xdotool(commands.split(u' ')); }

    QTemporaryDir folder;
    XSession session;
    QProcess* probe = nullptr;
    std::unique_ptr<ProcessOutput> output;
};

// 1280 × 800 and no panels: home is 144 below the top (0.18 of 800),
// centred, as high as its content.
bool atScreenCentreHome(const QRect& geometry) {
    return geometry.topLeft() == QPoint(380, 144) && geometry.width() == 520 && geometry.height() > 0;
}

bool openAndActive(const ProbeState& s) { return s.is(u"open"_s) && s.is(u"key"_s) && s.is(u"active"_s); }

}  // namespace

TEST_F(PanelX11Test, TheHotKeyOpensThePanelActiveAndAClickElsewhereClosesIt) {
    startProbe();
    xdotool(u"key ctrl+alt+k"_s);
    const ProbeState opened = stateWhen(openAndActive);
    ASSERT_TRUE(openAndActive(opened)) << opened.line.toStdString();
    EXPECT_EQ(opened.field(u"anchor"_s), u"screenCenter"_s);
    EXPECT_TRUE(atScreenCentreHome(opened.geometry())) << opened.line.toStdString();
    EXPECT_EQ(activeWindowName(), u"panel_probe"_s);
    const QString window = opened.field(u"window"_s);
    EXPECT_EQ(session.run(u"xprop"_s, {u"-id"_s, window, u"_NET_WM_DESKTOP"_s}).trimmed(),
              u"_NET_WM_DESKTOP(CARDINAL) = 4294967295"_s);
    EXPECT_EQ(opened.field(u"translucent"_s), u"false"_s);
    const QString state = session.run(u"xprop"_s, {u"-id"_s, window, u"_NET_WM_STATE"_s});
    EXPECT_TRUE(state.contains(u"_NET_WM_STATE_SKIP_TASKBAR"_s) && state.contains(u"_NET_WM_STATE_SKIP_PAGER"_s))
        << state.toStdString();

    xdotool(u"mousemove 150 150 click 1"_s);
    const ProbeState closed = stateWhen([](const ProbeState& s) { return !s.is(u"open"_s); });
    EXPECT_FALSE(closed.is(u"open"_s)) << closed.line.toStdString();
    EXPECT_EQ(closed.field(u"resignKey"_s), u"1"_s);
    EXPECT_EQ(activeWindowName(), u"other"_s);
}

TEST_F(PanelX11Test, ABackgroundDragPinsThePanelWhereANewProbeOpensIt) {
    startProbe();
    xdotool(u"key ctrl+alt+k"_s);
    ASSERT_TRUE(openAndActive(stateWhen(openAndActive)));
    // By the footer: the list takes presses for its rows.
    xdotool(
        u"mousemove 400 418 mousedown 1 sleep 0.1 mousemove 420 438 sleep 0.1 mousemove 460 478 sleep 0.1 "
        u"mouseup 1"_s);
    const ProbeState pinned = stateWhen([](const ProbeState& s) { return s.field(u"pinned"_s) != u"none"_s; });
    EXPECT_EQ(pinned.field(u"pinned"_s), u"440,204"_s) << pinned.line.toStdString();
    EXPECT_TRUE(waitFor([&] { return state().geometry().topLeft() == QPoint(440, 204); }));
    const ProbeState dragged = state();
    EXPECT_TRUE(openAndActive(dragged));

    // Pinned, it stays on screen when another program takes the keyboard,
    // and the hot key gives the same window the keyboard again.
    xdotool(u"mousemove 150 150 click 1"_s);
    const ProbeState resting = stateWhen([](const ProbeState& s) { return !s.is(u"key"_s); });
    EXPECT_TRUE(resting.is(u"visible"_s)) << resting.line.toStdString();
    EXPECT_FALSE(resting.is(u"active"_s));
    EXPECT_EQ(activeWindowName(), u"other"_s);
    xdotool(u"key ctrl+alt+k"_s);
    const ProbeState again = stateWhen(openAndActive);
    EXPECT_TRUE(openAndActive(again)) << again.line.toStdString();
    EXPECT_EQ(again.field(u"window"_s), dragged.field(u"window"_s));

    startProbe();
    xdotool(u"key ctrl+alt+k"_s);
    const ProbeState reopened = stateWhen(openAndActive);
    EXPECT_EQ(reopened.geometry().topLeft(), QPoint(440, 204)) << reopened.line.toStdString();
    EXPECT_EQ(reopened.geometry().width(), 520);
}

TEST_F(PanelX11Test, WhereTheWindowManagerPutsThePanelItsFrameAndEdgesFollowWithoutPinningIt) {
    startProbe();
    xdotool(u"key ctrl+alt+k"_s);
    const ProbeState opened = stateWhen(openAndActive);
    ASSERT_TRUE(atScreenCentreHome(opened.geometry())) << opened.line.toStdString();
    // Moved behind the panel's back, as a window manager that places
    // windows itself does.
    xdotool(u"windowmove "_s + opened.field(u"window"_s) + u" 100 100"_s);
    const auto at100 = [](const ProbeState& s) { return s.field(u"frame"_s).startsWith(u"100,100,520,"_s); };
    const ProbeState moved = stateWhen(at100);
    ASSERT_TRUE(at100(moved)) << moved.line.toStdString();
    EXPECT_EQ(moved.geometry().topLeft(), QPoint(100, 100));
    EXPECT_EQ(moved.field(u"pinned"_s), u"none"_s);

    // Its left edge is where the window is now: a drag there widens it.
    xdotool(
        u"mousemove 103 150 mousedown 1 sleep 0.1 mousemove 83 150 sleep 0.1 mousemove 63 150 sleep 0.1 "
        u"mouseup 1"_s);
    const ProbeState widened = stateWhen([](const ProbeState& s) { return s.geometry().width() > 540; });
    EXPECT_GT(widened.geometry().width(), 540) << widened.line.toStdString();
    EXPECT_TRUE(openAndActive(widened)) << widened.line.toStdString();
}

TEST_F(PanelX11Test, ALongPressSendsAPinnedPanelHome) {
    startProbe();
    xdotool(u"key ctrl+alt+k"_s);
    ASSERT_TRUE(openAndActive(stateWhen(openAndActive)));
    xdotool(u"mousemove 400 418 mousedown 1 sleep 0.1 mousemove 460 478 sleep 0.1 mouseup 1"_s);
    ASSERT_EQ(stateWhen([](const ProbeState& s) { return s.field(u"pinned"_s) != u"none"_s; }).field(u"pinned"_s),
              u"440,204"_s);

    xdotool(u"mousemove 460 478 mousedown 1 sleep 0.9 mouseup 1"_s);
    const ProbeState home = stateWhen([](const ProbeState& s) { return atScreenCentreHome(s.geometry()); });
    EXPECT_EQ(home.field(u"pinned"_s), u"none"_s) << home.line.toStdString();
    EXPECT_TRUE(atScreenCentreHome(home.geometry()));
}

// While the modal notice of a missing tray is up, the hot key brings it to
// the front and opens no panel behind it; once it is answered the panel
// opens with the keyboard, and the hot key closes it again.
TEST_F(PanelX11Test, WhileTheTrayNoticeIsUpNoPanelOpensBehindItAndOnceAnsweredThePanelOpens) {
    startProbe({u"--tray-notice"_s});
    xdotool(u"key ctrl+alt+k"_s);
    ASSERT_TRUE(output->waitForLine(u"notice shown"_s)) << output->lines().join(u" | "_s).toStdString();
    ASSERT_TRUE(waitFor([&] { return activeWindowName() == u"No tray"_s; })) << activeWindowName().toStdString();
    xdotool(u"key ctrl+alt+k"_s);
    ASSERT_TRUE(output->waitForLine(u"notice raised"_s));
    EXPECT_FALSE(state().is(u"open"_s)) << "no panel behind the notice";
    EXPECT_EQ(activeWindowName(), u"No tray"_s);

    xdotool(u"key Return"_s);
    ASSERT_TRUE(output->waitForLine(u"notice answered"_s));
    const ProbeState opened = stateWhen(openAndActive);
    EXPECT_TRUE(openAndActive(opened)) << opened.line.toStdString();
    xdotool(u"key ctrl+alt+k"_s);
    const ProbeState closed = stateWhen([](const ProbeState& s) { return !s.is(u"open"_s); });
    EXPECT_FALSE(closed.is(u"open"_s)) << closed.line.toStdString();
}

TEST_F(PanelX11Test, ATrayItemAtTheBottomOfTheScreenPutsThePanelAboveIt) {
    startProbe({u"--status-rect"_s, u"600,780,24,20"_s});
    command("click");
    const ProbeState opened = stateWhen([](const ProbeState& s) { return s.is(u"open"_s); });
    EXPECT_EQ(opened.field(u"anchor"_s), u"statusItem"_s);
    // Its bottom 5 above the item's top; 440 wide, centred on the item.
    EXPECT_TRUE(waitFor([&] {
        const QRect geometry = state().geometry();
        return geometry.x() == 392 && geometry.width() == 440 && geometry.bottom() + 1 == 775;
    })) << state().line.toStdString();
}

TEST_F(PanelX11Test, WithACompositingManagerThePanelIsTranslucent) {
    const SelectionOwner compositor(session.display(), "_NET_WM_CM_S0");
    startProbe();
    xdotool(u"key ctrl+alt+k"_s);
    const ProbeState opened = stateWhen(openAndActive);
    EXPECT_EQ(opened.field(u"translucent"_s), u"true"_s) << opened.line.toStdString();
    const QString info = session.run(u"xwininfo"_s, {u"-id"_s, opened.field(u"window"_s)});
    EXPECT_TRUE(info.contains(u"Depth: 32"_s)) << info.toStdString();
}

TEST_F(PanelX11Test, TheHotKeyOpensThePanelWithTheFieldFocusedAndEscapeEmptiesItBeforeClosing) {
    startProbe();
    xdotool(u"key ctrl+alt+k"_s);
    const auto typing = [](const ProbeState& s) {
        return openAndActive(s) && s.field(u"focus"_s) == u"field"_s && s.is(u"fieldFocused"_s);
    };
    const ProbeState opened = stateWhen(typing);
    ASSERT_TRUE(typing(opened)) << opened.line.toStdString();

    xdotool(u"type abc"_s);
    const ProbeState typed = stateWhen([](const ProbeState& s) { return s.field(u"query"_s) == u"abc"_s; });
    EXPECT_EQ(typed.field(u"query"_s), u"abc"_s) << typed.line.toStdString();

    xdotool(u"key Escape"_s);
    const ProbeState emptied = stateWhen([](const ProbeState& s) { return s.line.endsWith(u" query="_s); });
    EXPECT_TRUE(emptied.line.endsWith(u" query="_s)) << emptied.line.toStdString();
    EXPECT_TRUE(typing(emptied)) << emptied.line.toStdString();

    xdotool(u"key Escape"_s);
    const ProbeState closed = stateWhen([](const ProbeState& s) { return !s.is(u"open"_s); });
    EXPECT_FALSE(closed.is(u"open"_s)) << closed.line.toStdString();
    EXPECT_EQ(activeWindowName(), u"other"_s);
}

namespace {

// The lists Groceries and Work (the fixtures' Work and Inbox, and a new
// Groceries folder), a reminder per given title in Groceries.
class PanelTypingTest : public PanelX11Test {
protected:
    void SetUp() override {
        PanelX11Test::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        QDir().mkpath(groceries());
        writeFile(groceries() + u"/displayname"_s, "Groceries");
    }

    QString groceries() const { return folder.filePath(u"reminders/groceries"_s); }

    static void writeFile(const QString& path, const QByteArray& contents) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }
    void addToGroceries(const QString& uid, const QString& title) {
        writeFile(
            groceries() + u'/' + uid + u".ics"_s,
            "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Tavlin//fixture//EN\r\nBEGIN:VTODO\r\nUID:" + uid.toUtf8() +
                "\r\nSUMMARY:" + title.toUtf8() + "\r\nSTATUS:NEEDS-ACTION\r\nEND:VTODO\r\nEND:VCALENDAR\r\n");
    }

    // The files of reminders under `root`, each with its summary.
    static QStringList summaries(const QString& root) {
        QStringList found;
        QDirIterator files(root, {u"*.ics"_s}, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            QFile file(files.next());
            if (!file.open(QIODevice::ReadOnly)) continue;
            const QRegularExpression summary(u"^SUMMARY:(.*)$"_s, QRegularExpression::MultilineOption);
            found << summary.match(QString::fromUtf8(file.readAll()).remove(u'\r')).captured(1);
        }
        found.sort();
        return found;
    }
    QStringList everySummary() const { return summaries(folder.filePath(u"reminders"_s)); }

    // The probe opened by the hot key, the field taking the keys.
    void openForTyping(const QProcessEnvironment& environment = {}) {
        startProbe({}, environment);
        xdotool(u"key ctrl+alt+k"_s);
        const ProbeState opened = stateWhen([](const ProbeState& s) {
            return openAndActive(s) && s.field(u"focus"_s) == u"field"_s && s.is(u"fieldFocused"_s);
        });
        ASSERT_TRUE(opened.is(u"fieldFocused"_s)) << opened.line.toStdString();
    }
    void typeLine(const QString& line) {
        session.xdotool({u"type"_s, u"--delay"_s, u"20"_s, line});
        const ProbeState typed = stateWhen([&](const ProbeState& s) { return s.line.endsWith(u" query="_s + line); });
        ASSERT_TRUE(typed.line.endsWith(u" query="_s + line)) << typed.line.toStdString();
    }
    QString added() {
        output->clear();
        command("added");
        return output->waitForLineStartingWith(u"added="_s).mid(6);
    }

    // What the shell does with a text captured from a selection.
    void capture(const char* text) { command((std::string("capture ") + text).c_str()); }
    // The probe's line about the capture, once it satisfies `done`.
    ProbeState candidatesWhen(const std::function<bool(const ProbeState&)>& done) {
        ProbeState last;
        waitFor([&] {
            output->clear();
            command("candidates");
            last = {output->waitForLineStartingWith(u"candidates "_s)};
            return done(last);
        });
        return last;
    }
    // The centre of candidate `index`'s plus on the screen.
    static QString plusOf(const ProbeState& candidates, int index) {
        return candidates.field(u"plus"_s).split(u';').value(index).replace(u',', u' ');
    }
};

}  // namespace

TEST_F(PanelTypingTest, TabTakesTheListOfferedAndReturnFilesTheLineThere) {
    openForTyping();
    typeLine(u"eggs #gro"_s);
    xdotool(u"key Tab"_s);
    const ProbeState tagged =
        stateWhen([](const ProbeState& s) { return s.line.endsWith(u" query=eggs #groceries "_s); });
    ASSERT_TRUE(tagged.line.endsWith(u" query=eggs #groceries "_s)) << tagged.line.toStdString();
    xdotool(u"key Return"_s);
    EXPECT_TRUE(waitFor([&] { return summaries(groceries()) == QStringList{u"eggs"_s}; }))
        << summaries(groceries()).join(u", "_s).toStdString();
    EXPECT_TRUE(state().line.endsWith(u" query="_s));
}

TEST_F(PanelTypingTest, ALineOfTwoTasksBecomesTwoRemindersInOrder) {
    openForTyping();
    typeLine(u"milk; bread"_s);
    xdotool(u"key Return"_s);
    EXPECT_TRUE(waitFor([&] { return added() == u"milk|bread"_s; })) << added().toStdString();
    EXPECT_TRUE(waitFor([&] { return everySummary().count(u"milk"_s) == 1 && everySummary().count(u"bread"_s) == 1; }))
        << everySummary().join(u", "_s).toStdString();
}

TEST_F(PanelTypingTest, ReturnAddsNothingThatMatchesAReminderAndCtrlReturnAddsItAnyway) {
    addToGroceries(u"fixture-milk"_s, u"milk"_s);
    openForTyping();
    typeLine(u"milk"_s);
    xdotool(u"key Return"_s);
    // Return was taken and did nothing: the line stays, no file comes.
    QThread::msleep(500);
    EXPECT_TRUE(state().line.endsWith(u" query=milk"_s));
    EXPECT_EQ(everySummary().count(u"milk"_s), 1);
    EXPECT_EQ(added(), u""_s);
    xdotool(u"key ctrl+Return"_s);
    EXPECT_TRUE(waitFor([&] { return everySummary().count(u"milk"_s) == 2; }))
        << everySummary().join(u", "_s).toStdString();
    EXPECT_EQ(added(), u"milk"_s);
}

TEST_F(PanelX11Test, TheDiagnosticsTellThePanelAndTypingIntoIt) {
    startProbe();
    command("activation t");
    const QString before = output->waitForLineStartingWith(u"[t] "_s);
    EXPECT_TRUE(before.startsWith(u"[t] panel: nil nsAppActive=false reallyActive=false frontmost="_s))
        << before.toStdString();
    EXPECT_TRUE(before.endsWith(u" responder=none resignKey=0 orphanPanels=0 "_s)) << before.toStdString();

    xdotool(u"key ctrl+alt+k"_s);
    const ProbeState opened =
        stateWhen([](const ProbeState& s) { return openAndActive(s) && s.is(u"fieldFocused"_s); });
    ASSERT_TRUE(opened.is(u"fieldFocused"_s)) << opened.line.toStdString();
    command("activation open");
    const QString active = output->waitForLineStartingWith(u"[open] "_s);
    EXPECT_TRUE(active.contains(u" nsAppActive=true reallyActive=true frontmost=Tavlin menuBar=Tavlin "_s))
        << active.toStdString();
    EXPECT_TRUE(active.contains(u" window="_s + opened.field(u"window"_s) + u' ')) << active.toStdString();

    command("typing");
    const QString keyboard = output->waitForLineStartingWith(u"keyboard: "_s);
    EXPECT_TRUE(keyboard.startsWith(u"keyboard: key=true reallyActive=true responder="_s)) << keyboard.toStdString();
    EXPECT_EQ(output->waitForLineStartingWith(u"typing: "_s), u"typing: before=\"\" after=\"hi\""_s);
    EXPECT_EQ(output->waitForLineStartingWith(u"menu equivalents "_s),
              u"menu equivalents via NSApp.sendEvent: field=\"pasted\""_s);
    EXPECT_TRUE(state().line.endsWith(u" query=pasted"_s));
}

TEST_F(PanelTypingTest, ACapturedTextShowsItsCandidatesAndReturnAddsThemAllInOrder) {
    startProbe();
    capture("milk\\neggs\\ncall the dentist");
    const auto found = [](const ProbeState& s) {
        return s.is(u"shown"_s) && s.field(u"count"_s) == u"3"_s && s.field(u"focused"_s) == u"0"_s;
    };
    const ProbeState shown = candidatesWhen(found);
    ASSERT_TRUE(found(shown)) << shown.line.toStdString();
    EXPECT_EQ(shown.field(u"add"_s), u"Add_3"_s);
    EXPECT_TRUE(shown.is(u"enabled"_s));
    EXPECT_TRUE(shown.line.endsWith(u" texts=milk|eggs|call the dentist"_s)) << shown.line.toStdString();
    const ProbeState opened = stateWhen(openAndActive);
    ASSERT_TRUE(openAndActive(opened)) << opened.line.toStdString();
    EXPECT_EQ(opened.field(u"anchor"_s), u"screenCenter"_s);

    xdotool(u"key Return"_s);
    EXPECT_TRUE(waitFor([&] { return added() == u"milk|eggs|call the dentist"_s; })) << added().toStdString();
    EXPECT_TRUE(waitFor([&] {
        return everySummary().count(u"milk"_s) == 1 && everySummary().count(u"eggs"_s) == 1 &&
               everySummary().count(u"call the dentist"_s) == 1;
    })) << everySummary().join(u", "_s).toStdString();
    const auto typing = [](const ProbeState& s) {
        return s.field(u"focus"_s) == u"field"_s && s.is(u"fieldFocused"_s);
    };
    const ProbeState back = stateWhen(typing);
    EXPECT_TRUE(typing(back)) << back.line.toStdString();
    EXPECT_FALSE(candidatesWhen([](const ProbeState& s) { return !s.is(u"shown"_s); }).is(u"shown"_s));
}

TEST_F(PanelTypingTest, ThePlusAddsOneCandidateAndEscapeClosesWithoutTheRest) {
    startProbe();
    capture("bread\\nbutter");
    const ProbeState shown = candidatesWhen([](const ProbeState& s) { return s.field(u"count"_s) == u"2"_s; });
    ASSERT_EQ(shown.field(u"count"_s), u"2"_s) << shown.line.toStdString();
    ASSERT_TRUE(openAndActive(stateWhen(openAndActive)));
    xdotool(u"mousemove "_s + plusOf(shown, 1) + u" click 1"_s);
    EXPECT_TRUE(waitFor([&] { return added() == u"butter"_s; })) << added().toStdString();
    const ProbeState left = candidatesWhen([](const ProbeState& s) { return s.field(u"count"_s) == u"1"_s; });
    EXPECT_TRUE(left.line.endsWith(u" texts=bread"_s)) << left.line.toStdString();

    xdotool(u"key Escape"_s);
    const ProbeState closed = stateWhen([](const ProbeState& s) { return !s.is(u"open"_s); });
    EXPECT_FALSE(closed.is(u"open"_s)) << closed.line.toStdString();
    QThread::msleep(300);
    EXPECT_EQ(added(), u"butter"_s);
    EXPECT_EQ(everySummary().count(u"butter"_s), 1);
    EXPECT_EQ(everySummary().count(u"bread"_s), 0);
}

TEST_F(PanelTypingTest, ALineThatMatchesNothingShowsItsCreateRowWithItsChips) {
    QProcessEnvironment environment;
    environment.insert(u"TZ"_s, u"Europe/Amsterdam"_s);
    environment.insert(u"LANG"_s, u"en_GB.UTF-8"_s);
    openForTyping(environment);
    typeLine(u"call mom tomorrow 17:00 !!"_s);
    // Left in the test's folder for a person to look at.
    const QString grab = QDir::current().absoluteFilePath(u"panel-create-row-x11.png"_s);
    QFile::remove(grab);
    const auto preview = [&] {
        output->clear();
        command(qPrintable(u"preview "_s + grab));
        return output->waitForLineStartingWith(u"preview "_s);
    };
    QString shown;
    EXPECT_TRUE(waitFor([&] {
        shown = preview();
        return shown == u"preview row=true chips=Tomorrow 17:00|!!"_s;
    })) << shown.toStdString();
    // Grabbed again once the window has taken the height of its content.
    QRect last;
    waitFor([&] {
        const QRect now = state().geometry();
        return std::exchange(last, now) == now;
    });
    preview();
    EXPECT_FALSE(QImage(grab).isNull()) << grab.toStdString();
}

// The list with eight reminders: three overdue, one later, four undated.
class PanelListX11Test : public PanelX11Test {
protected:
    void SetUp() override {
        PanelX11Test::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        addReminder(u"rent"_s, u"Pay the rent"_s, u"20200110"_s);
        addReminder(u"books"_s, u"Return the library books"_s, u"20200120"_s);
        addReminder(u"bins"_s, u"Put the bins out"_s, u"20200201"_s);
        addReminder(u"anna"_s, u"Call Anna"_s, {});
        addReminder(u"trip"_s, u"Plan the trip"_s, {});
    }
    void addReminder(const QString& uid, const QString& summary, const QString& due) {
        QFile file(folder.filePath(u"reminders/inbox/%1.ics"_s.arg(uid)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        QString text = u"BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Tavlin//fixture//EN\r\nBEGIN:VTODO\r\nUID:"_s +
                       uid + u"\r\nSUMMARY:"_s + summary + u"\r\n"_s;
        if (!due.isEmpty()) text += u"DUE;VALUE=DATE:"_s + due + u"\r\n"_s;
        text += u"STATUS:NEEDS-ACTION\r\nEND:VTODO\r\nEND:VCALENDAR\r\n"_s;
        file.write(text.toUtf8());
    }
    QStringList rows(const ProbeState& state) const { return state.field(u"rows"_s).split(u','); }
    // A point on the text of reminder `id`'s row, and the row's top.
    std::pair<QPoint, int> where(const QString& id) {
        output->clear();
        command(qPrintable(u"where "_s + id));
        const QStringList parts = output->waitForLineStartingWith(u"where "_s).split(u' ');
        if (parts.size() != 5) return {};
        return {QPoint(parts[2].toInt(), parts[3].toInt()), parts[4].toInt()};
    }
    void clickOn(const QString& id, const QString& modifier = {}) {
        const QPoint at = where(id).first;
        QString line = u"mousemove %1 %2 "_s.arg(at.x()).arg(at.y());
        line += modifier.isEmpty() ? u"click 1"_s : u"keydown %1 click 1 keyup %1"_s.arg(modifier);
        xdotool(line);
    }
    ProbeState opened() {
        startProbe();
        xdotool(u"key ctrl+alt+k"_s);
        return stateWhen([](const ProbeState& s) { return openAndActive(s) && s.field(u"rows"_s).count(u',') == 7; });
    }
};

TEST_F(PanelListX11Test, DownDownShiftDownSelectsTheSecondAndThirdRows) {
    ASSERT_EQ(rows(opened()).size(), 8);
    xdotool(u"key Down sleep 0.1 key Down sleep 0.1 key shift+Down"_s);
    const ProbeState moved = stateWhen([](const ProbeState& s) { return s.field(u"cursor"_s) == u"2"_s; });
    EXPECT_EQ(moved.field(u"cursor"_s), u"2"_s) << moved.line.toStdString();
    EXPECT_EQ(moved.field(u"selected"_s), u"1,2"_s);
    EXPECT_EQ(moved.field(u"focus"_s), u"list"_s);
}

TEST_F(PanelListX11Test, CtrlAndShiftClicksFollowTheSelectionRules) {
    const QStringList ids = rows(opened());
    ASSERT_EQ(ids.size(), 8);
    const auto selectedWhen = [&](const QString& selected) {
        return stateWhen([&](const ProbeState& s) { return s.field(u"selected"_s) == selected; });
    };
    clickOn(ids[0]);
    EXPECT_EQ(selectedWhen(u"0"_s).field(u"cursor"_s), u"0"_s);
    clickOn(ids[2], u"ctrl"_s);
    EXPECT_EQ(selectedWhen(u"0,2"_s).field(u"cursor"_s), u"2"_s);
    // From the anchor, 2, to 4.
    clickOn(ids[4], u"shift"_s);
    EXPECT_EQ(selectedWhen(u"2,3,4"_s).field(u"cursor"_s), u"4"_s);
    // Ctrl on the anchor takes it out; the cursor stays on 4.
    clickOn(ids[2], u"ctrl"_s);
    const ProbeState last = selectedWhen(u"3,4"_s);
    EXPECT_EQ(last.field(u"selected"_s), u"3,4"_s) << last.line.toStdString();
    EXPECT_EQ(last.field(u"cursor"_s), u"4"_s);
}

TEST_F(PanelListX11Test, ADragToTheTopOfASectionIsStoredAndKept) {
    const QStringList before = rows(opened());
    const QStringList overdue = before.mid(0, 3);
    ASSERT_EQ(QSet<QString>(overdue.begin(), overdue.end()), (QSet<QString>{u"rent"_s, u"books"_s, u"bins"_s}));
    const QPoint from = where(before[2]).first;
    const int top = where(before[0]).second;
    xdotool(u"mousemove %1 %2 mousedown 1 sleep 0.1 mousemove %1 %3 sleep 0.1 mousemove %1 %4 sleep 0.2 mouseup 1"_s
                .arg(from.x())
                .arg(from.y())
                .arg(from.y() - 20)
                .arg(top + 3));
    const QStringList expected = QStringList{before[2], before[0], before[1]} + before.mid(3);
    const ProbeState dragged = stateWhen([&](const ProbeState& s) { return rows(s) == expected; });
    EXPECT_EQ(rows(dragged), expected) << dragged.line.toStdString();
    EXPECT_EQ(dragged.field(u"selected"_s), u"0"_s);

    QFile stored(folder.filePath(u"config/Tavlin/settings.json"_s));
    ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
    const QJsonObject ranks =
        QJsonDocument::fromJson(stored.readAll()).object().value(u"manualOrderRanks"_s).toObject();
    EXPECT_EQ(ranks.value(before[2]).toDouble(-1), 0);
    EXPECT_EQ(ranks.value(before[0]).toDouble(-1), 1);
    EXPECT_EQ(ranks.value(before[1]).toDouble(-1), 2);

    // A new probe shows the same order.
    EXPECT_EQ(rows(opened()), expected);
}

// Acting on the reminders: completion, deletion and its undo, the inline edit.
class PanelActionsX11Test : public PanelListX11Test {
protected:
    QString file(const QString& uid) const { return folder.filePath(u"reminders/inbox/%1.ics"_s.arg(uid)); }
    QByteArray contents(const QString& uid) const {
        QFile read(file(uid));
        return read.open(QIODevice::ReadOnly) ? read.readAll() : QByteArray();
    }
    QString undo() {
        output->clear();
        command("undo");
        return output->waitForLineStartingWith(u"undo="_s).mid(5);
    }
};

TEST_F(PanelActionsX11Test, SpaceCompletesTheRowAFifthOfASecondLater) {
    const QStringList ids = rows(opened());
    ASSERT_EQ(ids.size(), 8);
    xdotool(u"key Down sleep 0.1 key space"_s);
    EXPECT_TRUE(waitFor([&] { return contents(ids[0]).contains("STATUS:COMPLETED"); })) << contents(ids[0]).data();
    EXPECT_TRUE(waitFor([&] { return undo() == u"Completed \u201CPay the rent\u201D"_s; })) << undo().toStdString();
    EXPECT_FALSE(rows(state()).contains(ids[0]));
}

TEST_F(PanelActionsX11Test, CtrlBackspaceHidesTheRowAndItsFileGoesWhenTheBarDoes) {
    const QStringList ids = rows(opened());
    ASSERT_EQ(ids.size(), 8);
    clickOn(ids[1]);
    ASSERT_EQ(stateWhen([](const ProbeState& s) { return s.field(u"selected"_s) == u"1"_s; }).field(u"selected"_s),
              u"1"_s);
    xdotool(u"key ctrl+BackSpace"_s);
    EXPECT_TRUE(waitFor([&] { return !rows(state()).contains(ids[1]); }));
    EXPECT_TRUE(QFile::exists(file(ids[1]))) << "kept while the deletion can be undone";
    EXPECT_EQ(undo(), u"Deleted \u201CReturn the library books\u201D"_s);
    EXPECT_TRUE(waitFor([&] { return !QFile::exists(file(ids[1])); }));
    EXPECT_TRUE(waitFor([&] { return undo() == u"none"_s; })) << "the bar goes with it";
}

TEST_F(PanelActionsX11Test, UndoWithinFiveSecondsKeepsTheFile) {
    const QStringList ids = rows(opened());
    ASSERT_EQ(ids.size(), 8);
    xdotool(u"key Down sleep 0.1 key ctrl+BackSpace"_s);
    EXPECT_TRUE(waitFor([&] { return !rows(state()).contains(ids[0]); }));
    output->clear();
    command("undo-button");
    const QStringList button = output->waitForLineStartingWith(u"undo-button "_s).split(u' ');
    ASSERT_EQ(button.size(), 3) << button.join(u' ').toStdString();
    xdotool(u"mousemove %1 %2 click 1"_s.arg(button[1], button[2]));
    EXPECT_TRUE(waitFor([&] { return rows(state()).contains(ids[0]); }));
    QThread::msleep(5500);
    EXPECT_TRUE(QFile::exists(file(ids[0])));
    EXPECT_TRUE(rows(state()).contains(ids[0]));
}

// The first click on Undo takes the completion back, and the keyboard goes
// to the field: a space typed then is text, not a completion of the row.
TEST_F(PanelActionsX11Test, TheFirstClickOnUndoTakesACompletionBackAndTheFieldGetsTheKeyboard) {
    const QStringList ids = rows(opened());
    ASSERT_EQ(ids.size(), 8);
    xdotool(u"key Down sleep 0.1 key space"_s);
    ASSERT_TRUE(waitFor([&] { return contents(ids[0]).contains("STATUS:COMPLETED"); }));
    ASSERT_TRUE(waitFor([&] { return undo() != u"none"_s; }));
    output->clear();
    command("undo-button");
    const QStringList button = output->waitForLineStartingWith(u"undo-button "_s).split(u' ');
    ASSERT_EQ(button.size(), 3) << button.join(u' ').toStdString();
    xdotool(u"mousemove %1 %2 click 1"_s.arg(button[1], button[2]));
    EXPECT_TRUE(waitFor([&] { return contents(ids[0]).contains("STATUS:NEEDS-ACTION"); })) << contents(ids[0]).data();
    const ProbeState after = stateWhen([&](const ProbeState& s) { return rows(s).contains(ids[0]); });
    EXPECT_TRUE(rows(after).contains(ids[0])) << after.line.toStdString();
    EXPECT_TRUE(waitFor([&] { return undo() == u"none"_s; })) << "the bar goes";
    const ProbeState focused = stateWhen([](const ProbeState& s) { return s.is(u"fieldFocused"_s); });
    EXPECT_TRUE(focused.is(u"fieldFocused"_s)) << focused.line.toStdString();
    EXPECT_EQ(focused.field(u"focus"_s), u"field"_s);
    session.xdotool({u"type"_s, u"--delay"_s, u"20"_s, u"x y"_s});
    const ProbeState typed = stateWhen([](const ProbeState& s) { return s.line.endsWith(u" query=x y"_s); });
    EXPECT_TRUE(typed.line.endsWith(u" query=x y"_s)) << typed.line.toStdString();
    EXPECT_TRUE(contents(ids[0]).contains("STATUS:NEEDS-ACTION")) << "the space went to the field";
}

TEST_F(PanelActionsX11Test, AnEditTypedInTheRowMovesTheReminderToTheListItNames) {
    const QStringList ids = rows(opened());
    ASSERT_EQ(ids.size(), 8);
    // Each key once the one before has done its part, however long that takes.
    xdotool(u"key Down"_s);
    ASSERT_EQ(stateWhen([](const ProbeState& s) { return s.field(u"cursor"_s) == u"0"_s; }).field(u"cursor"_s), u"0"_s);
    xdotool(u"key Return"_s);
    ASSERT_EQ(stateWhen([&](const ProbeState& s) { return s.field(u"editing"_s) == ids[0]; }).field(u"editing"_s),
              ids[0]);
    xdotool(u"key ctrl+a"_s);
    session.xdotool({u"type"_s, u"--delay"_s, u"20"_s, u"call the bank #wo"_s});
    // The first Return takes the list offered, the second saves.
    xdotool(u"sleep 0.2 key Return sleep 0.2 key Return"_s);
    const auto saved = [&] {
        QDirIterator files(folder.filePath(u"reminders/work"_s), {u"*.ics"_s}, QDir::Files);
        while (files.hasNext()) {
            QFile read(files.next());
            if (read.open(QIODevice::ReadOnly) && read.readAll().contains("SUMMARY:call the bank\r\n")) return true;
        }
        return false;
    };
    EXPECT_TRUE(waitFor(saved));
    EXPECT_FALSE(QFile::exists(file(ids[0]))) << "it moved to the Work list's folder";
    const ProbeState after = state();
    EXPECT_EQ(after.field(u"focus"_s), u"list"_s) << after.line.toStdString();
}
