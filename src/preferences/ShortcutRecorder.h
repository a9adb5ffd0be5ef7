#pragma once

#include "keybindings/KeyBindings.h"
#include "keybindings/Name.h"
#include "keybindings/Shortcut.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

class QKeyEvent;

namespace tavlin::KeyBindings {
class LocalEventMonitor;
}

namespace tavlin::preferences {

// What the shortcut field of the settings does, without its widgets: it
// shows one Name's shortcut and, while recording, takes the next key
// combination as the new one.
//
// While recording, every key press and shortcut override of the application
// goes to the recorder and no further, and the Name's hot key is released
// (so that its old combination can be pressed again) but stays stored: only
// a commit, a clear and a remove write the shortcut, so quitting while
// recording loses nothing. Main thread only.
class ShortcutRecorder : public QObject {
    Q_OBJECT

public:
    using Beep = std::function<void()>;

    ShortcutRecorder(KeyBindings::Name name, Beep beep, QObject* parent = nullptr);
    // Ends a recording as a cancel does.
    ~ShortcutRecorder() override;

    const KeyBindings::Name& name() const { return name_; }
    bool isRecording() const { return isRecording_; }
    // The shortcut shown: the stored one as last loaded or written here.
    const std::optional<KeyBindings::Shortcut>& current() const { return current_; }
    // The combination last pressed while recording that another program
    // holds: nothing was stored, and recording goes on. Kept until recording
    // ends.
    const std::optional<KeyBindings::Shortcut>& taken() const { return taken_; }
    void setBeep(Beep beep) { beep_ = std::move(beep); }

    // Reads the stored shortcut (when the field comes on screen).
    void load();
    // Starts recording, or cancels the recording that runs.
    void toggleRecording();
    // Back to idle with the hot key grabbed again; nothing unless recording.
    void cancelRecording();
    // The remove button: the Name has no shortcut any more.
    void remove();

    // One key press while recording. A modifier key alone is part of a
    // combination still being pressed and changes nothing. Backspace alone
    // clears the shortcut, Escape alone cancels; a key with Control, Alt or
    // Super held (Shift may be added) becomes the shortcut, unless another
    // program holds it (taken()); anything else beeps and recording goes on.
    void handleKeyPress(const QKeyEvent& event);

signals:
    // Recording started or ended, or the shortcut shown changed.
    void changed();

private:
    void finish();
    void commit(const KeyBindings::Shortcut& shortcut);
    void commitUnlessTaken(const KeyBindings::Shortcut& shortcut);
    void clear();
    void stopMonitor();

    KeyBindings::Name name_;
    Beep beep_;
    bool isRecording_ = false;
    std::optional<KeyBindings::Shortcut> current_;
    std::optional<KeyBindings::Shortcut> taken_;
    // The hot keys whose grab was released; gone when the application quits
    // first, and then nothing is grabbed again.
    QPointer<KeyBindings::Module> module_;
    std::unique_ptr<KeyBindings::LocalEventMonitor> monitor_;
};

}  // namespace tavlin::preferences
