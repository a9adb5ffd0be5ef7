#pragma once

#include "keybindings/KeyBindings.h"

#include "support/FakeHotKeyBackend.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// A KeyBindings::Module over settings in a fresh folder and fake key grabs.
class ModuleTest : public ::testing::Test {
protected:
    ModuleTest() {
        QObject::connect(&module, &tavlin::KeyBindings::Module::shortcutByNameDidChange,
                         [this](const tavlin::KeyBindings::Name& name) { changes << name.rawValue(); });
    }

    void tap(tavlin::platform::KeyChord chord) {
        backend.press(chord);
        backend.release(chord);
    }
    // Runs what was queued for the event loop's next turn.
    static void nextTurn() { QCoreApplication::processEvents(); }

    QTemporaryDir folder;
    tavlin::platform::UserDefaults defaults{folder.filePath(QStringLiteral("settings.json"))};
    std::unique_ptr<FakeHotKeyBackend> ownedBackend = std::make_unique<FakeHotKeyBackend>();
    FakeHotKeyBackend& backend = *ownedBackend;
    tavlin::KeyBindings::Module module{defaults, std::move(ownedBackend)};
    QStringList changes;  // names, in the order they were announced
};
