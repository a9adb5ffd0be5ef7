#include "app/HotKeyController.h"

#include "keybindings/Key.h"
#include "keybindings/KeyBindings.h"
#include "support/FakeHotKeyBackend.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

#include <linux/input-event-codes.h>

namespace KeyBindings = tavlin::KeyBindings;
using tavlin::platform::KeyChord;

// The key that opens the panel must not reach it: the action waits for the
// release, and comes once per press however long the key is held.
TEST(HotKeyController, RunsItsActionWhenTheShortcutIsReleased) {
    QTemporaryDir folder;
    tavlin::platform::UserDefaults defaults(folder.filePath(QStringLiteral("settings.json")));
    auto owned = std::make_unique<FakeHotKeyBackend>();
    FakeHotKeyBackend& backend = *owned;
    KeyBindings::Module module(defaults, std::move(owned));
    KeyBindings::Name::togglePanel.setShortcut(
        KeyBindings::Shortcut(KeyBindings::Key::k.rawValue, KeyBindings::CarbonModifier::control));
    const KeyChord controlK{KEY_K + 8, tavlin::platform::X11Modifier::control};

    int runs = 0;
    const tavlin::app::HotKeyController controller([&runs] { ++runs; });
    ASSERT_EQ(backend.grabs, QList{controlK});
    backend.press(controlK);
    backend.press(controlK);  // held: the key repeats
    EXPECT_EQ(runs, 0);
    backend.release(controlK);
    EXPECT_EQ(runs, 1);
}
