#pragma once

#include "keybindings/LocalEventMonitor.h"
#include "keybindings/Name.h"

#include <QLineEdit>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QProxyStyle;

namespace tavlin::KeyBindings {

class Module;

// How the recorder answers the user besides its own text: a beep for a key
// that cannot be a shortcut, and an alert for one that is taken.
class RecorderPresenter {
public:
    struct Alert {
        QString text;
        QString informativeText;
        QStringList buttons;  // the first is the default; none gives one OK button
    };

    virtual ~RecorderPresenter() = default;
    virtual void beep() = 0;
    // Shown as a warning, modal for `window` when there is one, in a nested
    // event loop. The index of the button chosen, or -1.
    virtual int alert(QWidget* window, const Alert& alert) = 0;
};

// The desktop's beep, and warning message boxes whose first button is the
// default and the answer to Escape.
class MessageBoxPresenter : public RecorderPresenter {
public:
    void beep() override;
    int alert(QWidget* window, const Alert& alert) override;
};

// A field that records the global shortcut of one Name. It shows the
// stored shortcut ("⌃⌥K"); clicking or tabbing into it starts recording:
// the next key combination is checked against the menu bar of its window
// and against the shortcuts other programs hold, then stored for the Name.
// While it records, every hot key of the module is paused and the field
// holds the keyboard, so that it gets even the combinations that this or
// another program has grabbed. The clear button
// (or Backspace or Delete while recording) removes the stored shortcut.
//
// It never starts recording by itself when its window is shown or
// activated, and it stops when it loses the focus, when its window is
// deactivated, when it is hidden and when it is destroyed. Needs the
// KeyBindings::Module for its whole life.
class RecorderControl : public QLineEdit {
    Q_OBJECT

public:
    using OnChange = std::function<void(const std::optional<Shortcut>& shortcut)>;

    static constexpr int width = 130;
    // How far outside the field a click still counts as inside.
    static constexpr int clickSlack = 3;

    // `onChange` is told of each shortcut recorded, and of none after the
    // user clears it; not of changes made elsewhere.
    explicit RecorderControl(Name name, OnChange onChange = {}, QWidget* parent = nullptr);
    ~RecorderControl() override;

    const Name& shortcutName() const { return name_; }
    // Shows the new Name's shortcut when its raw value differs.
    void setShortcutName(const Name& name);

    bool isRecording() const { return monitor_ != nullptr; }

    // Message boxes and the desktop's beep unless replaced (tests).
    void setPresenter(std::unique_ptr<RecorderPresenter> presenter);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void refresh();
    void refuseFocusForATurn();
    void startRecording();
    void endRecording();
    void setCaretHidden(bool hidden);
    void clearByUser();
    void userEdited(const QString& text);
    // True swallows the event.
    bool handleEvent(QObject* receiver, QEvent* event);
    bool handleKeyPress(const QKeyEvent& event);
    // Ends recording for the alert and starts it again after it. The
    // answer, or nothing when the field was destroyed meanwhile.
    std::optional<int> showAlert(const RecorderPresenter::Alert& alert);

    Name name_;
    OnChange onChange_;
    QPointer<Module> module_;
    std::shared_ptr<RecorderPresenter> presenter_;  // kept alive by an alert that outlives the field
    std::unique_ptr<LocalEventMonitor> monitor_;
    std::unique_ptr<QProxyStyle> caretStyle_;
};

}  // namespace tavlin::KeyBindings
