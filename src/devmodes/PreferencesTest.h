#pragma once

#include "devmodes/PanelDriver.h"
#include "platform/Task.h"

#include <QRectF>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>

// --preferences-test: the settings window opened in scripted ways, with
// what became of it and of every Tavlin window after each opening. Ends
// the run.
namespace tavlin::devmodes {

// One of Tavlin's windows as the test reports it.
struct WindowReport {
    QString title;
    bool visible = false;
    bool key = false;
    int level = 0;  // 3 above the others, else 0
    QRectF frame;   // with the window manager's decoration
};
// "  “<title>” visible=<b> key=<b> level=<n> frame=(x, y, width, height)"
QString windowLine(const WindowReport& window);
// "0.0123 seconds"
QString durationText(std::chrono::nanoseconds duration);

struct PreferencesTestServices {
    // The synchronous question whose time is measured first.
    std::function<void()> askContactsAuthorization;
    std::function<void()> showPreferences;
    // Takes the activation back for the settings window.
    std::function<void()> activateApplication;
    // Gives the activation to another program (the file manager).
    std::function<platform::Task<>()> handOver;
    PanelDriver panel;
};

// The bare words among `arguments` choose the variant: "via-panel" opens
// and closes the panel first; "via-finder" hands the activation away before
// each opening; "twice" opens twice; "steal" hands it away right after each
// opening, then takes it back and closes the settings window.
platform::Task<> preferencesTest(QStringList arguments, PreferencesTestServices services);

}  // namespace tavlin::devmodes
