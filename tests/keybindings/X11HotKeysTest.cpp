// The hot keys on a real X server: Xvfb, started here, with key presses
// made by xdotool.

#include "support/Printers.h"
#include "support/XSession.h"

#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <nlohmann/json.hpp>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

using tavlin::testing::ProcessOutput;
using tavlin::testing::XSession;

class X11HotKeysTest : public ::testing::Test {
protected:
    void SetUp() override {
        const QString missing = XSession::missing(XSession::WindowManager::none);
        if (!missing.isEmpty()) GTEST_SKIP() << missing.toStdString();
        ASSERT_TRUE(session_.start(XSession::WindowManager::none, u"640x480x24"_s)) << "Xvfb did not start";
    }

    // A probe with its own settings folder.
    QProcess& startProbe(const QStringList& arguments = {}) {
        auto configHome = std::make_unique<QTemporaryDir>();
        QProcessEnvironment environment;
        environment.insert(u"XDG_CONFIG_HOME"_s, configHome->path());
        configHomes_.push_back(std::move(configHome));
        return session_.startClient(QStringLiteral(HOT_KEY_PROBE), arguments, environment);
    }
    QString settingsFile(int probe) const { return configHomes_[probe]->filePath(u"Tavlin/settings.json"_s); }

    void xdotool(const QStringList& arguments) { session_.xdotool(arguments); }

private:
    std::vector<std::unique_ptr<QTemporaryDir>> configHomes_;  // outlive the probes that write in them
    XSession session_;
};

}  // namespace

TEST_F(X11HotKeysTest, AHotKeyFiresOnceOnPressAndOnceOnRelease) {
    struct Case {
        const char* name;
        std::vector<QStringList> commands;
    };
    const Case cases[] = {
        {"the key let go first", {{u"keydown"_s, u"ctrl+alt+k"_s}, {u"keyup"_s, u"k"_s}, {u"keyup"_s, u"ctrl+alt"_s}}},
        {"the modifiers let go first",
         {{u"keydown"_s, u"ctrl+alt+k"_s}, {u"keyup"_s, u"ctrl+alt"_s}, {u"keyup"_s, u"k"_s}}},
        {"with Num Lock on",
         {{u"key"_s, u"Num_Lock"_s},
          {u"keydown"_s, u"ctrl+alt+k"_s},
          {u"keyup"_s, u"k"_s},
          {u"keyup"_s, u"ctrl+alt"_s},
          {u"key"_s, u"Num_Lock"_s}}},
        {"with Caps Lock on",
         {{u"key"_s, u"Caps_Lock"_s},
          {u"keydown"_s, u"ctrl+alt+k"_s},
          {u"keyup"_s, u"k"_s},
          {u"keyup"_s, u"ctrl+alt"_s},
          {u"key"_s, u"Caps_Lock"_s}}},
    };
    QProcess& probe = startProbe();
    ProcessOutput output(probe);
    ASSERT_TRUE(output.waitForLine(u"ready"_s));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        output.clear();
        for (const QStringList& command : c.commands) xdotool(command);
        ASSERT_TRUE(output.waitForLine(u"up"_s)) << output.lines().join(u" | "_s).toStdString();
        EXPECT_EQ(output.lines(), (QStringList{u"down"_s, u"up"_s}));
    }
}

TEST_F(X11HotKeysTest, AGrabAnotherProgramHoldsIsARefusedRegistration) {
    ProcessOutput first(startProbe());
    ASSERT_TRUE(first.waitForLine(u"ready"_s));
    ProcessOutput second(startProbe());
    ASSERT_TRUE(second.waitForLine(u"ready"_s));
    EXPECT_EQ(second.lines(), (QStringList{u"Error registering hotkey ⌃⌥K: 10"_s, u"ready"_s}));
    EXPECT_EQ(first.lines(), QStringList{u"ready"_s});

    QFile settings(settingsFile(0));
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    const QByteArray text = settings.readAll();
    const nlohmann::json stored = nlohmann::json::parse(text.cbegin(), text.cend());
    EXPECT_EQ(stored.at("KeyBindings_togglePanel").dump(), R"({"carbonKeyCode":40,"carbonModifiers":6144})");
}

TEST_F(X11HotKeysTest, AnOpenMenuDoesNotStopTheHotKey) {
    QProcess& probe = startProbe({u"--menu"_s});
    ProcessOutput output(probe);
    ASSERT_TRUE(output.waitForLine(u"ready"_s)) << output.lines().join(u" | "_s).toStdString();
    output.clear();
    xdotool({u"keydown"_s, u"ctrl+shift+k"_s});
    xdotool({u"keyup"_s, u"ctrl+shift"_s});
    xdotool({u"keyup"_s, u"k"_s});
    ASSERT_TRUE(output.waitForLine(u"up"_s)) << output.lines().join(u" | "_s).toStdString();
    EXPECT_EQ(output.lines(), (QStringList{u"down"_s, u"up"_s}));
}
