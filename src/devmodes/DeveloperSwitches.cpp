#include "devmodes/DeveloperSwitches.h"

#include "app/AppDelegate.h"
#include "devmodes/BatchAdd.h"
#include "devmodes/CaptureTimingTests.h"
#include "devmodes/ContactsTest.h"
#include "devmodes/FrontTest.h"
#include "devmodes/MoveListTest.h"
#include "devmodes/NearbyTest.h"
#include "devmodes/Output.h"
#include "devmodes/PanelDriver.h"
#include "devmodes/PanelFocusTests.h"
#include "devmodes/PanelOpenTiming.h"
#include "devmodes/ParseComparisons.h"
#include "devmodes/ParseJSONReport.h"
#include "devmodes/PreferencesTest.h"
#include "devmodes/RescheduleTest.h"
#include "devmodes/SharedRoutines.h"
#include "devmodes/StoreSelfTest.h"
#include "panel/PanelController.h"
#include "platform/Calendar.h"
#include "platform/Contacts.h"
#include "platform/DueDate.h"
#include "platform/Task.h"
#include "preferences/PreferencesWindowController.h"
#include "store/LocationProvider.h"
#include "store/ReminderStore.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>

namespace tavlin::devmodes {

using namespace Qt::StringLiterals;
using parsing::ParsedQuickAdd;

namespace {

// The switches Tavlin knows, with how many arguments each reads after
// itself ("--mcp" never gets here; "--parse-lists" is read by the JSON
// report). An argument that a switch reads is not a switch of its own.
// A switch added to runSelfTests belongs here too.
struct KnownSwitch {
    QStringView name;
    qsizetype reads;
};
constexpr qsizetype restOfTheLine = -1;
constexpr KnownSwitch knownSwitches[] = {
    {u"--mcp", 0},
    {u"--self-test", 0},
    {u"--parse", 1},
    {u"--reschedule-test", 0},
    {u"--move-list-test", 0},
    {u"--edit-focus-test", 0},
    {u"--parse-edit", restOfTheLine},
    {u"--ghost-test", 1},
    {u"--nearby-test", 1},
    {u"--add-batch", 1},
    {u"--capture", 2},
    {u"--focus-test", 2},
    {u"--parse-batch", 1},
    {u"--parse-json", 1},
    {u"--parse-lists", 1},
    {u"--contacts-test", 1},
    {u"--contacts-log", 1},
    {u"--preferences-test", 0},
    {u"--front-test", 0},
    {u"--service-watch", 1},
    {u"--open-timing", 0},
    {u"--open-loop", 0},
    {u"--open-panel", 0},
};

// A switch's problems are named on standard error, so that nobody waits on
// a Tavlin that quietly ignored its switch; the run goes on all the same.
void reportProblem(const QString& problem) { printErrorLine(u"tavlin: "_s + problem); }

// Walks the arguments after the program path, skipping what each known
// switch reads, and hands `visit` each argument that stands as a switch
// (known or not) with its place.
void forEachSwitch(const QStringList& arguments, const std::function<void(qsizetype, const KnownSwitch*)>& visit) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const auto known = std::find_if(std::begin(knownSwitches), std::end(knownSwitches),
                                        [&](const KnownSwitch& known) { return known.name == arguments[i]; });
        const bool isKnown = known != std::end(knownSwitches);
        visit(i, isKnown ? known : nullptr);
        if (isKnown) i = known->reads == restOfTheLine ? arguments.size() : i + known->reads;
    }
}

// Names each argument after the program path that looks like a switch but
// is none, once.
void reportUnknownSwitches(const QStringList& arguments) {
    QStringList reported;
    forEachSwitch(arguments, [&](qsizetype at, const KnownSwitch* known) {
        const QString& argument = arguments[at];
        if (!known && argument.startsWith(u"--"_s) && argument.size() > 2 && !reported.contains(argument)) {
            reported.append(argument);
            reportProblem(u"unknown switch "_s + argument);
        }
    });
}

// Whether the argument at `at` stands as a switch rather than as what
// another switch reads.
bool standsAsSwitch(const QStringList& arguments, qsizetype at) {
    bool stands = false;
    forEachSwitch(arguments, [&](qsizetype place, const KnownSwitch*) { stands = stands || place == at; });
    return stands;
}

// The arguments after the first one equal to `name`; nothing when absent.
// With fewer than `needed` of them, names what it needs and gives nothing;
// the need goes unnamed where `name` is only what another switch reads.
std::optional<QStringList> argumentsAfter(const QStringList& arguments, const QString& name, qsizetype needed = 0,
                                          const QString& whatIsNeeded = {}) {
    const qsizetype at = arguments.indexOf(name);
    if (at < 0) return std::nullopt;
    QStringList after = arguments.mid(at + 1);
    if (after.size() >= needed) return after;
    if (standsAsSwitch(arguments, at)) reportProblem(name + u": needs "_s + whatIsNeeded + u" after it"_s);
    return std::nullopt;
}

// A whole file as UTF-8 text; nothing, and the reason named, when it cannot
// be read or decoded.
std::optional<QString> readTextFile(const QString& switchName, const QString& path) {
    QFile file(path);
    QString failure;
    if (file.open(QIODevice::ReadOnly)) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QByteArray bytes = file.readAll();
        QString text = decoder(bytes);
        if (file.error() != QFileDevice::NoError) failure = file.errorString();
        else if (decoder.hasError()) failure = u"not UTF-8 text"_s;
        else return text;
    } else {
        failure = file.errorString();
    }
    reportProblem(u"%1: cannot read %2: %3"_s.arg(switchName, path, failure));
    return std::nullopt;
}

// A scenario that is done ends the run (most say so themselves): a developer
// run left going would stand beside the user's Tavlin, a second tray item
// and all.
platform::Task<> endingTheRun(platform::Task<> scenario) {
    co_await scenario;
    terminateApplication();
}

// Scenarios start at the next turn of the main loop, after launch returns.
void startScenario(std::function<platform::Task<>()> scenario) {
    platform::postToMainLoop([scenario = std::move(scenario)] { platform::detach(endingTheRun(scenario())); });
}

platform::Task<> afterModelAvailability(std::function<platform::Task<>()> scenario) {
    co_await waitForModelAvailability();
    co_await scenario();
}

// A scenario that reads lines with the language model starts once the model
// knows whether it is there (see waitForModelAvailability).
void startModelScenario(std::function<platform::Task<>()> scenario) {
    startScenario([scenario = std::move(scenario)] { return afterModelAvailability(scenario); });
}

void parseEdit(const QStringList& after) {
    const QString text = after[0];
    const std::optional<QString> previousDateText = after[1] == u"-"_s ? std::nullopt : std::optional(after[1]);
    const ParsedQuickAdd parsed = committedReading(text, after.mid(2), true, previousDateText);
    const std::optional<platform::Date> due =
        platform::DueDate::date(parsed.dueDateComponents, platform::Calendar::current());
    printLine(u"edit-parse: title=\""_s + parsed.title + u"\" due="_s + (due ? dateDescription(*due) : u"nil"_s) +
              u" hasTime="_s + boolText(parsed.hasTime) + u" matched="_s + parsed.matchedDateText.value_or(u"nil"_s) +
              u" list="_s + parsed.listName.value_or(u"nil"_s));
    flushStandardOutput();
    terminateApplication();
}

}  // namespace

std::optional<double> secondsValue(const QString& word) {
    bool isNumber = false;
    const double seconds = word.toDouble(&isNumber);
    // Infinity, NaN and negative waits would hang or trap the wait.
    if (!isNumber || !std::isfinite(seconds) || seconds < 0) return std::nullopt;
    return seconds;
}

std::optional<int> wholeNumber(const QString& word) {
    bool isNumber = false;
    const int number = word.toInt(&isNumber, 10);
    return isNumber ? std::optional(number) : std::nullopt;
}

PanelSwitches readPanelSwitches(const QStringList& arguments) {
    PanelSwitches found;
    found.editFocusTest = arguments.contains(u"--edit-focus-test"_s);
    if (const auto after = argumentsAfter(arguments, u"--ghost-test"_s)) found.ghostTest = after->value(0, u"open"_s);
    if (const auto after = argumentsAfter(arguments, u"--capture"_s, 1, u"a text"_s))
        found.capture =
            PanelSwitches::Capture{.text = after->first(), .seconds = secondsValue(after->value(1)).value_or(1.0)};
    if (const auto after = argumentsAfter(arguments, u"--focus-test"_s))
        found.focusTest = PanelSwitches::FocusTest{.mode = after->value(0, u"plain"_s),
                                                   .seconds = secondsValue(after->value(1)).value_or(3.0)};
    found.preferencesTest = arguments.contains(u"--preferences-test"_s);
    found.frontTest = arguments.contains(u"--front-test"_s);
    if (const auto after = argumentsAfter(arguments, u"--service-watch"_s))
        found.serviceWatch = wholeNumber(after->value(0)).value_or(60);
    found.openTiming = arguments.contains(u"--open-timing"_s);
    found.openLoop = arguments.contains(u"--open-loop"_s);
    found.openPanel = arguments.contains(u"--open-panel"_s);
    return found;
}

void runSelfTests(const QStringList& arguments, app::AppDelegate& delegate) {
    reportUnknownSwitches(arguments);
    store::ReminderStore& store = delegate.store();
    const PanelSwitches panelSwitches = readPanelSwitches(arguments);
    const PanelDriver panel = panelDriver(delegate.panelController());

    if (arguments.contains(u"--self-test"_s)) startModelScenario([&store] { return selfTest(store); });
    if (const auto after = argumentsAfter(arguments, u"--parse"_s, 1, u"a text"_s))
        startModelScenario([text = after->first()] { return parseCompareTest(text); });
    if (arguments.contains(u"--reschedule-test"_s)) startScenario([&store] { return rescheduleTest(store); });
    if (arguments.contains(u"--move-list-test"_s)) startScenario([&store] { return moveListTest(store); });
    if (panelSwitches.editFocusTest) startScenario([panel] { return editFocusTest(panel); });

    if (const auto after =
            argumentsAfter(arguments, u"--parse-edit"_s, 2, u"a text and a previous date text (\"-\" for none)"_s)) {
        parseEdit(*after);
        return;  // the run ends here; later switches are not looked at
    }

    if (const std::optional<QString>& mode = panelSwitches.ghostTest)
        startScenario([mode = *mode, panel] { return ghostTest(mode, panel, [] { openRemindersApp(); }); });
    // The mode is whatever follows, even another switch (which then also runs).
    if (const auto after = argumentsAfter(arguments, u"--nearby-test"_s)) {
        NearbyTestServices services{
            .store = store,
            .settings = delegate.settings(),
            .locationProvider = delegate.locationProvider(),
            .openPanel = [open = panel.open] { open(std::nullopt, std::nullopt); },
            .panel = panel.diagnostics,
        };
        startScenario([mode = after->value(0), services] { return nearbyTest(mode, services); });
    }
    if (const auto after = argumentsAfter(arguments, u"--add-batch"_s, 1, u"a text"_s))
        startScenario([&store, text = after->first()] { return addBatch(store, text); });
    if (const std::optional<PanelSwitches::Capture>& capture = panelSwitches.capture)
        startScenario([capture = *capture, panel] { return captureTest(capture.text, capture.seconds, panel); });
    if (const std::optional<PanelSwitches::FocusTest>& focus = panelSwitches.focusTest)
        startScenario([focus = *focus, panel] { return focusTest(focus.mode, focus.seconds, panel); });
    if (const auto after = argumentsAfter(arguments, u"--parse-batch"_s, 1, u"a file"_s)) {
        if (const auto text = readTextFile(u"--parse-batch"_s, after->first()))
            startModelScenario([text = *text] { return parseBatch(text); });
    }
    if (const auto after = argumentsAfter(arguments, u"--parse-json"_s, 1, u"a file"_s)) {
        if (const auto text = readTextFile(u"--parse-json"_s, after->first()))
            startModelScenario([arguments, text = *text] { return parseJSONReport(arguments, text); });
    }
    if (const auto after = argumentsAfter(arguments, u"--contacts-test"_s, 1, u"a name"_s)) {
        const ContactsTestServices services{.settings = delegate.settings(), .contacts = delegate.contacts()};
        startScenario([arguments, name = after->first(), services] { return contactsTest(arguments, name, services); });
    }
    if (panelSwitches.preferencesTest) {
        const PreferencesTestServices services{
            .askContactsAuthorization =
                [&contacts = delegate.contacts()] {
                    [[maybe_unused]] const auto status = contacts.authorizationStatus();
                },
            .showPreferences = [&preferences = delegate.preferencesController()] { preferences.show(); },
            .activateApplication =
                [&preferences = delegate.preferencesController()] {
                    if (preferences::PreferencesWindowPort* window = preferences.window())
                        window->activateApplication();
                },
            .handOver = handActivationToFileManager,
            .panel = panel,
        };
        startScenario([arguments, services] { return preferencesTest(arguments, services); });
    }
    if (panelSwitches.frontTest) startScenario([] { return frontTest(handActivationToFileManager); });
    if (const std::optional<int> count = panelSwitches.serviceWatch)
        startScenario([count = *count, panel] { return serviceWatch(count, panel.diagnostics); });
    if (panelSwitches.openTiming) startScenario([panel] { return openTiming(panel); });
    if (panelSwitches.openLoop) startScenario([panel] { return openLoop(panel); });
    if (panelSwitches.openPanel) startScenario([panel] { return openPanelTest(panel); });
}

}  // namespace tavlin::devmodes
