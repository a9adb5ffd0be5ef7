#pragma once

#include "rows/ParseChip.h"

#include <QWidget>

#include <vector>

namespace tavlin::rows {

// The chips of a typed line in a row, 4 apart: each a capsule of the
// accent at 0.15 holding its symbol and its text in the accent, in the
// caption style, padded 6 across and 2 up and down. Without chips it takes
// no room at all. Given less than its natural width it squeezes its chips,
// each down to its symbol and "…", and beyond that leaves out the last ones.
// It paints; it has no actions.
class ParseChips : public QWidget {
    Q_OBJECT

public:
    static constexpr int spacing = 4;
    static constexpr int horizontalPadding = 6;
    static constexpr int verticalPadding = 2;
    static constexpr int symbolGap = 3;  // between a chip's symbol and its text

    explicit ParseChips(QWidget* parent = nullptr);

    const std::vector<ParseChip>& chips() const { return chips_; }
    void setChips(std::vector<ParseChip> chips);

    // Each chip's width when the chips have `width`; 0 for a chip left out.
    std::vector<int> chipWidths(int width) const;
    // The widths of `natural` chips, each no narrower than its `least`, fitted
    // into `width` with `gap` between them: all of them shrunk alike in
    // proportion to what they can give, then the last ones left out (0).
    static std::vector<int> squeezed(const std::vector<int>& natural, const std::vector<int>& least, int gap,
                                     int width);

    QSize sizeHint() const override;
    // Every chip at its least.
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int chipHeight() const;
    int textWidth(const QString& text) const;
    int naturalWidth(const ParseChip& chip) const;
    int leastWidth() const;

    std::vector<ParseChip> chips_;
};

}  // namespace tavlin::rows
