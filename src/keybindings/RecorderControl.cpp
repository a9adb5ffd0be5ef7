#include "keybindings/RecorderControl.h"

#include "keybindings/Key.h"
#include "keybindings/KeyBindings.h"
#include "keybindings/Texts.h"
#include "platform/X11Connection.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleFactory>
#include <QTimer>

namespace tavlin::KeyBindings {

namespace {

// The caret of a line edit is drawn as wide as the style says.
class NoCaretStyle final : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
        if (metric == PM_TextCursorWidth) return 0;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

bool isModifierKey(int key) {
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_Mode_switch: return true;
    default: return false;
    }
}

bool isFunctionKey(int key) { return key >= Qt::Key_F1 && key <= Qt::Key_F35; }

// "&Quit\tCtrl+Q" is shown as "Quit".
QString menuItemTitle(const QAction& action) {
    const QString text = action.text().section(u'\t', 0, 0);
    QString title;
    title.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'&') title += text[i];
        else if (i + 1 < text.size() && text[i + 1] == u'&') title += text[++i];
    }
    return title;
}

}  // namespace

void MessageBoxPresenter::beep() { QApplication::beep(); }

int MessageBoxPresenter::alert(QWidget* window, const Alert& alert) {
    QMessageBox box(QMessageBox::Warning, QString(), alert.text, QMessageBox::NoButton, window);
    box.setInformativeText(alert.informativeText);
    QList<QAbstractButton*> buttons;
    for (const QString& title : alert.buttons)
        buttons << box.addButton(title, buttons.isEmpty() ? QMessageBox::AcceptRole : QMessageBox::ActionRole);
    if (!buttons.isEmpty()) {
        box.setDefaultButton(static_cast<QPushButton*>(buttons.first()));
        box.setEscapeButton(buttons.first());
    }
    if (window) box.setWindowModality(Qt::WindowModal);
    box.exec();
    return int(buttons.indexOf(box.clickedButton()));
}

RecorderControl::RecorderControl(Name name, OnChange onChange, QWidget* parent)
    : QLineEdit(parent),
      name_(std::move(name)),
      onChange_(std::move(onChange)),
      module_(&Module::instance()),
      presenter_(std::make_unique<MessageBoxPresenter>()) {
    setPlaceholderText(localizedString("record_shortcut"));
    setAlignment(Qt::AlignCenter);
    setClearButtonEnabled(true);
    // Only the recorder itself puts text here: no input method, no paste by
    // menu or drop.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    refresh();
    connect(module_, &Module::shortcutByNameDidChange, this, [this](const Name& changed) {
        if (changed == name_) refresh();
    });
    // The user's edits only (the clear button), never a refresh's text.
    connect(this, &QLineEdit::textEdited, this, &RecorderControl::userEdited);
}

// Else the module would stay paused, and every hot key dead.
RecorderControl::~RecorderControl() { endRecording(); }

void RecorderControl::setShortcutName(const Name& name) {
    const bool isNew = name.rawValue() != name_.rawValue();
    name_ = name;
    if (isNew) refresh();
}

void RecorderControl::setPresenter(std::unique_ptr<RecorderPresenter> presenter) { presenter_ = std::move(presenter); }

QSize RecorderControl::sizeHint() const { return {width, QLineEdit::sizeHint().height()}; }

QSize RecorderControl::minimumSizeHint() const { return sizeHint(); }

bool RecorderControl::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::WindowActivate: refuseFocusForATurn(); break;
    case QEvent::WindowDeactivate: {
        // Clearing the focus keeps the window from handing it back, and
        // recording with it, when it is activated again.
        const bool wasFocused = hasFocus();
        clearFocus();
        if (!wasFocused) endRecording();
        break;
    }
    default: break;
    }
    return QLineEdit::event(event);
}

void RecorderControl::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    deselect();
    startRecording();
}

void RecorderControl::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    endRecording();
}

void RecorderControl::showEvent(QShowEvent* event) {
    QLineEdit::showEvent(event);
    refuseFocusForATurn();
}

void RecorderControl::hideEvent(QHideEvent* event) {
    QLineEdit::hideEvent(event);
    endRecording();
}

// The middle button would paste the selection.
void RecorderControl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) return;
    QLineEdit::mouseReleaseEvent(event);
}

void RecorderControl::refresh() {
    const std::optional<Shortcut> shortcut = getShortcut(name_);
    setText(shortcut ? shortcut->description() : QString());
}

// A window that is shown or activated gives the focus to its first field;
// the recorder must not start recording on its own.
void RecorderControl::refuseFocusForATurn() {
    setFocusPolicy(Qt::NoFocus);
    QTimer::singleShot(0, this, [this] { setFocusPolicy(Qt::StrongFocus); });
}

void RecorderControl::startRecording() {
    setPlaceholderText(localizedString("press_shortcut"));
    setCaretHidden(true);
    // A grab of the whole keyboard outranks the key grabs of every program:
    // else a combination that one holds would never arrive here. Elsewhere
    // there are no such grabs, nor a keyboard grab.
    if (platform::qtX11Connection()) grabKeyboard();
    setPaused(true);
    emit module_->recorderActiveStatusDidChange(true);
    LocalEventMonitor::end(monitor_);
    monitor_ = std::make_unique<LocalEventMonitor>(
        QSet{QEvent::KeyPress, QEvent::ShortcutOverride, QEvent::MouseButtonRelease},
        [this](QObject* receiver, QEvent* event) { return handleEvent(receiver, event); });
}

void RecorderControl::endRecording() {
    const bool wasRecording = isRecording();
    // From inside the monitor's own callback, when a key ends recording.
    LocalEventMonitor::end(monitor_);
    if (wasRecording && platform::qtX11Connection()) releaseKeyboard();
    setPlaceholderText(localizedString("record_shortcut"));
    setCaretHidden(false);
    if (!module_) return;
    // Another recorder may have started meanwhile.
    if (wasRecording) setPaused(false);
    emit module_->recorderActiveStatusDidChange(false);
}

void RecorderControl::setCaretHidden(bool hidden) {
    if (!hidden) {
        if (caretStyle_ && style() == caretStyle_.get()) setStyle(nullptr);
        return;
    }
    if (!caretStyle_) {
        // A style of the application's kind; a proxy of the application's
        // own would take it over.
        QStyle* base = QStyleFactory::create(QApplication::style()->name());
        if (!base) return;
        caretStyle_ = std::make_unique<NoCaretStyle>(base);
    }
    setStyle(caretStyle_.get());
}

void RecorderControl::clearByUser() {
    clear();
    userEdited(QString());
}

void RecorderControl::userEdited(const QString& text) {
    if (!text.isEmpty()) {
        refresh();
        return;
    }
    setShortcut(std::nullopt, name_);
    if (onChange_) onChange_(std::nullopt);
    // Recording goes on, or starts, for the shortcut that replaces it.
    setFocus(Qt::OtherFocusReason);
}

bool RecorderControl::handleEvent(QObject* receiver, QEvent* event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // No shortcut of the application fires while recording: the key
        // press comes here instead.
        if (receiver != this) return false;
        event->accept();
        return true;
    case QEvent::KeyPress:
        // The focus is here while recording: the first delivery comes to
        // this field, and only what it passes on goes further.
        return receiver == this && handleKeyPress(*static_cast<QKeyEvent*>(event));
    case QEvent::MouseButtonRelease: {
        // A window passes the release on to the widget it is for; judge it there.
        if (!receiver->isWidgetType()) return false;
        const auto& mouse = *static_cast<QMouseEvent*>(event);
        if (mouse.button() != Qt::LeftButton && mouse.button() != Qt::RightButton) return false;
        const QPoint point = mapFromGlobal(mouse.globalPosition()).toPoint();
        if (!rect().adjusted(-clickSlack, -clickSlack, clickSlack, clickSlack).contains(point)) {
            clearFocus();
            return false;
        }
        // The clear button is a child of the field; its click must land.
        return !isAncestorOf(static_cast<QWidget*>(receiver));
    }
    default: return false;
    }
}

bool RecorderControl::handleKeyPress(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers =
        event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const bool noModifiers = modifiers == Qt::NoModifier;
    const bool noCommandModifier = !(modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    const int key = event.key();

    // A modifier on its way to a combination.
    if (isModifierKey(key)) return true;
    if (noModifiers && key == Qt::Key_Tab) {
        if (!focusNextChild()) clearFocus();
        return true;
    }
    if (noModifiers && key == Qt::Key_Escape) {
        clearFocus();
        return true;
    }
    if (noModifiers && (key == Qt::Key_Backspace || key == Qt::Key_Delete)) {
        clearByUser();
        return true;
    }
    // A global shortcut of a plain key would take that key from typing
    // everywhere; function keys type nothing.
    if (noCommandModifier && !isFunctionKey(key)) {
        presenter_->beep();
        return true;
    }
    const std::optional<Shortcut> shortcut = Shortcut::fromKeyEvent(event);
    if (!shortcut) {
        presenter_->beep();
        return true;
    }

    if (const auto* menuBar = window()->findChild<QMenuBar*>()) {
        if (const QAction* item = shortcut->conflictingMenuItem(*menuBar)) {
            showAlert({localizedString("keyboard_shortcut_used_by_menu_item").arg(menuItemTitle(*item)), {}, {}});
            return true;
        }
    }
    // F12 alone is left to the user even where the desktop has it.
    const bool isF12Alone = *shortcut == Shortcut(Key::f12, Qt::NoModifier);
    if (!isF12Alone && isHeldByAnotherProgram(*shortcut)) {
        const std::optional<int> answer = showAlert({localizedString("keyboard_shortcut_used_by_system"),
                                                     localizedString("keyboard_shortcuts_can_be_changed"),
                                                     {localizedString("ok"), localizedString("force_use_shortcut")}});
        // Forced, it is stored although its grab will be refused (and printed).
        if (answer != 1) return true;
    }

    setText(shortcut->description());
    setShortcut(*shortcut, name_);
    if (onChange_) onChange_(*shortcut);
    clearFocus();
    return true;
}

std::optional<int> RecorderControl::showAlert(const RecorderPresenter::Alert& alert) {
    const QPointer<RecorderControl> self(this);
    clearFocus();
    const std::shared_ptr<RecorderPresenter> presenter = presenter_;
    const int answer = presenter->alert(window(), alert);
    // The nested event loop may have closed the window for good.
    if (!self) return std::nullopt;
    setFocus(Qt::OtherFocusReason);
    return answer;
}

}  // namespace tavlin::KeyBindings
