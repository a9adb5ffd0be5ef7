// The shortcut field on a real X server with a window manager, keys and
// clicks made by xdotool.

#include "support/TestFiles.h"
#include "support/XSession.h"

#include <gtest/gtest.h>
#include <QProcess>
#include <QTemporaryDir>

#include <nlohmann/json.hpp>

using tavlin::testing::ProcessOutput;
using tavlin::testing::XSession;
using namespace Qt::StringLiterals;

namespace {

class ShortcutFieldX11Test : public ::testing::Test {
protected:
    void SetUp() override {
        const QString missing = XSession::missing();
        if (!missing.isEmpty()) GTEST_SKIP() << missing.toStdString();
        ASSERT_TRUE(session.start(XSession::WindowManager::openbox, u"800x600x24"_s)) << "Xvfb did not start";
    }

    std::string stored() const {
        const QByteArray text = readTestFile(configHome.filePath(u"Tavlin/settings.json"_s));
        const nlohmann::json settings = nlohmann::json::parse(text.cbegin(), text.cend(), nullptr, false);
        return settings.is_object() && settings.contains("KeyBindings_togglePanel")
                   ? settings.at("KeyBindings_togglePanel").dump()
                   : std::string();
    }

    QTemporaryDir configHome;  // outlives the probe that writes in it
    XSession session;
};

}  // namespace

TEST_F(ShortcutFieldX11Test, ClickThenPressRecordsTheShortcut) {
    QProcessEnvironment environment;
    environment.insert(u"XDG_CONFIG_HOME"_s, configHome.path());
    QProcess& probe = session.startClient(QStringLiteral(SHORTCUT_FIELD_PROBE), {}, environment);
    ProcessOutput output(probe);
    const QStringList ready = output.waitForLineStartingWith(u"ready "_s).split(u' ');
    ASSERT_EQ(ready.size(), 3) << output.lines().join(u" | "_s).toStdString()
                               << probe.readAllStandardError().toStdString();
    const auto click = [&] {
        output.clear();
        session.xdotool({u"mousemove"_s, ready[1], ready[2], u"click"_s, u"1"_s});
        return output.waitForLine(u"text Press shortcut…"_s);
    };

    ASSERT_TRUE(click()) << output.lines().join(u" | "_s).toStdString();
    session.xdotool({u"key"_s, u"ctrl+shift+space"_s});
    ASSERT_TRUE(output.waitForLine(u"text ⌃⇧Space"_s)) << output.lines().join(u" | "_s).toStdString();
    EXPECT_EQ(stored(), R"({"carbonKeyCode":49,"carbonModifiers":4608})");

    // Now grabbed as a hot key; recording releases it, so it could be
    // pressed again, and the keys of a combination come one by one.
    ASSERT_TRUE(click()) << output.lines().join(u" | "_s).toStdString();
    for (const QString& key : {u"ctrl"_s, u"alt"_s, u"k"_s}) session.xdotool({u"keydown"_s, key});
    for (const QString& key : {u"k"_s, u"alt"_s, u"ctrl"_s}) session.xdotool({u"keyup"_s, key});
    ASSERT_TRUE(output.waitForLine(u"text ⌃⌥K"_s)) << output.lines().join(u" | "_s).toStdString();
    EXPECT_EQ(stored(), R"({"carbonKeyCode":40,"carbonModifiers":6144})");
    EXPECT_FALSE(output.lines().contains(u"beep"_s)) << output.lines().join(u" | "_s).toStdString();
}

// Another program grabbed ctrl+alt+k: pressed while recording, the
// combination still reaches the field, which says it is taken and stores
// nothing.
TEST_F(ShortcutFieldX11Test, ACombinationAnotherProgramGrabbedIsNamedAsTaken) {
    QTemporaryDir otherConfig;
    QProcessEnvironment otherEnvironment;
    otherEnvironment.insert(u"XDG_CONFIG_HOME"_s, otherConfig.path());
    QProcess& other = session.startClient(QStringLiteral(HOT_KEY_PROBE), {}, otherEnvironment);
    ProcessOutput otherOutput(other);
    ASSERT_TRUE(otherOutput.waitForLine(u"ready"_s)) << other.readAllStandardError().toStdString();

    QProcessEnvironment environment;
    environment.insert(u"XDG_CONFIG_HOME"_s, configHome.path());
    QProcess& probe = session.startClient(QStringLiteral(SHORTCUT_FIELD_PROBE), {}, environment);
    ProcessOutput output(probe);
    const QStringList ready = output.waitForLineStartingWith(u"ready "_s).split(u' ');
    ASSERT_EQ(ready.size(), 3) << output.lines().join(u" | "_s).toStdString();
    session.xdotool({u"mousemove"_s, ready[1], ready[2], u"click"_s, u"1"_s});
    ASSERT_TRUE(output.waitForLine(u"text Press shortcut…"_s)) << output.lines().join(u" | "_s).toStdString();

    session.xdotool({u"key"_s, u"ctrl+alt+k"_s});
    EXPECT_TRUE(output.waitForLine(u"taken ⌃⌥K: Another program or the desktop already uses this shortcut."_s))
        << output.lines().join(u" | "_s).toStdString();
    EXPECT_EQ(stored(), std::string()) << "nothing stored";
    EXPECT_FALSE(otherOutput.lines().contains(u"down"_s)) << "the field held the keyboard";
}
