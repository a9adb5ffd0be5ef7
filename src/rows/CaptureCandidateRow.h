#pragma once

#include "rows/ParseChip.h"

#include <QWidget>

#include <functional>
#include <vector>

class QLineEdit;

namespace tavlin::rows {

class ParseChips;
class SymbolButton;

// One reminder found in a captured text, before it is added: a plus that
// adds it alone ("Add just this one"), its line in a plain field
// (placeholder "Reminder") with the chips of its reading under
// it, and a cross that drops it, 8 apart, padded 16 across and 6 up and
// down. The buttons stand on the field's line. It holds no state: the owner
// sets the text and the chips of its reading (a bare title has none, and
// then the chips take no room), and hears each edit and action. Return in
// the field is the owner's submit; the row has no keys of its own and no
// look of being selected.
class CaptureCandidateRow : public QWidget {
    Q_OBJECT

public:
    static constexpr int horizontalPadding = 16;
    static constexpr int verticalPadding = 6;
    static constexpr int spacing = 8;
    static constexpr int lineSpacing = 3;  // between the field and the chips

    explicit CaptureCandidateRow(QWidget* parent = nullptr);

    // The line as the owner has it; the field keeps its insertion point
    // while it already shows that text.
    void setText(const QString& text);
    // The chips of the line's reading, shown under the field.
    void setChips(std::vector<ParseChip> chips);

    std::function<void(const QString&)> onTextEdited;
    std::function<void()> onAdd;
    std::function<void()> onSubmit;  // Return in the field
    std::function<void()> onRemove;

    QLineEdit* field() const { return field_; }
    SymbolButton* addButton() const { return add_; }
    SymbolButton* removeButton() const { return remove_; }
    ParseChips* chips() const { return chips_; }

private:
    static void call(const std::function<void()>& action);

    SymbolButton* add_;
    QLineEdit* field_;
    ParseChips* chips_;
    SymbolButton* remove_;
};

}  // namespace tavlin::rows
