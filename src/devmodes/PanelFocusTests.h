#pragma once

#include "devmodes/PanelDriver.h"
#include "platform/Task.h"

#include <QString>

#include <functional>

// --edit-focus-test, --focus-test and --ghost-test: the panel driven
// through its own keyboard paths, with a report of where the activation
// and the keyboard focus stand at fixed moments. Each ends the run.
namespace tavlin::devmodes {

// What --focus-test capture opens the panel with: three items, one a line.
inline constexpr QStringView focusTestCaptureText{u"milk\neggs\ncall the dentist"};

// Opens the panel, sends it the list keys down and return, then Escape,
// reporting after each (three times after the return: 100, 500 and 1500 ms
// after it).
platform::Task<> editFocusTest(PanelDriver panel);

// Waits `seconds`, opens the panel ("capture": afresh with
// focusTestCaptureText, under the tray item), types into it, sends Escape
// twice and names the program in front at the end. Any other mode opens
// the panel plainly.
platform::Task<> focusTest(QString mode, double seconds, PanelDriver panel);

// Opens the panel together with the file manager that stands in for the
// reminders application, and reports once a second for five seconds
// whether the panel stays. "race": the file manager first; any other mode
// (kept as it is in the labels): the panel first. "url" closes the panel
// after opening the file manager: no program here opens one reminder by
// its address.
platform::Task<> ghostTest(QString mode, PanelDriver panel, std::function<void()> openRemindersApp);

}  // namespace tavlin::devmodes
