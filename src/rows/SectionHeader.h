#pragma once

#include <QLabel>

namespace tavlin::rows {

// The small title above a section of the panel's list, drawn in capitals
// in the caption style, inset by `horizontalPadding` at both sides, 8 below
// what comes before it and 4 above its first row.
class SectionHeader : public QLabel {
    Q_OBJECT

public:
    SectionHeader(const QString& title, int horizontalPadding, QWidget* parent = nullptr);

    // The title in its natural case.
    const QString& title() const { return title_; }

private:
    QString title_;
};

}  // namespace tavlin::rows
