#pragma once

#include "platform/ReduceMotion.h"

#include <QApplication>
#include <QFont>

// The one application object of the panel's benchmarks, offscreen, with the
// gallery's font (DejaVu Sans, 13 px), and no animations: they would time
// only themselves.
inline void ensureApplication() {
    static int argc = 1;
    static char name[] = "bench_panel";
    static char* argv[] = {name, nullptr};
    if (QApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Kept to the end and never destroyed: Qt's own globals that the first
    // shown window makes are gone before an application held in a static
    // would be, and its destruction would crash the exit.
    static QApplication* application = new QApplication(argc, argv);
    (void)application;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    QApplication::setFont(font);
    tavlin::platform::setReduceMotionOverride(true);
}
