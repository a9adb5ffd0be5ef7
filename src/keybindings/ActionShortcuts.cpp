#include "keybindings/ActionShortcuts.h"

#include "keybindings/KeyBindings.h"

#include <QAction>

using namespace Qt::StringLiterals;

namespace tavlin::KeyBindings {

namespace {

// A child of the action, so that it ends with it.
const QString kBindingName = u"KeyBindings_shortcutBinding"_s;

}  // namespace

void setShortcut(QAction* action, const std::optional<Shortcut>& shortcut) {
    const std::optional<QKeySequence> sequence = shortcut ? shortcut->keySequence() : std::nullopt;
    action->setShortcut(sequence.value_or(QKeySequence()));
}

void bindShortcut(QAction* action, const std::optional<Name>& name) {
    // Else the action would follow two Names.
    delete action->findChild<QObject*>(kBindingName, Qt::FindDirectChildrenOnly);
    if (!name) {
        setShortcut(action, std::nullopt);
        return;
    }
    setShortcut(action, getShortcut(*name));
    auto* binding = new QObject(action);
    binding->setObjectName(kBindingName);
    QObject::connect(&Module::instance(), &Module::shortcutByNameDidChange, binding,
                     [action, binding, name = *name](const Name& changed) {
                         if (changed != name) return;
                         QMetaObject::invokeMethod(
                             binding, [action, name] { setShortcut(action, getShortcut(name)); }, Qt::QueuedConnection);
                     });
}

}  // namespace tavlin::KeyBindings
