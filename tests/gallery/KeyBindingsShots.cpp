// The shortcut recorder of the keyboard-shortcut module: the field alone,
// idle and recording, and labelled recorders lined up in a form.

#include "Gallery.h"

#include "keybindings/Key.h"
#include "keybindings/KeyBindings.h"
#include "keybindings/Recorder.h"
#include "support/FakeHotKeyBackend.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFormLayout>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace tavlin::gallery {

namespace {

namespace KeyBindings = tavlin::KeyBindings;
using KeyBindings::Key;
using KeyBindings::Name;
using KeyBindings::Shortcut;

const Shortcut controlShiftL(Key::l, Qt::ControlModifier | Qt::ShiftModifier);

// A module of its own, with the panel's Name storing `shortcut`.
struct Module {
    explicit Module(const std::optional<Shortcut>& shortcut) { KeyBindings::setShortcut(shortcut, Name::togglePanel); }
    QTemporaryDir folder;
    platform::UserDefaults defaults{folder.filePath(u"settings.json"_s)};
    KeyBindings::Module module{defaults, std::make_unique<FakeHotKeyBackend>()};
};

// The clear button fades in with the text.
void settle() {
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < 300) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

QString schemeName(Scheme scheme) { return scheme == Scheme::light ? u"light"_s : u"dark"_s; }

Shot control(const char* name, std::optional<Shortcut> shortcut, bool recording, Scheme scheme) {
    return {u"keybindings_recorder_"_s + QLatin1StringView(name) + u'_' + schemeName(scheme), [=] {
                const Module module(shortcut);
                QWidget window;
                window.setPalette(palette(scheme));
                window.setAutoFillBackground(true);
                auto* layout = new QFormLayout(&window);
                layout->setContentsMargins(16, 10, 16, 10);
                auto* recorder = new KeyBindings::Recorder(Name::togglePanel);
                recorder->addRowTo(*layout);
                if (recording) {
                    window.show();
                    window.activateWindow();
                    QApplication::processEvents();
                    QApplication::processEvents();
                    recorder->control()->setFocus(Qt::MouseFocusReason);
                }
                settle();
                return grab(window);
            }};
}

Shot form(Scheme scheme) {
    return {u"keybindings_recorders_in_a_form_"_s + schemeName(scheme), [=] {
                const Module module(controlShiftL);
                KeyBindings::setShortcut(Shortcut(Key::f5, Qt::NoModifier), Name(u"capture"_s));
                QWidget window;
                window.setPalette(palette(scheme));
                window.setAutoFillBackground(true);
                auto* layout = new QFormLayout(&window);
                layout->setContentsMargins(16, 10, 16, 10);
                (new KeyBindings::Recorder(u"Show the panel:"_s, Name::togglePanel))->addRowTo(*layout);
                (new KeyBindings::Recorder(u"Capture:"_s, Name(u"capture"_s)))->addRowTo(*layout);
                (new KeyBindings::Recorder(Name(u"unlabelled"_s)))->addRowTo(*layout);
                settle();
                return grab(window);
            }};
}

const Shots shots{[] {
    std::vector<Shot> all;
    for (const Scheme scheme : {Scheme::light, Scheme::dark}) {
        all.push_back(control("empty", std::nullopt, false, scheme));
        all.push_back(control("set", controlShiftL, false, scheme));
        all.push_back(control("recording", controlShiftL, true, scheme));
        all.push_back(form(scheme));
    }
    return all;
}};

}  // namespace

}  // namespace tavlin::gallery
