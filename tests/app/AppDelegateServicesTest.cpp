// Tavlin's answers to the desktop outside launch: text sent over the bus
// (AddToTavlin and the desktop entry's action), opening Tavlin again, and
// clicks on its notifications. The panel's windows are fakes, which keep
// what each opening was given.

#include "app/AppDelegate.h"

#include "AppDelegateFixture.h"
#include "app/ApplicationService.h"
#include "app/UpdateController.h"
#include "panel/PanelController.h"
#include "panel/PanelFakes.h"
#include "support/FakeNotificationServer.h"
#include "support/LogCapture.h"
#include "support/MainLoop.h"
#include "support/PrivateSessionBus.h"

#include <gtest/gtest.h>
#include <QDBusMessage>
#include <QDBusPendingCall>

using namespace Qt::StringLiterals;
using tavlin::app::AppDelegate;
using tavlin::app::ApplicationService;
using tavlin::panel::Anchor;

namespace {

const QString overflowIdentifier = u"menu-bar-overflow"_s;
const QString updateIdentifier = u"sparkle-update-available"_s;

// A launched Tavlin on a bus of the test's own, with fake panel windows and
// a primary selection that the test sets.
class ServicesTest : public AppDelegateFixture {
protected:
    void SetUp() override {
        AppDelegateFixture::SetUp();
        if (!PrivateSessionBus::isAvailable()) GTEST_SKIP() << "dbus-daemon is not installed";
        ASSERT_TRUE(bus.isRunning());
        launch({.sessionBus = bus.connect(), .makePanelWindow = windows.factory(), .readSelection = [this] {
                    return selection;
                }});
    }

    // A call to Tavlin's object, run to its answer.
    QDBusMessage call(const QString& interface, const QString& method, const QVariantList& arguments) {
        QDBusMessage message = QDBusMessage::createMethodCall(ApplicationService::serviceName,
                                                              ApplicationService::objectPath, interface, method);
        message.setArguments(arguments);
        QDBusPendingCall pending = caller.asyncCall(message);
        if (!runMainLoopUntil([&] { return pending.isFinished(); })) return {};
        return pending.reply();
    }
    QDBusMessage addToTavlin(const QString& text) {
        return call(ApplicationService::servicesInterfaceName, u"AddToTavlin"_s, {text});
    }
    QDBusMessage activateAction(const QString& action) {
        return call(ApplicationService::interfaceName, u"ActivateAction"_s, {action, QVariantList(), QVariantMap()});
    }

    tavlin::panel::PanelController& panel() { return delegate->panelController(); }
    // The text the last opening was given to offer reminders from.
    std::optional<QString> capturedText() { return windows.last().inputs.captureText; }

    PrivateSessionBus bus;
    QDBusConnection caller = bus.connect();
    FakeWindows windows;
    std::optional<QString> selection;
};

class NotificationResponseTest : public ServicesTest {
protected:
    // What a click on the notification under `identifier` did, told by
    // what it opened or logged.
    QString responseTo(AppDelegate& target, const QString& identifier) {
        LogCapture platformLog("com.quorvandell.tavlin.platform", QtInfoMsg);
        const std::size_t openings = windows.made.size();
        target.didReceiveNotificationResponse(identifier);
        if (windows.made.size() != openings || !platformLog.take().isEmpty()) return u"answered at once"_s;
        QCoreApplication::processEvents();
        if (windows.made.size() != openings) {
            panel().close();
            return u"panel"_s;
        }
        return platformLog.take().contains(updateCheckLine) ? u"update check"_s : u"nothing"_s;
    }

    static inline const QString updateCheckLine =
        u"No update check: Tavlin is updated by the system's package manager"_s;
};

}  // namespace

// Text is refused only when nothing is left of it once white space and line
// breaks of every kind are trimmed; otherwise it goes on exactly as it came.
TEST(ServiceProvider, TakesTextWithSomethingInItUntrimmed) {
    const QString noText = u"No text in the selection"_s;
    const struct {
        const char* what;
        QString text;
        bool refused;
    } cases[] = {
        {"empty", u""_s, true},
        {"spaces, tabs and line feeds", u" \n\t "_s, true},
        {"carriage returns and the other ASCII breaks", u"\r\n\u000B\u000C"_s, true},
        {"no-break and ideographic spaces", u"\u00A0\u3000\u2009"_s, true},
        {"next line and the Unicode separators", u"\u0085\u2028\u2029"_s, true},
        {"a zero-width space, which is no white space", u"\u200B"_s, false},
        {"two lines between spaces", u"  buy milk\ncall mom  "_s, false},
        {"a word between no-break spaces", u"\u00A0x\u00A0"_s, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<QString> captured;
        const AppDelegate::ServiceProvider provider{
            .onCapture = [&](const QString& text) { captured.push_back(text); }};
        const std::optional<QString> error = provider.addToTavlin(c.text);
        EXPECT_EQ(error, c.refused ? std::optional(noText) : std::nullopt);
        EXPECT_EQ(captured, c.refused ? std::vector<QString>{} : std::vector{c.text});
    }
    EXPECT_EQ(AppDelegate::ServiceProvider{}.addToTavlin(u"buy milk"_s), std::nullopt) << "before launch: no error";
}

TEST_F(ServicesTest, AddToTavlinOpensAFreshCentredPanelWithTheTextOrAnswersNoText) {
    delegate->togglePanel(false);
    ASSERT_TRUE(panel().panel());
    const tavlin::panel::PanelWindow* before = panel().panel();

    const QDBusMessage refused = addToTavlin(u" \n\t "_s);
    EXPECT_EQ(refused.type(), QDBusMessage::ErrorMessage);
    EXPECT_EQ(refused.errorName(), u"com.quorvandell.tavlin.Error.NoText"_s);
    EXPECT_EQ(refused.errorMessage(), u"No text in the selection"_s);
    EXPECT_EQ(panel().panel(), before) << "the panel stays as it was";
    EXPECT_EQ(panel().anchor(), Anchor::statusItem);

    const QDBusMessage taken = addToTavlin(u"  buy milk\ncall mom  "_s);
    EXPECT_EQ(taken.type(), QDBusMessage::ReplyMessage);
    EXPECT_TRUE(taken.arguments().isEmpty());
    ASSERT_TRUE(panel().panel());
    EXPECT_NE(panel().panel(), before);
    EXPECT_EQ(panel().anchor(), Anchor::screenCenter);
    EXPECT_EQ(capturedText(), u"  buy milk\ncall mom  "_s);
}

// The desktop entry's action reads the primary selection when it comes.
TEST_F(ServicesTest, TheSelectionActionTakesThePrimarySelectionAsItIsThen) {
    const struct {
        const char* what;
        std::optional<QString> selection;
        std::optional<QString> captured;  // nothing: no panel opens
        QString warning;
    } cases[] = {
        {"a desktop without one", std::nullopt, std::nullopt,
         u"No reminders from the selection: this desktop has no primary selection"_s},
        {"nothing selected", u""_s, std::nullopt, u"No reminders from the selection: No text in the selection"_s},
        {"only white space", u" \n "_s, std::nullopt, u"No reminders from the selection: No text in the selection"_s},
        {"text", u"  pay rent friday\n"_s, u"  pay rent friday\n"_s, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        LogCapture log("com.quorvandell.tavlin.app", QtWarningMsg);
        const std::size_t openings = windows.made.size();
        selection = c.selection;
        EXPECT_EQ(activateAction(u"new-reminders-from-selection"_s).type(), QDBusMessage::ReplyMessage);
        if (c.captured) {
            ASSERT_EQ(windows.made.size(), openings + 1);
            EXPECT_EQ(capturedText(), c.captured);
            EXPECT_EQ(panel().anchor(), Anchor::screenCenter);
        } else {
            EXPECT_EQ(windows.made.size(), openings);
        }
        EXPECT_EQ(log.take(), c.warning.isEmpty() ? QStringList() : QStringList{c.warning});
        panel().close();
    }
}

// Opening Tavlin again toggles the panel as the hot key does; Open does
// nothing.
TEST_F(ServicesTest, ActivateTogglesThePanelAndOpenDoesNothing) {
    EXPECT_EQ(
        call(ApplicationService::interfaceName, u"Open"_s, {QStringList{u"file:///tmp/x"_s}, QVariantMap()}).type(),
        QDBusMessage::ReplyMessage);
    EXPECT_FALSE(panel().panel());

    EXPECT_EQ(call(ApplicationService::interfaceName, u"Activate"_s, {QVariantMap()}).type(),
              QDBusMessage::ReplyMessage);
    ASSERT_TRUE(panel().panel());
    EXPECT_EQ(panel().anchor(), Anchor::screenCenter);
    call(ApplicationService::interfaceName, u"Activate"_s, {QVariantMap()});
    EXPECT_FALSE(panel().panel());
    EXPECT_FALSE(delegate->applicationShouldHandleReopen());
    EXPECT_TRUE(panel().panel());
}

// Clicks are answered at the next turn of the loop, by their exact
// identifier, and only once launch has built what they need.
TEST_F(NotificationResponseTest, RoutesClicksByTheirExactIdentifier) {
    const struct {
        QString identifier;
        QString response;
    } cases[] = {
        {overflowIdentifier, u"panel"_s},
        {updateIdentifier, u"update check"_s},
        {u"dailySummary-8C1F0B6E-3D2A-4B7E-9F10-2A4C6E8B0D12"_s, u"nothing"_s},
        {u"Menu-Bar-Overflow"_s, u"nothing"_s},
        {u"menu-bar-overflow "_s, u"nothing"_s},
        {u"sparkle-update"_s, u"nothing"_s},
        {u""_s, u"nothing"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.identifier.toStdString());
        EXPECT_EQ(responseTo(*delegate, c.identifier), c.response);
    }

    // Neither a test host nor a Tavlin not yet launched has anything to
    // answer with.
    for (const bool isRunningTests : {true, false}) {
        SCOPED_TRACE(isRunningTests ? "test host" : "not launched");
        AppDelegate unlaunched({.isRunningTests = isRunningTests});
        if (isRunningTests) unlaunched.applicationDidFinishLaunching();
        for (const QString& identifier : {overflowIdentifier, updateIdentifier})
            EXPECT_EQ(responseTo(unlaunched, identifier), u"nothing"_s);
        EXPECT_FALSE(unlaunched.applicationShouldHandleReopen());
    }
}

// The whole way of a click: the update controller posts its notification,
// the user clicks it, and the update check runs.
TEST_F(NotificationResponseTest, AClickOnTheUpdateNotificationRunsTheCheck) {
    FakeNotificationServer server(bus.connect());
    ASSERT_TRUE(server.isRegistered());
    delegate->updateController().willHandleShowingUpdate(false, {.displayVersion = u"2.1"_s}, {.userInitiated = false});
    ASSERT_TRUE(server.waitForCalls(u"Notify"_s, 1));

    // Clicked until Tavlin acts: it knows the notification by the number
    // in the server's answer, which it reads a moment after the server
    // sent it.
    LogCapture platformLog("com.quorvandell.tavlin.platform", QtInfoMsg);
    EXPECT_TRUE(runMainLoopUntil([&] {
        server.invokeAction(1, u"default"_s);
        runMainLoopUntil([] { return false; }, std::chrono::milliseconds(50));
        return platformLog.take().contains(updateCheckLine);
    }));
}

// What a call asks for may wait on the user (a notice shown modally at the
// panel's opening); the caller has its answer before that: a launcher gives
// up on a call that does not return.
TEST(ApplicationServiceReplies, BeforeWhatTheCallAsksForRuns) {
    PrivateSessionBus bus;
    if (!PrivateSessionBus::isAvailable()) GTEST_SKIP() << "dbus-daemon is not installed";
    ASSERT_TRUE(bus.isRunning());
    ApplicationService service(bus.connect());
    ASSERT_TRUE(service.claimName());
    QDBusConnection caller = bus.connect();

    const struct {
        const char* method;
        QVariantList arguments;
        void (ApplicationService::*request)();
    } cases[] = {
        {"Activate", {QVariantMap()}, &ApplicationService::activateRequested},
        {"ActivateAction",
         {QString(ApplicationService::newRemindersFromSelectionAction), QVariantList(), QVariantMap()},
         &ApplicationService::newRemindersFromSelectionRequested},
        {"ActivateAction", {u"quit"_s, QVariantList(), QVariantMap()}, &ApplicationService::quitRequested},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.method);
        QDBusMessage message =
            QDBusMessage::createMethodCall(ApplicationService::serviceName, ApplicationService::objectPath,
                                           ApplicationService::interfaceName, QString::fromLatin1(c.method));
        message.setArguments(c.arguments);
        QDBusPendingCall pending = caller.asyncCall(message);
        std::optional<bool> answeredFirst;
        // The handler waits, as a modal notice does, until the caller has
        // its answer or a time limit passes.
        const QMetaObject::Connection handler = QObject::connect(&service, c.request, &service, [&] {
            answeredFirst = runMainLoopUntil([&] { return pending.isFinished(); }, std::chrono::seconds(2));
        });
        EXPECT_TRUE(runMainLoopUntil([&] { return answeredFirst.has_value(); }));
        EXPECT_EQ(answeredFirst, true);
        QObject::disconnect(handler);
    }
}
