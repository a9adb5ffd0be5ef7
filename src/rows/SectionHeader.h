#pragma once

#include <QLabel>

class QPainter;

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

    // The same title painted by a list: in `row` (of the height below, with
    // `extraTop` more room above), in `palette`'s secondary tone.
    static QString shownText(const QString& title);
    static QFont headerFont(const QFont& base);
    static double paintedHeight(const QFont& base, double extraTop);
    static void paint(QPainter& painter, const QRectF& row, const QString& title, const QFont& base,
                      int horizontalPadding, double extraTop, const QPalette& palette);

private:
    QString title_;
};

}  // namespace tavlin::rows
