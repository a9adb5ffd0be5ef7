#include "app/AppDelegate.h"
#include "devmodes/DeveloperSwitches.h"
#include "platform/Log.h"
#include "platform/TerminationSignals.h"

#include <QApplication>

#include <cstdio>

namespace {

// Without a display server Tavlin still runs (the AI tools server and the
// store need none), on Qt's offscreen platform.
void chooseOffscreenWithoutDisplay() {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        std::fputs("tavlin: no display found (DISPLAY and WAYLAND_DISPLAY are unset) — running without one\n",
                   stderr);
    }
}

}  // namespace

int main(int argc, char** argv) {
    tavlin::platform::installLogHandler();
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
