#pragma once

#include "platform/HotKeyBackend.h"

#include <QList>

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

    void press(KeyChord chord) const { deliver(chord, true); }
    void release(KeyChord chord) const { deliver(chord, false); }

    QList<KeyChord> grabs;         // in the order they were made
    QList<KeyChord> heldByOthers;  // grabbing one of these fails
    QList<KeyChord> probes;        // the chords asked about, in order
};
