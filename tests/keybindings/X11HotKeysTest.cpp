// The hot keys on a real X server: Xvfb, started here, with key presses
// made by xdotool.

#include "support/Printers.h"

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

constexpr int kWaitMs = 10000;

// Reads a process's standard output as it comes.
class Output {
public:
    explicit Output(QProcess& process) : process_(process) {}

    // Waits until the output holds `line` as a whole line.
    bool waitForLine(const QString& line) {
        QElapsedTimer elapsed;
        elapsed.start();
        while (!lines().contains(line)) {
            if (elapsed.elapsed() > kWaitMs || process_.state() == QProcess::NotRunning) return false;
            process_.waitForReadyRead(50);
            text_ += QString::fromUtf8(process_.readAllStandardOutput());
        }
        return true;
    }
    QStringList lines() const { return text_.split(u'\n', Qt::SkipEmptyParts); }
    void clear() { text_.clear(); }

private:
    QProcess& process_;
    QString text_;
};

class X11HotKeysTest : public ::testing::Test {
protected:
    void SetUp() override {
        const QString xvfb = QStandardPaths::findExecutable(u"Xvfb"_s);
        const QString xdotool = QStandardPaths::findExecutable(u"xdotool"_s);
        if (xvfb.isEmpty() || xdotool.isEmpty())
            GTEST_SKIP() << "Xvfb or xdotool is not installed; scripts/install-deps installs both";
        // Xvfb picks a free display and writes its number to standard output.
        server_.start(xvfb, {u"-displayfd"_s, u"1"_s, u"-nolisten"_s, u"tcp"_s, u"-screen"_s, u"0"_s, u"640x480x24"_s});
        ASSERT_TRUE(server_.waitForStarted());
        QElapsedTimer elapsed;
        elapsed.start();
        while (display_.isEmpty() && elapsed.elapsed() < kWaitMs) {
            server_.waitForReadyRead(50);
            display_ = u":"_s + QString::fromUtf8(server_.readAllStandardOutput()).trimmed();
            if (display_ == u":"_s) display_.clear();
        }
        ASSERT_FALSE(display_.isEmpty()) << "Xvfb did not start";
    }

    void TearDown() override {
        for (auto& probe : probes_) stop(*probe);
        stop(server_);
    }

    // A probe with its own settings folder.
    QProcess& startProbe(const QStringList& arguments = {}) {
        auto configHome = std::make_unique<QTemporaryDir>();
        auto probe = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"DISPLAY"_s, display_);
        environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        environment.insert(u"XDG_CONFIG_HOME"_s, configHome->path());
        probe->setProcessEnvironment(environment);
        probe->start(QStringLiteral(HOT_KEY_PROBE), arguments);
        configHomes_.push_back(std::move(configHome));
        probes_.push_back(std::move(probe));
        return *probes_.back();
    }
    QString settingsFile(int probe) const { return configHomes_[probe]->filePath(u"Tavlin/settings.json"_s); }

    void xdotool(const QStringList& arguments) {
        QProcess tool;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"DISPLAY"_s, display_);
        tool.setProcessEnvironment(environment);
        tool.start(u"xdotool"_s, arguments);
        ASSERT_TRUE(tool.waitForFinished(kWaitMs));
        ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    }

private:
    static void stop(QProcess& process) {
        if (process.state() == QProcess::NotRunning) return;
        process.terminate();
        if (!process.waitForFinished(3000)) {
            process.kill();
            process.waitForFinished();
        }
    }

    QProcess server_;
    QString display_;
    std::vector<std::unique_ptr<QTemporaryDir>> configHomes_;
    std::vector<std::unique_ptr<QProcess>> probes_;
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
    Output output(probe);
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
    Output first(startProbe());
    ASSERT_TRUE(first.waitForLine(u"ready"_s));
    Output second(startProbe());
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
    Output output(probe);
    ASSERT_TRUE(output.waitForLine(u"ready"_s)) << output.lines().join(u" | "_s).toStdString();
    output.clear();
    xdotool({u"keydown"_s, u"ctrl+shift+k"_s});
    xdotool({u"keyup"_s, u"ctrl+shift"_s});
    xdotool({u"keyup"_s, u"k"_s});
    ASSERT_TRUE(output.waitForLine(u"up"_s)) << output.lines().join(u" | "_s).toStdString();
    EXPECT_EQ(output.lines(), (QStringList{u"down"_s, u"up"_s}));
}
