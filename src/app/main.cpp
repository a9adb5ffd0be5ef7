#include "app/AppDelegate.h"
#include "app/ProgramEntry.h"
#include "devmodes/DeveloperSwitches.h"
#include "mcp/MCPConfiguration.h"
#include "mcp/MCPStdioBridge.h"
#include "platform/Log.h"
#include "platform/TerminationSignals.h"

#include <QApplication>

namespace {

// Without a display server Tavlin still runs (the AI tools server and the
// store need none), on Qt's offscreen platform.
void chooseOffscreenWithoutDisplay() {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qCInfo(lcApp) << "no display found (DISPLAY and WAYLAND_DISPLAY are unset) — running without one";
    }
}

QStringList argumentList(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// The bridge opens no window: it relays standard input and output to the
// AI tools server of the running Tavlin until its input ends.
int runBridge(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    return tavlin::mcp::MCPStdioBridge::run(tavlin::mcp::MCPConfiguration::filePath());
}

}  // namespace

int main(int argc, char** argv) {
    tavlin::platform::installLogHandler();
    if (tavlin::app::ProgramEntry::runsTheBridge(argumentList(argc, argv))) return runBridge(argc, argv);
    const bool isRunningTests = tavlin::app::ProgramEntry::isRunningTests();
    chooseOffscreenWithoutDisplay();

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavlin"));
    QApplication::setApplicationVersion(QStringLiteral(TAVLIN_VERSION));

    tavlin::platform::TerminationSignals terminationSignals;
    QObject::connect(&terminationSignals, &tavlin::platform::TerminationSignals::terminationRequested, &app,
                     [](int) { QApplication::quit(); });

    const QStringList arguments = QCoreApplication::arguments();
    tavlin::app::AppDelegate delegate({
        .isRunningTests = isRunningTests,
        .arguments = arguments,
        .sessionBus = QDBusConnection::sessionBus(),
        .developerSwitches =
            [arguments](tavlin::app::AppDelegate& launched) { tavlin::devmodes::runSelfTests(arguments, launched); },
    });
    delegate.applicationDidFinishLaunching();
    qCInfo(lcApp) << "Tavlin is running";
    return QApplication::exec();
}
