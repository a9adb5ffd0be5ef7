// The panel switches as a developer runs them without a display: the real
// binary, its panel offscreen.

#include "support/TavlinProcess.h"

#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

QStringList reportTags(const QString& output) {
    QStringList tags;
    const QRegularExpression tag(u"^\\[([^\\]]*)\\] panel: "_s, QRegularExpression::MultilineOption);
    for (auto match = tag.globalMatch(output); match.hasNext();) tags << match.next().captured(1);
    return tags;
}

}  // namespace

TEST(PanelSwitchesRun, ServiceWatchReportsItsCountThenEnds) {
    QElapsedTimer elapsed;
    elapsed.start();
    TavlinProcess watch({.arguments = {u"--service-watch"_s, u"2"_s}});
    ASSERT_TRUE(watch.finish()) << watch.standardError().toStdString();
    EXPECT_GE(elapsed.elapsed(), 2000);
    EXPECT_EQ(watch.exitCode(), 0);
    EXPECT_EQ(reportTags(watch.standardOutput()), (QStringList{u"t+1s"_s, u"t+2s"_s}));
    EXPECT_TRUE(watch.standardOutput().endsWith(u"orphanPanels=0 \n"_s)) << watch.standardOutput().toStdString();

    // No count: nothing to watch, and the run ends without a report.
    TavlinProcess none({.arguments = {u"--service-watch"_s, u"0"_s}});
    ASSERT_TRUE(none.finish()) << none.standardError().toStdString();
    EXPECT_EQ(none.exitCode(), 0);
    EXPECT_EQ(none.standardOutput(), QString());
}

TEST(PanelSwitchesRun, OpenPanelPrintsTheGeometryThenEnds) {
    TavlinProcess tavlin({.arguments = {u"--open-panel"_s}});
    ASSERT_TRUE(tavlin.finish()) << tavlin.standardError().toStdString();
    EXPECT_EQ(tavlin.exitCode(), 0);
    EXPECT_TRUE(tavlin.standardOutput().contains(u"panel"_s)) << tavlin.standardOutput().toStdString();
}

TEST(PanelSwitchesRun, EditFocusTestReportsSixTimes) {
    TavlinProcess tavlin({.arguments = {u"--edit-focus-test"_s}});
    ASSERT_TRUE(tavlin.finish()) << tavlin.standardError().toStdString();
    EXPECT_EQ(tavlin.exitCode(), 0);
    EXPECT_EQ(reportTags(tavlin.standardOutput()),
              (QStringList{u"opened"_s, u"after-down"_s, u"after-return+100ms"_s, u"after-return+400ms"_s,
                           u"after-return+1000ms"_s, u"after-escape"_s}));
    // Escape in the empty field closed the panel.
    EXPECT_TRUE(tavlin.standardOutput().contains(u"[opened] panel: visible=true key=true shadow=true alpha=1.0 "_s))
        << tavlin.standardOutput().toStdString();
    EXPECT_TRUE(tavlin.standardOutput().contains(u"[after-escape] panel: nil "_s));
}

TEST(PanelSwitchesRun, ACaptureWithAWaitThatIsNoNumberWaitsOneSecond) {
    QElapsedTimer elapsed;
    elapsed.start();
    TavlinProcess tavlin({.arguments = {u"--capture"_s, u"hi"_s, u"nan"_s}});
    ASSERT_TRUE(tavlin.waitForOutput("[before-capture]")) << tavlin.standardError().toStdString();
    EXPECT_GE(elapsed.elapsed(), 1000);
    ASSERT_TRUE(tavlin.waitForOutput("[capture+0.4s] panel: visible=true"));
    EXPECT_TRUE(tavlin.signalAndFinish(SIGTERM));
}
