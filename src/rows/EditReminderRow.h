#pragma once

#include <QStringList>
#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;

namespace tavlin::rows {

class ListSuggestions;

// The inline editor that takes a reminder's place in the panel's list while
// the reminder is edited: a pencil, the reminder's line in a plain field,
// under it the reading's chips with a key hint, and the "#list" names
// offered while a list is typed. It holds no state of its own: the text and
// the names are the owner's, and every key is the owner's to decide. The
// field takes the keyboard at the next turn after the row shows. Escape is
// not handled here.
class EditReminderRow : public QWidget {
    Q_OBJECT

public:
    // Down, Up and Tab are offered to the owner first: true means it used
    // the key; false lets the field have it.
    struct Actions {
        std::function<void(const QString&)> onTextEdited;
        std::function<void()> onSave;  // Return, once per press
        std::function<bool()> onArrowDown;
        std::function<bool()> onArrowUp;
        std::function<bool()> onTab;
        std::function<void(const QString&)> onPickList;  // a name clicked
    };

    static constexpr int horizontalPadding = 8;
    static constexpr int verticalPadding = 6;

    explicit EditReminderRow(QWidget* parent = nullptr);
    ~EditReminderRow() override;

    void setActions(Actions actions);
    // The owner's text; the caret stays where it is when the text is the same.
    void setText(const QString& text);
    // The names offered and the highlighted one; none: the plain hint.
    void setListSuggestions(const QStringList& names, int selectedIndex);
    // The reading's chips, placed before the hint; the row owns them.
    void setChips(QWidget* chips);

    QLineEdit* lineEdit() const;
    QLabel* hint() const { return hint_; }
    // The chips placed before the hint; none until set.
    QWidget* chips() const { return chips_; }
    // None while no name is offered.
    ListSuggestions* suggestions() const { return suggestions_; }

signals:
    // The row's height may have changed (names offered or gone).
    void heightChanged();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    class Field;

    Field* field_;
    QWidget* hintLine_;
    QWidget* chips_ = nullptr;
    QLabel* hint_;
    QWidget* suggestionsHolder_;
    ListSuggestions* suggestions_ = nullptr;
    std::function<void(const QString&)> onPickList_;
};

}  // namespace tavlin::rows
