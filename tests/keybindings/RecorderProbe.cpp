// A small program for the X11 recorder test: a window with a recorder of
// the panel's Name. It prints "ready X Y" (the field's centre on the screen)
// once the window is active, "recording" and "idle" as recording starts and
// ends, "alert TEXT" once an alert has the keyboard, and "stored KEYCODE
// MODIFIERS TEXT" for each shortcut recorded. With --force it answers an
// alert with its second button at once; else the alert is the real message
// box, for the test to answer.

#include "keybindings/KeyBindings.h"
#include "keybindings/RecorderControl.h"

#include "ProbeSupport.h"

#include <QApplication>
#include <QTimer>
#include <QVBoxLayout>

namespace KeyBindings = tavlin::KeyBindings;

namespace {

class PrintingPresenter final : public KeyBindings::MessageBoxPresenter {
public:
    explicit PrintingPresenter(bool force) : force_(force) {}

    int alert(QWidget* window, const Alert& alert) override {
        if (force_) {
            say(QStringLiteral("alert ") + alert.text);
            return 1;
        }
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
            const QWidget* box = QApplication::activeModalWidget();
            if (!box || !box->isActiveWindow()) return;
            poll.stop();
            say(QStringLiteral("alert ") + alert.text);
        });
        poll.start(20);
        return MessageBoxPresenter::alert(window, alert);
    }

private:
    bool force_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    tavlin::platform::UserDefaults defaults;
    KeyBindings::Module module(defaults, tavlin::platform::makeSystemHotKeyBackend());
    QObject::connect(&module, &KeyBindings::Module::recorderActiveStatusDidChange,
                     [](bool isActive) { say(isActive ? QStringLiteral("recording") : QStringLiteral("idle")); });

    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(40, 40, 40, 40);
    auto* field = new KeyBindings::RecorderControl(KeyBindings::Name::togglePanel,
                                                   [&](const std::optional<KeyBindings::Shortcut>& shortcut) {
                                                       if (!shortcut) return;
                                                       say(QStringLiteral("stored %1 %2 %3")
                                                               .arg(shortcut->carbonKeyCode())
                                                               .arg(shortcut->carbonModifiers())
                                                               .arg(shortcut->description()));
                                                   });
    field->setPresenter(std::make_unique<PrintingPresenter>(QApplication::arguments().contains(u"--force")));
    layout->addWidget(field);
    // Ready past the turn on which the field refuses the focus.
    showThenSayReady(window, [field] {
        const QPoint centre = field->mapToGlobal(field->rect().center());
        return QStringLiteral("ready %1 %2").arg(centre.x()).arg(centre.y());
    });
    return QApplication::exec();
}
