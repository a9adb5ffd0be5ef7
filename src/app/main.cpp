#include "app/AppDelegate.h"
#include "devmodes/DeveloperSwitches.h"
#include "mcp/MCPConfiguration.h"
#include "mcp/MCPStdioBridge.h"
#include "platform/Log.h"
#include "platform/TerminationSignals.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

namespace {

// Without a display server Tavlin still runs (the AI tools server and the
// store need none), on Qt's offscreen platform.
void chooseOffscreenWithoutDisplay() {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        std::fputs("tavlin: no display found (DISPLAY and WAYLAND_DISPLAY are unset) — running without one\n", stderr);
    }
}

// "--mcp" anywhere after the program path.
bool runsTheBridge(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--mcp") == 0) return true;
    return false;
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
    if (runsTheBridge(argc, argv)) return runBridge(argc, argv);
    chooseOffscreenWithoutDisplay();

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavlin"));
    QApplication::setApplicationVersion(QStringLiteral(TAVLIN_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);

    tavlin::platform::TerminationSignals terminationSignals;
    QObject::connect(&terminationSignals, &tavlin::platform::TerminationSignals::terminationRequested, &app,
                     [](int) { QApplication::quit(); });

    tavlin::app::AppDelegate delegate;
    delegate.launch();
    qCInfo(lcApp) << "Tavlin is running";
    tavlin::devmodes::runSelfTests(QCoreApplication::arguments());
    return QApplication::exec();
}
