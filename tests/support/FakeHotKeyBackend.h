#pragma once

#include "platform/HotKeyBackend.h"

#include <QList>
#include <QString>

#include <optional>
#include <ostream>

namespace tavlin::platform {

inline void PrintTo(const KeyChord& chord, std::ostream* out) {
    *out << "{keyCode " << chord.keyCode << ", modifiers 0x" << std::hex << chord.modifiers << std::dec << "}";
}

}  // namespace tavlin::platform

// Key grabs in memory: the chords grabbed now, chords that other programs
// hold, and key presses made by hand.
class FakeHotKeyBackend final : public tavlin::platform::HotKeyBackend {
public:
    using KeyChord = tavlin::platform::KeyChord;

    int grab(KeyChord chord) override {
        if (heldByOthers.contains(chord)) return badAccess;
        grabs.append(chord);
        return grabbed;
    }
    void ungrab(KeyChord chord) override { grabs.removeOne(chord); }
    bool isHeldElsewhere(KeyChord chord) override {
        probes.append(chord);
        return heldByOthers.contains(chord);
    }

    bool hasGlobalShortcuts() const override { return globalShortcuts; }
    std::optional<QString> triggerDescription(KeyChord chord) const override {
        return grabs.contains(chord) ? desktopTrigger : std::nullopt;
    }
    bool askToChangeTrigger(KeyChord chord) override {
        if (!desktopTrigger || !grabs.contains(chord)) return false;
        ++changeRequests;
        return true;
    }

    void press(KeyChord chord) const { deliver(chord, true); }
    void release(KeyChord chord) const { deliver(chord, false); }
    // The desktop changed its answers (globalShortcuts, desktopTrigger).
    void announceChange() const { changed(); }
    void refuseLater(KeyChord chord, const QString& reason) {
        grabs.removeOne(chord);
        refuse(chord, reason);
    }

    // Where the desktop binds keys itself: whether it gives any, the key it
    // chose for every grabbed chord, and how often it was asked to change it.
    bool globalShortcuts = true;
    std::optional<QString> desktopTrigger;
    int changeRequests = 0;

    QList<KeyChord> grabs;         // in the order they were made
    QList<KeyChord> heldByOthers;  // grabbing one of these fails
    QList<KeyChord> probes;        // the chords asked about, in order
};
