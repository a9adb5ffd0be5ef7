#pragma once

#include <QString>
#include <QWidget>

#include <vector>

class QCheckBox;
class QLabel;
class QVBoxLayout;

namespace tavlin::preferences {

// One section of a settings form: an optional header over a rounded panel
// whose rows are parted by hairlines. Rows may be hidden; lines part only
// the rows shown, and a caption follows the row above it without one.
class FormSection : public QWidget {
public:
    explicit FormSection(const QString& header, QWidget* parent = nullptr);

    // `label` at the leading edge, `control` at the trailing one; the row.
    QWidget* addRow(QWidget* label, QWidget* control);
    QWidget* addRow(const QString& label, QWidget* control);
    // A row holding a title and its switch at the trailing edge.
    QCheckBox* addSwitch(const QString& title);
    // Wrapping text in the caption font and the secondary colour, as a row:
    // one that explains the row above it, or (`followsAbove` false) one of its own.
    QLabel* addCaption(const QString& text, bool followsAbove = true);
    // Text in the secondary colour, as a row.
    QLabel* addNote(const QString& text);
    // A row that is `widget` across.
    QWidget* addWidget(QWidget* widget);
    // Takes out every row from `index` on; they are deleted at the next
    // turn of the main loop.
    void removeRowsFrom(int index);
    int rowCount() const;

    // The row that holds `control` (a widget of a row added here).
    static QWidget* rowOf(QWidget* control);

    // A secondary, wrapping label in the caption font.
    static QLabel* makeCaption(const QString& text, QWidget* parent);

protected:
    void changeEvent(QEvent* event) override;

private:
    class Panel;
    QWidget* addRowWidget(QWidget* row, bool followsAbove);
    void applyColors();

    QLabel* header_;
    Panel* panel_;
    QVBoxLayout* rows_;
};

// A settings form: sections one below the other, on the window's
// background.
class SettingsForm : public QWidget {
public:
    explicit SettingsForm(QWidget* parent = nullptr);

    // A section with `header` above it, or none for an empty text.
    FormSection* addSection(const QString& header = {});

private:
    QVBoxLayout* sections_;
};

}  // namespace tavlin::preferences
