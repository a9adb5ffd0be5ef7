#include "panel/PanelKeys.h"

namespace tavlin::panel {

std::optional<PanelListKey> listKey(int key, Qt::KeyboardModifiers modifiers, bool textHasFocus) {
    if (textHasFocus) return std::nullopt;
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return std::nullopt;
    const bool shift = modifiers & Qt::ShiftModifier;
    switch (key) {
    case Qt::Key_Up: return shift ? PanelListKey::extendUp : PanelListKey::up;
    case Qt::Key_Down: return shift ? PanelListKey::extendDown : PanelListKey::down;
    case Qt::Key_Space:
        if (shift) return std::nullopt;
        return PanelListKey::space;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (shift) return std::nullopt;
        return PanelListKey::return_;
    default: return std::nullopt;
    }
}

bool isDeleteSelectionKey(int key, Qt::KeyboardModifiers modifiers) {
    return (key == Qt::Key_Backspace || key == Qt::Key_Delete) && modifiers == Qt::ControlModifier;
}

KeyRoute KeyRouter::route(QEvent::Type type, int key, Qt::KeyboardModifiers modifiers, bool isAutoRepeat,
                          bool wantsListKeys, bool textHasFocus) {
    if (type == QEvent::ShortcutOverride) {
        if (!isDeleteSelectionKey(key, modifiers)) return KeyRoute::none;
        deleteTakenAtOverride_ = key;
        return isAutoRepeat ? KeyRoute::swallow : KeyRoute::deleteSelection;
    }
    if (type == QEvent::KeyRelease) return KeyRoute::none;
    if (type != QEvent::KeyPress) return KeyRoute::none;

    if (deleteTakenAtOverride_) {
        const bool taken = *deleteTakenAtOverride_ == key;
        deleteTakenAtOverride_.reset();
        if (taken) return KeyRoute::swallow;
    }
    if (isDeleteSelectionKey(key, modifiers)) return isAutoRepeat ? KeyRoute::swallow : KeyRoute::deleteSelection;
    if (key == Qt::Key_Escape && !(modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return KeyRoute::cancel;
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && (modifiers & Qt::ControlModifier))
        return isAutoRepeat ? KeyRoute::swallow : KeyRoute::commandReturn;
    if (wantsListKeys && listKey(key, modifiers, textHasFocus)) return KeyRoute::listKey;
    return KeyRoute::none;
}

}  // namespace tavlin::panel
