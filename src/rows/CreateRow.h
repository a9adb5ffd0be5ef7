#pragma once

#include "rows/Click.h"
#include "rows/PreviewLine.h"

#include <functional>

namespace tavlin::rows {

// The typed line as the one reminder that Return creates: a preview line
// with the hint "↩". A click anywhere on it, between its parts too, creates.
class CreateRow : public PreviewLine {
    Q_OBJECT

public:
    struct Inputs {
        QString title;
        std::vector<ParseChip> chips;
        bool isSelected = false;
        bool isInterpreting = false;  // the model is still reading the line

        friend bool operator==(const Inputs&, const Inputs&) = default;
    };

    explicit CreateRow(QWidget* parent = nullptr);

    void setInputs(const Inputs& inputs);
    std::function<void()> onCreate;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Click click_;
};

}  // namespace tavlin::rows
