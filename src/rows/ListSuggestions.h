#pragma once

#include <QStringList>
#include <QWidget>

#include <functional>
#include <optional>

class QLabel;
class QScrollArea;

namespace tavlin::rows {

// The list names offered while a "#list" word is typed: floating under the
// panel's field (with the title "Lists" and a line of key hints) or bare
// inside a reminder's edit row (embedded). Each row shows the name and the
// "#key" it is typed as; the row the keyboard selected is filled with the
// accent, the one under the pointer faintly, and a click picks a name. The
// owner computes the names, owns the selection (the keys are its field's)
// and applies what is picked.
class ListSuggestions : public QWidget {
    Q_OBJECT

public:
    // How a row is filled.
    enum class Fill { none, hover, selection };

    // The list's height for content `contentHeight` high: floating at
    // least 40 and at most 260, embedded at most 160 (it scrolls beyond).
    static int frameHeight(int contentHeight, bool embedded);
    // The selection's fill wins over the pointer's; an index out of the
    // rows fills nothing.
    static Fill fill(int index, int selectedIndex, std::optional<int> hoveredIndex);

    explicit ListSuggestions(bool embedded, QWidget* parent = nullptr);
    ~ListSuggestions() override;

    bool isEmbedded() const { return embedded_; }
    const QStringList& names() const { return names_; }
    // Distinct names, in display order.
    void setNames(QStringList names);
    int selectedIndex() const { return selectedIndex_; }
    // Each change after the first brings the selected row into view, with
    // the least scrolling and no animation.
    void setSelectedIndex(int index);
    // Called with the name of a clicked row, exactly as given.
    void setOnPick(std::function<void(const QString&)> onPick);

    // The row under the pointer. Entering a row takes the hover; leaving it
    // gives it up only while the hover is still that row's, since the next
    // row may have been entered first.
    std::optional<int> hoveredIndex() const { return hoveredIndex_; }
    void pointerEntered(int index);
    void pointerLeft(int index);

    QScrollArea* scrollArea() const { return scroll_; }
    // The painted rows, and row `index` within them.
    QWidget* rowsView() const;
    QRect rowRect(int index) const;
    // The height of the scrolled content, header and bottom padding included.
    int contentHeight() const;

protected:
    bool event(QEvent* event) override;

private:
    class Rows;

    void updateHeight();

    bool embedded_;
    QStringList names_;
    int selectedIndex_ = 0;
    bool selectionSet_ = false;
    std::optional<int> hoveredIndex_;
    std::function<void(const QString&)> onPick_;
    QScrollArea* scroll_;
    QWidget* content_;
    Rows* rows_;
};

}  // namespace tavlin::rows
