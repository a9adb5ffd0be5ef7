#pragma once

#include <QString>

#include <optional>

namespace tavlin::panel {

// A sideways two-finger scroll on a reminder's row: the row slides towards
// its leading edge and shows "Edit" and "Delete" at its trailing edge; let
// go past most of the row's width, it deletes the row. One row at a time.
class RowSwipe {
public:
    static constexpr double actionWidth = 72;  // each of the two buttons
    static constexpr double revealedWidth = 2 * actionWidth;
    static constexpr double fullSwipeShare = 0.6;  // of the row's width

    // What became of a swipe when the fingers left.
    enum class Release { closed, revealed, deleteRow };

    // The row being swiped, and how far it has slid (0…its width).
    const std::optional<QString>& row() const { return row_; }
    double offset() const { return offset_; }
    double offset(const QString& id) const { return row_ == id ? offset_ : 0; }

    // A scroll of `delta` pixels towards the leading edge (negative: back)
    // on row `id`, `width` wide. Another row's swipe closes first.
    void scroll(const QString& id, double delta, double width);
    // The fingers left: past the full-swipe share the row is deleted (and
    // the swipe closes), past half the buttons they stay shown, else the
    // row slides back.
    Release release(double width);
    void close();
    // The buttons shown on row `id` at once, as a finished swipe leaves them.
    void reveal(const QString& id);

private:
    std::optional<QString> row_;
    double offset_ = 0;
};

}  // namespace tavlin::panel
