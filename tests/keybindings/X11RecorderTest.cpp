// The recorder on a real X server with a window manager: Xvfb and openbox,
// started here, with clicks and key presses made by xdotool.

#include "support/Printers.h"
#include "support/XSession.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <nlohmann/json.hpp>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

using tavlin::testing::ProcessOutput;
using tavlin::testing::XSession;

class X11RecorderTest : public ::testing::Test {
protected:
    void SetUp() override {
        const QString missing = XSession::missing();
        if (!missing.isEmpty()) GTEST_SKIP() << missing.toStdString();
        ASSERT_TRUE(session_.start()) << "Xvfb or openbox did not start";
        ASSERT_TRUE(configHome_.isValid());
    }

    // A program of this session with the test's settings folder.
    QProcess& start(const QString& program, const QStringList& arguments = {}) {
        QProcessEnvironment environment;
        environment.insert(u"XDG_CONFIG_HOME"_s, configHome_.path());
        return session_.startClient(program, arguments, environment);
    }

    // The recorder's window is up: its field's centre.
    QStringList waitUntilReady(ProcessOutput& output) {
        const QString ready = output.waitForLineStartingWith(u"ready "_s);
        EXPECT_FALSE(ready.isEmpty()) << output.lines().join(u" | "_s).toStdString();
        return ready.split(u' ').mid(1);
    }

    // Not "mousemove --sync": it waits for ever when the pointer is there already.
    void click(const QStringList& point) {
        session_.xdotool({u"mousemove"_s, point.value(0), point.value(1)});
        session_.xdotool({u"click"_s, u"1"_s});
    }
    void key(const QString& keys) { session_.xdotool({u"key"_s, keys}); }

    nlohmann::json storedShortcut() const {
        QFile file(configHome_.filePath(u"Tavlin/settings.json"_s));
        if (!file.open(QIODevice::ReadOnly)) return nullptr;
        const QByteArray text = file.readAll();
        return nlohmann::json::parse(text.cbegin(), text.cend()).value("KeyBindings_togglePanel", nlohmann::json());
    }

    static std::string shown(const ProcessOutput& output) { return output.lines().join(u" | "_s).toStdString(); }

    QTemporaryDir configHome_;
    XSession session_;
};

}  // namespace

TEST_F(X11RecorderTest, AClickThenAShortcutStoresIt) {
    ProcessOutput output(start(QStringLiteral(RECORDER_PROBE)));
    const QStringList field = waitUntilReady(output);
    ASSERT_EQ(field.size(), 2);
    // Shown and active, the field does not record by itself.
    key(u"ctrl+shift+m"_s);

    click(field);
    ASSERT_TRUE(output.waitForLine(u"recording"_s)) << shown(output);
    key(u"ctrl+shift+l"_s);
    ASSERT_TRUE(output.waitForLine(u"stored 37 4608 ⌃⇧L"_s)) << shown(output);

    click(field);
    output.clear();
    ASSERT_TRUE(output.waitForLine(u"recording"_s)) << shown(output);
    key(u"F5"_s);
    ASSERT_TRUE(output.waitForLine(u"stored 96 0 F5"_s)) << shown(output);

    EXPECT_EQ(storedShortcut().dump(), R"({"carbonKeyCode":96,"carbonModifiers":0})");
    EXPECT_FALSE(output.lines().contains(u"stored 46 4608 ⌃⇧M"_s));
}

TEST_F(X11RecorderTest, AShortcutAnotherProgramHoldsIsStoredOnlyWhenForced) {
    // The hot key program holds ctrl+alt+k, in settings of its own.
    QTemporaryDir hotKeyHome;
    QProcessEnvironment hotKeyEnvironment;
    hotKeyEnvironment.insert(u"XDG_CONFIG_HOME"_s, hotKeyHome.path());
    ProcessOutput holder(session_.startClient(QStringLiteral(HOT_KEY_PROBE), {}, hotKeyEnvironment));
    ASSERT_TRUE(holder.waitForLine(u"ready"_s)) << shown(holder);

    QProcess& asking = start(QStringLiteral(RECORDER_PROBE));
    ProcessOutput output(asking);
    const QStringList field = waitUntilReady(output);
    click(field);
    ASSERT_TRUE(output.waitForLine(u"recording"_s)) << shown(output);
    key(u"ctrl+alt+k"_s);
    ASSERT_TRUE(output.waitForLine(u"alert Another program or the desktop already uses this shortcut."_s))
        << shown(output);
    output.clear();
    key(u"Return"_s);
    ASSERT_TRUE(output.waitForLine(u"recording"_s)) << "recording again after the alert: " << shown(output);
    EXPECT_TRUE(storedShortcut().is_null());
    tavlin::testing::stopProcess(asking);

    ProcessOutput forcing(start(QStringLiteral(RECORDER_PROBE), {u"--force"_s}));
    click(waitUntilReady(forcing));
    ASSERT_TRUE(forcing.waitForLine(u"recording"_s)) << shown(forcing);
    key(u"ctrl+alt+k"_s);
    ASSERT_TRUE(forcing.waitForLine(u"stored 40 6144 ⌃⌥K"_s)) << shown(forcing);
    EXPECT_TRUE(forcing.lines().contains(u"Error registering hotkey ⌃⌥K: 10"_s)) << "the grab is refused";
    EXPECT_EQ(storedShortcut().dump(), R"({"carbonKeyCode":40,"carbonModifiers":6144})");
    EXPECT_EQ(holder.lines(), QStringList{u"ready"_s}) << "the holder saw none of it";
}
