// The panel and window switches inside the process: what the command line
// asks for, and each scenario's reports, actions, waits and end over a
// panel that notes what it is asked, on a manual clock.

#include "devmodes/CaptureTimingTests.h"
#include "devmodes/DeveloperSwitches.h"
#include "devmodes/PanelFocusTests.h"
#include "devmodes/PanelOpenTiming.h"
#include "devmodes/PreferencesTest.h"
#include "devmodes/SharedRoutines.h"

#include "PanelDriverFake.h"
#include "ScenarioFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using namespace tavlin::devmodes;
using tavlin::platform::WindowRecord;

TEST(PanelSwitchArguments, TheNumbersReadFromTheCommandLine) {
    struct Case {
        QString word;
        std::optional<double> seconds;
        std::optional<int> whole;
    };
    const Case cases[] = {
        {u"2"_s, 2.0, 2},
        {u"0.5"_s, 0.5, std::nullopt},
        {u"2.5"_s, 2.5, std::nullopt},
        {u"0"_s, 0.0, 0},
        {u"-3"_s, std::nullopt, -3},
        {u"1e3"_s, 1000.0, std::nullopt},
        // Waits that would never end or trap are no waits at all.
        {u"inf"_s, std::nullopt, std::nullopt},
        {u"nan"_s, std::nullopt, std::nullopt},
        {u"1e400"_s, std::nullopt, std::nullopt},
        {u"-0.5"_s, std::nullopt, std::nullopt},
        {u"soon"_s, std::nullopt, std::nullopt},
        {QString(), std::nullopt, std::nullopt},
        {u"99999999999"_s, 99999999999.0, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(secondsValue(c.word), c.seconds) << c.word.toStdString();
        EXPECT_EQ(wholeNumber(c.word), c.whole) << c.word.toStdString();
    }
}

TEST(PanelSwitchArguments, WhatEachSwitchReadsAfterItself) {
    const auto read = [](QStringList arguments) {
        arguments.prepend(u"tavlin"_s);
        return readPanelSwitches(arguments);
    };
    EXPECT_FALSE(read({}).capture);
    EXPECT_FALSE(read({}).focusTest);
    EXPECT_FALSE(read({}).serviceWatch);

    // A required text missing: the switch does nothing.
    EXPECT_FALSE(read({u"--capture"_s}).capture);
    const auto capture = read({u"--capture"_s, u"milk"_s, u"nan"_s}).capture;
    ASSERT_TRUE(capture);
    EXPECT_EQ(capture->text, u"milk"_s);
    EXPECT_EQ(capture->seconds, 1.0);
    EXPECT_EQ(read({u"--capture"_s, u"milk"_s, u"0.25"_s}).capture->seconds, 0.25);

    // An optional argument is the next one, whatever it is; that switch runs too.
    const PanelSwitches chained = read({u"--focus-test"_s, u"--front-test"_s});
    ASSERT_TRUE(chained.focusTest);
    EXPECT_EQ(chained.focusTest->mode, u"--front-test"_s);
    EXPECT_EQ(chained.focusTest->seconds, 3.0);
    EXPECT_TRUE(chained.frontTest);
    EXPECT_EQ(read({u"--focus-test"_s}).focusTest->mode, u"plain"_s);
    EXPECT_EQ(read({u"--focus-test"_s, u"capture"_s, u"inf"_s}).focusTest->seconds, 3.0);
    EXPECT_EQ(read({u"--ghost-test"_s}).ghostTest, u"open"_s);
    EXPECT_EQ(read({u"--ghost-test"_s, u"--ghost-test"_s, u"race"_s}).ghostTest, u"--ghost-test"_s);

    EXPECT_EQ(read({u"--service-watch"_s}).serviceWatch, 60);
    EXPECT_EQ(read({u"--service-watch"_s, u"2.5"_s}).serviceWatch, 60);
    EXPECT_EQ(read({u"--service-watch"_s, u"2"_s}).serviceWatch, 2);
    EXPECT_EQ(read({u"--service-watch"_s, u"0"_s}).serviceWatch, 0);

    const PanelSwitches members = read(
        {u"--open-panel"_s, u"--edit-focus-test"_s, u"--preferences-test"_s, u"--open-timing"_s, u"--open-loop"_s});
    EXPECT_TRUE(members.openPanel && members.editFocusTest && members.preferencesTest && members.openTiming &&
                members.openLoop);
    EXPECT_FALSE(members.frontTest);
}

namespace {

class PanelSwitchesTest : public ScenarioFixture {
protected:
    PanelDriverFake panel;
};

}  // namespace

TEST_F(PanelSwitchesTest, EditFocusTestSendsTheListKeysThenEscape) {
    ASSERT_TRUE(run(editFocusTest(panel.driver())));
    EXPECT_EQ(output.lines, (QStringList{
                                u"<open - ->"_s,
                                u"[opened] @3.0"_s,
                                u"<list 1>"_s,
                                u"[after-down] @3.4"_s,
                                u"<list 5>"_s,
                                // The three waits follow each other.
                                u"[after-return+100ms] @3.5"_s,
                                u"[after-return+400ms] @3.9"_s,
                                u"[after-return+1000ms] @4.9"_s,
                                u"<escape>"_s,
                                u"[after-escape] @5.2"_s,
                                u"<close>"_s,
                            }));
    EXPECT_EQ(output.terminated, QList<qsizetype>{11});
    EXPECT_EQ(output.flushes.last(), 11);
}

TEST_F(PanelSwitchesTest, FocusTestOpensACaptureOrThePlainPanel) {
    ASSERT_TRUE(run(focusTest(u"capture"_s, 0.5, panel.driver())));
    const QStringList captured = output.lines;
    EXPECT_EQ(captured, (QStringList{
                            u"[before-open] @0.5"_s,
                            u"<close>"_s,
                            u"<open milk|eggs|call the dentist statusItem>"_s,
                            u"[just-opened] @0.5"_s,
                            u"[settled] @1.1"_s,
                            u"<type and report>"_s,
                            u"[after-keyboard] @2.1"_s,
                            u"<escape>"_s,
                            u"[after-escape-1] @2.5"_s,
                            u"<escape>"_s,
                            u"[after-escape-2] @2.9"_s,
                            u"frontmost after escape: ?"_s,
                        }));
    EXPECT_EQ(focusTestCaptureText.size(), 26);
    EXPECT_EQ(output.terminated, QList<qsizetype>{12});

    // Any other word is the plain panel: no close, no text, the anchor kept.
    output.lines.clear();
    panel.start = tavlin::platform::Clock::main().now();
    ASSERT_TRUE(run(focusTest(u"Capture"_s, 3.0, panel.driver())));
    EXPECT_EQ(output.lines.mid(0, 3), (QStringList{u"[before-open] @3.0"_s, u"<open - ->"_s, u"[just-opened] @3.0"_s}));
    EXPECT_EQ(output.lines.size(), 11);
}

TEST_F(PanelSwitchesTest, GhostTestOpensTheFileManagerBeforeOrAfterThePanel) {
    struct Case {
        QString mode;
        QStringList before;  // up to the first of the five reports
    };
    const Case cases[] = {
        {u"open"_s, {u"<open - ->"_s, u"[after-open] @1.4"_s, u"<reminders app>"_s}},
        {u"race"_s, {u"<reminders app>"_s, u"<open - ->"_s, u"[after-open] @1.4"_s}},
        {u"url"_s, {u"<open - ->"_s, u"[after-open] @1.4"_s, u"<reminders app>"_s, u"<close>"_s}},
        {u"%1 odd"_s, {u"<open - ->"_s, u"[after-open] @1.4"_s, u"<reminders app>"_s}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode.toStdString());
        output.lines.clear();
        output.terminated.clear();
        panel.start = tavlin::platform::Clock::main().now();
        ASSERT_TRUE(run(ghostTest(c.mode, panel.driver(), [] { printLine(u"<reminders app>"_s); })));
        QStringList expected = c.before;
        for (int second = 1; second <= 5; ++second)
            expected << u'[' + c.mode + u'-' + QString::number(second) + u"s] @"_s + QString::number(1 + second) +
                            u".4"_s;
        EXPECT_EQ(output.lines, expected);
        EXPECT_EQ(output.terminated, QList<qsizetype>{expected.size()});
    }
}

TEST_F(PanelSwitchesTest, CaptureReopensThePanelAndReportsAtGrowingIntervals) {
    EXPECT_EQ(captureLabel(10), u"capture+10.0s"_s);
    ASSERT_TRUE(run(captureTest(u"milk\neggs"_s, 1.0, panel.driver())));
    EXPECT_EQ(output.lines, (QStringList{
                                u"[before-capture] @1.0"_s,
                                u"<close>"_s,
                                u"<open milk|eggs statusItem>"_s,
                                u"[capture+0.4s] @1.4"_s,
                                u"[capture+1.0s] @2.4"_s,
                                u"[capture+2.0s] @4.4"_s,
                                u"[capture+5.0s] @9.4"_s,
                                u"[capture+10.0s] @19.4"_s,
                            }));
    EXPECT_EQ(output.terminated, QList<qsizetype>{8});
}

TEST_F(PanelSwitchesTest, ServiceWatchReportsOnceASecondAndNoCountEndsAtOnce) {
    ASSERT_TRUE(run(serviceWatch(2, panel.driver().diagnostics)));
    EXPECT_EQ(output.lines, (QStringList{u"[t+1s] @1.0"_s, u"[t+2s] @2.0"_s}));
    EXPECT_EQ(output.terminated, QList<qsizetype>{2});

    for (const int count : {0, -5}) {
        output.lines.clear();
        output.terminated.clear();
        const tavlin::platform::Task<> watch = serviceWatch(count, panel.driver().diagnostics);
        EXPECT_TRUE(watch.isDone()) << count;
        EXPECT_EQ(output.lines, QStringList());
        EXPECT_EQ(output.terminated, QList<qsizetype>{0});
    }
}

TEST_F(PanelSwitchesTest, OpenTimingPrintsEachRoundWithItsPhases) {
    // A long phase name pushes the rest of its line along.
    panel.timings = {{u"makePanel"_s, 0.24}, {u"a-phase-name-of-thirty-chars-x"_s, 1234.56}};
    ASSERT_TRUE(run(openTiming(panel.driver())));
    expectLines(output.lines, {
                                  u"<open - ->"_s,
                                  u"round 1: open() <any>ms"_s,
                                  u"   makePanel                  0.2ms"_s,
                                  u"   a-phase-name-of-thirty-chars-x  1234.6ms"_s,
                                  u"<close>"_s,
                                  u"<open - ->"_s,
                                  u"round 2: open() <any>ms"_s,
                                  u"<any>"_s,
                                  u"<any>"_s,
                                  u"<close>"_s,
                                  u"<open - ->"_s,
                                  u"round 3: open() <any>ms"_s,
                                  u"<any>"_s,
                                  u"<any>"_s,
                                  u"<close>"_s,
                              });
    EXPECT_TRUE(QRegularExpression(u"^round 1: open\\(\\) \\d+\\.\\dms$"_s).match(output.lines[1]).hasMatch());
    EXPECT_EQ(openTimingLines(12, 3.24, {{u"rootView"_s, 0.06}}),
              (QStringList{u"round 12: open() 3.2ms"_s, u"   rootView                   0.1ms"_s}));
    EXPECT_EQ(output.terminated, QList<qsizetype>{15});
}

TEST_F(PanelSwitchesTest, OpenLoopCountsTheOpensOfEightSeconds) {
    EXPECT_EQ(openLoopSummary(0, 0), u"0 opens, mean 0.0ms"_s);
    EXPECT_EQ(openLoopSummary(4, 10), u"4 opens, mean 2.5ms"_s);
    ASSERT_TRUE(run(openLoop(panel.driver())));
    // Each round takes 70 ms: the last starts at 7.98 s.
    EXPECT_EQ(output.lines.count(u"<open - ->"_s), 115);
    EXPECT_TRUE(output.lines.first().startsWith(u"looping pid "_s));
    EXPECT_TRUE(output.lines.last().startsWith(u"115 opens, mean "_s)) << output.lines.last().toStdString();
    EXPECT_EQ(output.terminated, QList<qsizetype>{output.lines.size()});
}

TEST_F(PanelSwitchesTest, OpenPanelOpensThenPrintsItsGeometry) {
    ASSERT_TRUE(run(openPanelTest(panel.driver())));
    EXPECT_EQ(output.lines, (QStringList{u"<open - ->"_s, u"<geometry>"_s}));
    EXPECT_EQ(output.terminated, QList<qsizetype>()) << "the dispatch ends the run, as it does after every scenario";
}

TEST(WindowOrder, TheListingKeepsNormalWindowsAndAllOfTavlins) {
    constexpr qint64 own = 4242;
    using Type = WindowRecord::Type;
    const std::vector<WindowRecord> windows = {
        {.pid = own, .windowClass = u"Tavlin"_s, .name = u"Quick add"_s, .above = true},
        {.pid = 17, .windowClass = u"Firefox"_s, .name = u"News — Mozilla Firefox"_s},
        {.pid = 18, .windowClass = u"Pinned"_s, .name = u"Always on top"_s, .above = true},
        {.pid = 19, .windowClass = u"Panel"_s, .name = u"dock"_s, .type = Type::dock},
        {.pid = own, .name = u"Tavlin’s dock"_s, .type = Type::dock},
        {.pid = 20, .windowClass = u"Minimised"_s, .name = u"gone"_s, .hidden = true},
        {.pid = 21, .windowClass = u"Unmapped"_s, .name = u"gone"_s, .mapped = false},
        {.pid = 22, .windowClass = u"Desktop"_s, .name = u"desktop"_s, .type = Type::desktop},
        {.name = u"%1 no class"_s},
        {.pid = 23, .windowClass = u"Nameless"_s},
    };
    EXPECT_EQ(windowOrderLines(windows, own), (QStringList{
                                                  u"window-server z-order (front to back, layer 0 + all Tavlin):"_s,
                                                  u"  0: Tavlin “Quick add” layer=3"_s,
                                                  u"  1: Firefox “News — Mozilla Firefox” layer=0"_s,
                                                  u"  2: Tavlin “Tavlin’s dock” layer=20"_s,
                                                  u"  3: ? “%1 no class” layer=0"_s,
                                                  u"  4: Nameless “” layer=0"_s,
                                              }));

    // At most fourteen windows.
    const std::vector<WindowRecord> many(20, WindowRecord{.pid = 5, .windowClass = u"Term"_s, .name = u"sh"_s});
    const QStringList listed = windowOrderLines(many, own);
    EXPECT_EQ(listed.size(), 15);
    EXPECT_EQ(listed.last(), u"  13: Term “sh” layer=0"_s);
}

TEST(PreferencesTestLines, AWindowAndADuration) {
    EXPECT_EQ(
        windowLine(
            {.title = u"General"_s, .visible = true, .key = false, .level = 3, .frame = QRectF(200, 200, 400, 300)}),
        u"  “General” visible=true key=false level=3 frame=(200.0, 200.0, 400.0, 300.0)"_s);
    EXPECT_EQ(windowLine({}), u"  “” visible=false key=false level=0 frame=(0.0, 0.0, 0.0, 0.0)"_s);
    EXPECT_EQ(durationText(1500ms), u"1.5 seconds"_s);
    EXPECT_EQ(durationText(std::chrono::nanoseconds(2300)), u"2.3e-06 seconds"_s);
}
