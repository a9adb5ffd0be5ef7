// A small program for the X11 test of the shortcut field: a window with the
// field for the panel's Name. It prints "ready X Y" (the record button's
// middle on the screen) when the test may click, then "text T" each time the
// button's text changes, "taken T" when the field says a combination is
// another program's, and "beep" for every beep.

#include "keybindings/KeyBindings.h"
#include "preferences/ShortcutRecorderField.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include <cstdio>

namespace KeyBindings = tavlin::KeyBindings;

namespace {

int pollsUnexposed = 0;

void say(const QString& line) {
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    tavlin::platform::UserDefaults defaults;
    KeyBindings::Module module(defaults, tavlin::platform::makeSystemHotKeyBackend());

    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* field = new tavlin::preferences::ShortcutRecorderField(KeyBindings::Name::togglePanel);
    layout->addWidget(field);
    field->recorder().setBeep([] { say(QStringLiteral("beep")); });
    QPushButton& button = field->recordButton();
    QObject::connect(&field->recorder(), &tavlin::preferences::ShortcutRecorder::changed, &button, [&button, field] {
        say(QStringLiteral("text ") + button.text());
        if (field->recorder().taken()) say(QStringLiteral("taken ") + field->takenNote().text());
    });
    window.resize(300, 80);
    window.show();

    auto* poll = new QTimer(&window);
    QObject::connect(poll, &QTimer::timeout, poll, [&window, &button, poll] {
        if (!window.windowHandle()->isExposed()) {
            // A window mapped while the window manager is still starting is
            // now and then never managed: map it again.
            if (++pollsUnexposed % 50 == 0) {
                window.hide();
                window.show();
            }
            return;
        }
        poll->stop();
        // The test's click gives the window the keyboard, should the window
        // manager not have done so; the button's place is known once the
        // window manager has placed the window.
        window.activateWindow();
        QTimer::singleShot(300, &button, [&button] {
            const QPoint middle = button.mapToGlobal(button.rect().center());
            say(QStringLiteral("ready %1 %2").arg(middle.x()).arg(middle.y()));
        });
    });
    poll->start(20);
    return QApplication::exec();
}
