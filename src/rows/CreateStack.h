#pragma once

#include "rows/Click.h"
#include "rows/ParseChip.h"

#include <QWidget>

#include <functional>
#include <set>
#include <vector>

namespace tavlin::rows {

class PreviewLine;

// A typed line of several tasks, each to become a reminder of its own: a
// preview line per task, a divider (16 across, 5 up and down) before every
// one but the first, and under each an empty slot its owner may fill (the
// place the task names). The first line's hint says how many Return adds;
// while the stack is selected every line is lit. A click anywhere on the
// stack that nothing inside takes creates them all, once.
class CreateStack : public QWidget {
    Q_OBJECT

public:
    static constexpr int dividerHorizontalPadding = 16;
    static constexpr int dividerVerticalPadding = 5;

    struct Part {
        QString title;
        std::vector<ParseChip> chips;

        friend bool operator==(const Part&, const Part&) = default;
    };
    struct Inputs {
        std::vector<Part> parts;
        bool isSelected = false;
        std::set<int> interpretingIndices;  // the parts the model is still reading

        friend bool operator==(const Inputs&, const Inputs&) = default;
    };

    // "↩ adds 3".
    static QString countHint(std::size_t count);

    explicit CreateStack(QWidget* parent = nullptr);
    ~CreateStack() override;

    // Lines, dividers and slots are kept where the count of parts stays.
    void setInputs(const Inputs& inputs);
    void setReduceMotion(std::function<bool()> reduceMotion);
    std::function<void()> onCreate;

    int partCount() const { return int(blocks_.size()); }
    PreviewLine* line(int index) const;
    // Nothing before the first part.
    QWidget* divider(int index) const;
    // Where the owner puts what goes under part `index`; shown while it holds
    // a widget.
    QWidget* slot(int index) const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct Block {
        QWidget* divider;
        PreviewLine* line;
        QWidget* slot;
    };

    std::vector<Block> blocks_;
    std::function<bool()> reduceMotion_;
    Click click_;
};

}  // namespace tavlin::rows
