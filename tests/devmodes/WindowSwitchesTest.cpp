// --front-test and --preferences-test inside the process, offscreen: the
// windows they show and report, on a manual clock, with another program's
// taking of the activation played by the test.

#include "devmodes/FrontTest.h"
#include "devmodes/PreferencesTest.h"

#include "PanelDriverFake.h"
#include "ScenarioFixture.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QMainWindow>
#include <QToolBar>
#include <QWindow>

#include <memory>

using namespace Qt::StringLiterals;
using namespace tavlin::devmodes;

namespace {

const QString listingHeader = u"window-server z-order (front to back, layer 0 + all Tavlin):"_s;

class WindowSwitchesTest : public ScenarioFixture {
protected:
    void TearDown() override {
        for (QWidget* widget : QApplication::topLevelWidgets()) delete widget;
    }

    // Another program takes the activation: here, no one does.
    std::function<tavlin::platform::Task<>()> handOver() {
        return [this]() -> tavlin::platform::Task<> {
            printLine(u"<hand over>"_s);
            ++handOvers;
            co_return;
        };
    }

    int handOvers = 0;
    PanelDriverFake panel;
};

// A window like the settings window: its toolbar carries the name.
class SettingsWindow : public QMainWindow {
public:
    SettingsWindow() {
        auto* toolbar = new QToolBar(this);
        toolbar->setObjectName(u"tavlin-settings-tabs"_s);
        addToolBar(toolbar);
        setWindowTitle(u"General"_s);
        setGeometry(300, 100, 460, 400);
    }
};

}  // namespace

TEST_F(WindowSwitchesTest, FrontTestShowsRaisesAndLiftsItsWindow) {
    ASSERT_TRUE(run(frontTest(handOver())));
    EXPECT_EQ(handOvers, 2);
    const QString listed = u"  0: Tavlin “Tavlin FrontTest” layer=0"_s;
    expectLines(output.lines, {
                                  u"<hand over>"_s,
                                  u"Tavlin active=<any> frontmost=?"_s,
                                  u"after makeKeyAndOrderFront (active=true key=true):"_s,
                                  listingHeader,
                                  listed,
                                  u"after orderFrontRegardless (active=true key=true):"_s,
                                  listingHeader,
                                  listed,
                                  u"<hand over>"_s,
                                  u"after another app takes the front (active=true):"_s,
                                  listingHeader,
                                  listed,
                                  u"after level = .floating (active=true key=true):"_s,
                                  listingHeader,
                                  u"  0: Tavlin “Tavlin FrontTest” layer=3"_s,
                              });
    EXPECT_EQ(output.terminated, QList<qsizetype>{output.lines.size()});

    // The window stays, shown and above the others, client area as asked.
    QWidget* window = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->windowTitle() == u"Tavlin FrontTest"_s) window = widget;
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->geometry(), QRect(200, 200, 400, 300));
    EXPECT_TRUE(window->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST_F(WindowSwitchesTest, PreferencesTestReportsEveryWindowAfterEachShowing) {
    SettingsWindow settings;
    int asked = 0;
    PreferencesTestServices services{
        .askContactsAuthorization = [&] { ++asked; },
        .showPreferences =
            [&] {
                settings.show();
                settings.activateWindow();
            },
        .activateApplication = [&] { settings.activateWindow(); },
        .handOver = handOver(),
        .panel = panel.driver(),
    };
    // Bare words only: "--twice" is not "twice".
    ASSERT_TRUE(run(preferencesTest(
        {u"tavlin"_s, u"--preferences-test"_s, u"twice"_s, u"via-panel"_s, u"steal"_s, u"--via-finder"_s}, services)));
    EXPECT_EQ(asked, 1);
    const QStringList pass = {
        u"show(): <any> seconds"_s,
        u"<hand over>"_s,
        u"Tavlin active=true frontmost=?"_s,
        u"windows: 1"_s,
        // The frame with its decoration, 2 wide offscreen.
        u"  “General” visible=true key=true level=0 frame=(298.0, 98.0, 464.0, 404.0)"_s,
        listingHeader,
        u"  0: Tavlin “General” layer=0"_s,
    };
    expectLines(output.lines,
                QStringList{
                    u"ContactPlaces.isAuthorized: <any> seconds"_s,
                    u"<open - ->"_s,
                    u"panel open, now closing then showing settings"_s,
                    u"<close>"_s,
                } + pass +
                    pass +
                    QStringList{
                        u"after regaining activation: key=true level=0"_s,
                        u"after close: visible=false level=0"_s,
                    });
    EXPECT_FALSE(settings.isVisible());
    EXPECT_EQ(output.terminated, QList<qsizetype>{output.lines.size()});
}

TEST_F(WindowSwitchesTest, PreferencesTestHandsTheActivationOverBeforeEachPass) {
    SettingsWindow settings;
    PreferencesTestServices services{
        .askContactsAuthorization = [] {},
        .showPreferences = [&] { settings.show(); },
        .activateApplication = [] {},
        .handOver = handOver(),
        .panel = panel.driver(),
    };
    ASSERT_TRUE(run(preferencesTest({u"via-finder"_s}, services)));
    expectLines(output.lines.mid(0, 4), {
                                            u"ContactPlaces.isAuthorized: <any> seconds"_s,
                                            u"<hand over>"_s,
                                            u"— round 1: handed activation to ?, Tavlin active=<any>"_s,
                                            u"show(): <any> seconds"_s,
                                        });
    // Without "steal" nothing follows the listing; the window stays.
    EXPECT_EQ(output.lines.last(), u"  0: Tavlin “General” layer=0"_s);
    EXPECT_TRUE(settings.isVisible());
}
