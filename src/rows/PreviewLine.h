#pragma once

#include "rows/ParseChip.h"

#include <QWidget>

#include <functional>
#include <vector>

namespace tavlin::rows {

class ElidedLabel;
class InterpretingIndicator;
class ParseChips;
class SymbolView;

// One line of a reminder about to be created: a plus in the accent, its
// title on one line, its chips, the interpreting indicator while the model
// reads it, and a key hint at the end, 8 apart, padded 8 across and 6 up
// and down, on a highlight of the accent at 0.18 (corner radius 6) while
// selected, the whole inset 8 from the panel's sides.
//
// The title keeps its room first: the hint and the chips give way, down to
// their least, before the title is cut short.
class PreviewLine : public QWidget {
    Q_OBJECT

public:
    static constexpr int inset = 8;
    static constexpr int horizontalPadding = 8;
    static constexpr int verticalPadding = 6;
    static constexpr int spacing = 8;
    static constexpr double cornerRadius = 6;
    static constexpr double selectedFill = 0.18;

    explicit PreviewLine(QWidget* parent = nullptr);
    ~PreviewLine() override;

    void setTitle(const QString& title);
    void setChips(std::vector<ParseChip> chips);
    void setInterpreting(bool interpreting);
    // None when empty.
    void setHint(const QString& hint);
    void setSelected(bool selected);
    bool isSelected() const { return selected_; }
    void setReduceMotion(std::function<bool()> reduceMotion);

    ElidedLabel* titleLabel() const { return title_; }
    ParseChips* chipsView() const { return chips_; }
    InterpretingIndicator* indicator() const { return indicator_; }
    ElidedLabel* hintLabel() const { return hint_; }
    // The highlight's rectangle.
    QRect highlightRect() const;

    // How a line shares `room` (its width without the fixed parts and the
    // gaps) between the title, the chips and the hint, each wanting its
    // natural width and able to give way to its least (the title to none).
    struct Want {
        int natural = 0;
        int least = 0;
    };
    struct Widths {
        int title = 0;
        int chips = 0;
        int hint = 0;
        friend bool operator==(const Widths&, const Widths&) = default;
    };
    static Widths share(int room, int title, Want chips, Want hint);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void place();
    int lineHeight() const;
    bool hasChips() const;
    bool hasIndicator() const;
    bool hasHint() const;
    // The width the fixed parts and the gaps take.
    int fixedWidth() const;
    Want hintWant() const;

    SymbolView* plus_;
    ElidedLabel* title_;
    ParseChips* chips_;
    InterpretingIndicator* indicator_;
    ElidedLabel* hint_;
    bool selected_ = false;
};

}  // namespace tavlin::rows
