#include "app/HotKeyController.h"

#include "keybindings/KeyBindings.h"

#include <QCoreApplication>
#include <QThread>

namespace tavlin::app {

HotKeyController::HotKeyController(std::function<void()> action) {
    KeyBindings::onKeyUp(KeyBindings::Name::togglePanel, [action = std::move(action)] { invokeOnMainActor(action); });
}

void HotKeyController::invokeOnMainActor(const std::function<void()>& action) {
    Q_ASSERT(QThread::currentThread() == QCoreApplication::instance()->thread());
    action();
}

}  // namespace tavlin::app
