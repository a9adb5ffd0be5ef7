#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace tavlin::app {
class AppDelegate;
}

namespace tavlin::devmodes {

// Looks for the developer switches among the process arguments (the program
// path first), in their fixed order, and starts each scenario found as a task
// on the main loop, over the components `delegate` launched. "--parse-edit"
// runs on the spot and ends the run.
// An unknown switch, a missing argument or an unreadable file is named on
// standard error, once; that switch then does nothing and the run goes on.
void runSelfTests(const QStringList& arguments, app::AppDelegate& delegate);

// A number of seconds given on the command line: a decimal number, finite
// and not negative; nothing for any other word.
std::optional<double> secondsValue(const QString& word);
// A whole decimal number, sign included; nothing for any other word
// ("2.5" among them).
std::optional<int> wholeNumber(const QString& word);

// The panel and window switches found among the arguments, with what each
// reads after itself. An optional argument is the next one, whatever it is.
struct PanelSwitches {
    struct Capture {
        QString text;
        double seconds = 1.0;  // before the capture
    };
    struct FocusTest {
        QString mode = QStringLiteral("plain");
        double seconds = 3.0;  // before the panel opens
    };

    bool editFocusTest = false;
    std::optional<QString> ghostTest;  // the mode, "open" by default
    std::optional<Capture> capture;    // nothing without a text
    std::optional<FocusTest> focusTest;
    bool preferencesTest = false;
    bool frontTest = false;
    std::optional<int> serviceWatch;  // the number of reports, 60 by default
    bool openTiming = false;
    bool openLoop = false;
    bool openPanel = false;
};
PanelSwitches readPanelSwitches(const QStringList& arguments);

}  // namespace tavlin::devmodes
