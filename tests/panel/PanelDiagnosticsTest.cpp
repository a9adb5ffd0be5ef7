// What the panel tells the developer switches: the lines' format, and what
// the controller reads into them from its windows, its place and its tray
// item.

#include "panel/PanelDiagnostics.h"

#include "PanelControllerFixture.h"
#include "platform/StandardOutput.h"

#include <gtest/gtest.h>
#include <QClipboard>
#include <QGuiApplication>

#include <chrono>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;
using namespace tavlin::panel::diagnostics;
using tavlin::panel::PanelWindow;
using tavlin::platform::RecordedOutput;

TEST(PanelDiagnosticsFormat, TheLinesAsScriptsReadThem) {
    struct Case {
        QString line;
        QString expected;
    };
    const Case cases[] = {
        // Numbers: the shortest text that reads back, always with a point.
        {number(1), u"1.0"_s},
        {number(0.1 + 0.2), u"0.30000000000000004"_s},
        {number(-0.0), u"0.0"_s},
        {point(QPointF(-8, 24.5)), u"(-8.0, 24.5)"_s},
        {rect(QRectF(400, 31, 440, 212.5)), u"(400.0, 31.0, 440.0, 212.5)"_s},
        {debugState({.visible = true, .key = false, .shadow = true, .alpha = 0.5, .content = true, .window = 4194310}),
         u"visible=true key=false shadow=true alpha=0.5 content=true window=4194310"_s},
        {responder(std::nullopt), u"none"_s},
        {responder(PanelWindow::Responder{u"QScrollArea"_s, std::nullopt}), u"QScrollArea"_s},
        {responder(PanelWindow::Responder{u"QLineEdit"_s, u"say \"ab\""_s}), u"QLineEdit(\"say \"ab\"\")"_s},
        // No panel and none left behind: the line ends in a blank.
        {activationLine({.tag = u"t"_s, .frontmost = u"?"_s, .menuBar = u"?"_s, .responder = u"none"_s}),
         u"[t] panel: nil nsAppActive=false reallyActive=false frontmost=? menuBar=? responder=none resignKey=0 "
         "orphanPanels=0 "_s},
        {activationLine({.tag = u"capture+0.4s"_s,
                         .panel = u"visible=true"_s,
                         .applicationActive = true,
                         .reallyActive = true,
                         .frontmost = u"Tavlin"_s,
                         .menuBar = u"Tavlin"_s,
                         .responder = u"QLineEdit(\"\")"_s,
                         .resignKeyCount = 2,
                         .orphansOnScreen = {true, false}}),
         u"[capture+0.4s] panel: visible=true nsAppActive=true reallyActive=true frontmost=Tavlin menuBar=Tavlin "
         "responder=QLineEdit(\"\") resignKey=2 orphanPanels=2 onScreen=true onScreen=false"_s},
        {geometryLine({.frame = QRectF(832, 31, 440, 200),
                       .desiredTopLeft = QPointF(832, 31),
                       .visible = QRectF(0, 25, 1440, 875),
                       .screen = QRectF(0, 0, 1440, 900),
                       .scale = 2}),
         u"panel: (832.0, 31.0, 440.0, 200.0) desiredTopLeft: (832.0, 31.0) button: none visible: (0.0, 25.0, "
         "1440.0, 875.0) screen: (0.0, 0.0, 1440.0, 900.0) scale: 2.0"_s},
        {keyboardLine(true, false, u"none"_s), u"keyboard: key=true reallyActive=false responder=none"_s},
        {typingLine(u""_s, QString(noFieldEditor)), u"typing: before=\"\" after=\"<no field editor>\""_s},
        {keyEquivalentsLine(u"pasted"_s), u"menu equivalents via NSApp.sendEvent: field=\"pasted\""_s},
    };
    for (const Case& c : cases) EXPECT_EQ(c.line, c.expected);
}

namespace {

class PanelDiagnosticsTest : public PanelControllerFixture {
protected:
    RecordedOutput output;
};

}  // namespace

TEST_F(PanelDiagnosticsTest, TheActivationLineCountsThePanelsLeftBehind) {
    PanelController& controller = makeController();
    controller.activationState(u"t"_s);
    ASSERT_EQ(output.lines.size(), 1);
    EXPECT_TRUE(output.lines[0].startsWith(u"[t] panel: nil "_s)) << output.lines[0].toStdString();
    EXPECT_TRUE(output.lines[0].endsWith(u" responder=none resignKey=0 orphanPanels=0 "_s))
        << output.lines[0].toStdString();
    EXPECT_EQ(output.flushes, QList<qsizetype>{1});

    // A window of an earlier opening that was never discarded is an orphan;
    // the one discarded is gone even before it is deleted.
    FakeWindows others;
    tavlin::panel::PanelWindowHandle kept = others.factory()();
    others.last().visible = true;
    tavlin::panel::PanelWindowHandle(others.factory()()).reset();
    controller.open(std::nullopt, Anchor::statusItem);
    window().responder = PanelWindow::Responder{u"QLineEdit"_s, u"ab"_s};
    controller.windowDidResignKey();  // it closes the unpinned panel
    controller.open(std::nullopt, Anchor::statusItem);
    window().responder = PanelWindow::Responder{u"QLineEdit"_s, u"ab"_s};
    controller.activationState(u"u"_s);
    EXPECT_TRUE(output.lines[1].startsWith(
        u"[u] panel: visible=true key=true shadow=false alpha=1.0 content=false window=0 nsAppActive="_s))
        << output.lines[1].toStdString();
    EXPECT_TRUE(output.lines[1].endsWith(u" responder=QLineEdit(\"ab\") resignKey=1 orphanPanels=1 onScreen=true"_s))
        << output.lines[1].toStdString();
    EXPECT_EQ(controller.describeResponder(), u"QLineEdit(\"ab\")"_s);
}

TEST_F(PanelDiagnosticsTest, TheGeometryLineInScreenCoordinates) {
    PanelController& controller = makeController();
    controller.printGeometry();
    controller.open(std::nullopt, Anchor::statusItem);
    window().frame = QRectF(400, 31, 440, 200);
    controller.printGeometry();
    trayItem.reset();
    desktop->screens.clear();
    controller.printGeometry();
    EXPECT_EQ(output.lines[0], u"panel: none"_s);
    // The top-left corner the controller keeps, y downward as on screen.
    const QString desired = point(tavlin::panel::geometry::toQt(controller.desiredTopLeft()));
    EXPECT_EQ(output.lines[1], u"panel: (400.0, 31.0, 440.0, 200.0) desiredTopLeft: "_s + desired +
                                   u" button: (700.0, 1.0, 24.0, 22.0) visible: (0.0, 25.0, 1440.0, 875.0) screen: "
                                   "(0.0, 0.0, 1440.0, 900.0) scale: 1.0"_s);
    EXPECT_EQ(output.lines[2], u"panel: (400.0, 31.0, 440.0, 200.0) desiredTopLeft: "_s + desired +
                                   u" button: none visible: (0.0, 0.0, 0.0, 0.0) screen: (0.0, 0.0, 0.0, 0.0) "
                                   "scale: 1.0"_s);
    EXPECT_EQ(output.flushes, (QList<qsizetype>{1, 2, 3}));
}

TEST_F(PanelDiagnosticsTest, TypingIsReportedAroundTheShortcutsHandedToThePanel) {
    PanelController& controller = makeController();
    tavlin::platform::detach(controller.typeAndReport());
    EXPECT_EQ(output.lines, QStringList{u"keyboard: no panel"_s});

    output.lines.clear();
    controller.open(std::nullopt, Anchor::statusItem);
    tavlin::platform::Task<> report = controller.typeAndReport();
    advance(350ms);
    EXPECT_FALSE(report.isDone()) << "the shortcuts' effect is read 0.3 s after them";
    advance(300ms);
    ASSERT_TRUE(report.isDone());
    EXPECT_EQ(window().shortcutKeys, (QStringList{u"Ctrl+A"_s, u"Ctrl+V"_s}));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u"pasted"_s);
    ASSERT_EQ(output.lines.size(), 3);
    EXPECT_TRUE(output.lines[0].startsWith(u"keyboard: key=true reallyActive="_s)) << output.lines[0].toStdString();
    EXPECT_TRUE(output.lines[0].endsWith(u" responder=none"_s)) << output.lines[0].toStdString();
    EXPECT_EQ(output.lines.mid(1),
              (QStringList{u"typing: before=\"\" after=\"<no field editor>\""_s,
                           u"menu equivalents via NSApp.sendEvent: field=\"<no field editor>\""_s}));
}
