#include "keybindings/WidgetShortcuts.h"

#include "keybindings/ActionShortcuts.h"
#include "keybindings/KeyBindings.h"

#include <QAction>
#include <QEvent>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace tavlin::KeyBindings {

namespace {

const QString kGlobalShortcutName = u"KeyBindings_globalShortcut"_s;

// Opens the stream when its widget is shown and ends it when it is hidden.
class StreamWhileShown final : public QObject {
public:
    StreamWhileShown(QWidget* widget, std::function<EventStream()> openStream)
        : QObject(widget), openStream_(std::move(openStream)) {
        widget->installEventFilter(this);
        if (widget->isVisible()) open();
    }

private:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show) open();
        else if (event->type() == QEvent::Hide) stream_.end();
        return false;
    }

    void open() {
        if (!stream_.isOpen()) stream_ = openStream_();
    }

    std::function<EventStream()> openStream_;
    EventStream stream_;
};

// What a view carries: the Name's shortcut, or none while a recorder records.
class GlobalShortcut final : public QObject {
public:
    GlobalShortcut(QAction* action, Name name) : QObject(action), action_(action), name_(std::move(name)) {
        setObjectName(kGlobalShortcutName);
        apply();
        connect(&Module::instance(), &Module::shortcutByNameDidChange, this, [this](const Name& changed) {
            if (changed == name_) apply();
        });
        connect(&Module::instance(), &Module::recorderActiveStatusDidChange, this, [this](bool isActive) {
            isRecorderActive_ = isActive;
            apply();
        });
    }

private:
    void apply() { setShortcut(action_, isRecorderActive_ ? std::nullopt : getShortcut(name_)); }

    QAction* action_;
    Name name_;
    bool isRecorderActive_ = false;
};

}  // namespace

void onGlobalShortcut(QWidget* widget, const Name& name, std::function<void(EventType)> perform) {
    new StreamWhileShown(widget, [name, perform = std::move(perform)] { return events(name, perform); });
}

void onGlobalShortcut(QWidget* widget, const Name& name, EventType type, std::function<void()> perform) {
    new StreamWhileShown(widget, [type, name, perform = std::move(perform)] {
        return events(type, name, [perform](EventType) { perform(); });
    });
}

void globalShortcut(QAction* action, const Name& name) {
    delete action->findChild<QObject*>(kGlobalShortcutName, Qt::FindDirectChildrenOnly);
    new GlobalShortcut(action, name);
}

}  // namespace tavlin::KeyBindings
