#pragma once

#include <QLineEdit>
#include <QWidget>

#include <functional>

namespace tavlin::rows {

class SymbolView;

// The panel's one text field, where the user both searches the reminders
// and writes a new one: a magnifier, then the field. It only reports keys;
// what they mean is its owner's. The owner binds the text (lineEdit()) and
// the focus.
class SearchField : public QWidget {
    Q_OBJECT

public:
    // What the keys of the field ask of the owner. An arrow up or a Tab that
    // the owner answers false to goes on to the field as in any text field
    // (the insertion point moves; the focus moves on). A key with no closure
    // goes on as well, and an arrow down without one is dropped.
    struct Keys {
        std::function<void()> onSubmit;     // Return, once per press, an empty field included
        std::function<void()> onArrowDown;  // the field never sees it
        std::function<bool()> onArrowUp;    // true: the owner used the key
        std::function<bool()> onTab;        // true: the owner used the key
    };

    static constexpr int horizontalPadding = 12;
    static constexpr int spacing = 8;

    explicit SearchField(int verticalPadding, QWidget* parent = nullptr);

    void setKeys(Keys keys);
    QLineEdit* lineEdit() const;

private:
    class Edit;

    Edit* edit_;
    SymbolView* magnifier_;
};

}  // namespace tavlin::rows
