#include "preferences/ShortcutRecorder.h"

#include "keybindings/Key.h"
#include "keybindings/LocalEventMonitor.h"

#include <QKeyEvent>

#include <algorithm>
#include <array>

namespace tavlin::preferences {

namespace {

using KeyBindings::Key;
using KeyBindings::Shortcut;

constexpr Qt::KeyboardModifiers relevantModifiers =
    Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
// Shift alone does not make a combination.
constexpr Qt::KeyboardModifiers requiredModifiers = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

// X sends a key press for a modifier key pressed on its own, which a
// combination starts with.
bool isModifierKey(const QKeyEvent& event, const std::optional<Shortcut>& key) {
    static constexpr std::array modifierKeys{
        Key::shift,       Key::rightShift, Key::control,      Key::rightControl, Key::option,
        Key::rightOption, Key::command,    Key::rightCommand, Key::function,     Key::capsLock,
    };
    if (key && std::any_of(modifierKeys.begin(), modifierKeys.end(),
                           [&](Key modifier) { return modifier.rawValue == key->carbonKeyCode(); }))
        return true;
    switch (event.key()) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_CapsLock: return true;
    default: return false;
    }
}

}  // namespace

ShortcutRecorder::ShortcutRecorder(KeyBindings::Name name, Beep beep, QObject* parent)
    : QObject(parent), name_(std::move(name)), beep_(std::move(beep)) {}

ShortcutRecorder::~ShortcutRecorder() {
    // The monitor is not inside its callback now, so it may go at once.
    monitor_.reset();
    if (isRecording_ && module_) KeyBindings::enable({name_});
}

void ShortcutRecorder::load() {
    current_ = KeyBindings::getShortcut(name_);
    emit changed();
}

void ShortcutRecorder::toggleRecording() {
    if (isRecording_) {
        cancelRecording();
        return;
    }
    isRecording_ = true;
    module_ = &KeyBindings::Module::instance();
    KeyBindings::disable({name_});
    stopMonitor();
    // Made now, so that it sees the keys before every filter made earlier
    // (the newest filter runs first).
    monitor_ = std::make_unique<KeyBindings::LocalEventMonitor>(
        QSet<QEvent::Type>{QEvent::KeyPress, QEvent::ShortcutOverride}, [this](QObject*, QEvent* event) {
            // An accepted override keeps a window's action from taking the
            // key; the press that follows comes here.
            if (event->type() == QEvent::ShortcutOverride) event->accept();
            else handleKeyPress(static_cast<const QKeyEvent&>(*event));
            return true;
        });
    emit changed();
}

void ShortcutRecorder::cancelRecording() {
    if (!isRecording_) return;
    finish();
    if (module_) KeyBindings::enable({name_});
    emit changed();
}

void ShortcutRecorder::remove() {
    KeyBindings::setShortcut(std::nullopt, name_);
    current_.reset();
    emit changed();
}

void ShortcutRecorder::handleKeyPress(const QKeyEvent& event) {
    if (!isRecording_) return;
    const std::optional<Shortcut> key = Shortcut::fromKeyEvent(event);
    if (isModifierKey(event, key)) return;
    const Qt::KeyboardModifiers modifiers = event.modifiers() & relevantModifiers;
    const bool alone = modifiers == Qt::NoModifier;
    if (alone && key && key->carbonKeyCode() == Key::delete_.rawValue) clear();
    else if (alone && key && key->carbonKeyCode() == Key::escape.rawValue) cancelRecording();
    else if ((event.modifiers() & requiredModifiers) && key) commitUnlessTaken(*key);
    else if (beep_) beep_();
}

void ShortcutRecorder::commitUnlessTaken(const Shortcut& shortcut) {
    // Its grab would be refused, and the hot key would never fire.
    if (!KeyBindings::isHeldByAnotherProgram(shortcut)) return commit(shortcut);
    taken_ = shortcut;
    if (beep_) beep_();
    emit changed();
}

void ShortcutRecorder::finish() {
    stopMonitor();
    isRecording_ = false;
    taken_.reset();
}

void ShortcutRecorder::commit(const Shortcut& shortcut) {
    finish();
    KeyBindings::setShortcut(shortcut, name_);
    current_ = shortcut;
    emit changed();
}

void ShortcutRecorder::clear() {
    finish();
    KeyBindings::setShortcut(std::nullopt, name_);
    current_.reset();
    emit changed();
}

void ShortcutRecorder::stopMonitor() {
    if (!monitor_) return;
    // Usually called from the monitor's own callback, which must return
    // before the monitor goes.
    monitor_->stop();
    monitor_.release()->deleteLater();
}

}  // namespace tavlin::preferences
