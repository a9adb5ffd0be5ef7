#include "preferences/SettingsForm.h"

#include "rows/Look.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace tavlin::preferences {

namespace {

constexpr int kRowMinimumHeight = 38;
constexpr int kRowHorizontalMargin = 12;
constexpr int kRowVerticalMargin = 7;
constexpr qreal kPanelRadius = 8;
constexpr int kSectionSpacing = 18;
constexpr int kHeaderSpacing = 6;

// Marks a row that belongs to the one above it: no line between them.
constexpr char kFollowsAbove[] = "tavlinFollowsAbove";
// Marks the widgets that draw secondary text.
constexpr char kSecondary[] = "tavlinSecondaryText";

// Coloured from the section's palette when added, and again at each change
// of it (FormSection::applyColors).
void markSecondary(QLabel* label, const QPalette& palette) {
    label->setProperty(kSecondary, true);
    rows::setTextColor(*label, QPalette::WindowText, rows::color(palette, rows::Tone::secondary));
}

}  // namespace

// The rounded panel behind a section's rows, with a hairline between rows.
class FormSection::Panel final : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QPalette& colors = palette();
        // A step lighter than the window in the dark, the base white in the light.
        const QColor fill =
            rows::isDark(colors) ? colors.color(QPalette::Window).lighter(128) : colors.color(QPalette::Base);
        QColor line = colors.color(QPalette::WindowText);
        line.setAlphaF(rows::isDark(colors) ? 0.14 : 0.1);

        QPainterPath shape;
        shape.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), kPanelRadius, kPanelRadius);
        painter.fillPath(shape, fill);
        painter.setPen(QPen(line, 1));
        painter.drawPath(shape);

        // Filled, not stroked: one rectangle per line is what costs least.
        bool first = true;
        for (QObject* child : children()) {
            auto* row = qobject_cast<QWidget*>(child);
            if (!row || row->isHidden()) continue;
            if (!first && !row->property(kFollowsAbove).toBool())
                painter.fillRect(QRect(kRowHorizontalMargin, row->y(), width() - 2 * kRowHorizontalMargin, 1), line);
            first = false;
        }
    }
};

FormSection::FormSection(const QString& header, QWidget* parent)
    : QWidget(parent), header_(new QLabel(header, this)), panel_(new Panel(this)), rows_(new QVBoxLayout(panel_)) {
    QFont bold = header_->font();
    bold.setBold(true);
    header_->setFont(bold);
    header_->setContentsMargins(kRowHorizontalMargin / 2, 0, 0, 0);
    header_->setVisible(!header.isEmpty());

    rows_->setContentsMargins(0, 0, 0, 0);
    rows_->setSpacing(0);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(kHeaderSpacing);
    layout->addWidget(header_);
    layout->addWidget(panel_);
}

QWidget* FormSection::addRowWidget(QWidget* row, bool followsAbove) {
    row->setParent(panel_);
    row->setProperty(kFollowsAbove, followsAbove);
    rows_->addWidget(row);
    return row;
}

QWidget* FormSection::addRow(QWidget* label, QWidget* control) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(kRowHorizontalMargin, kRowVerticalMargin, kRowHorizontalMargin, kRowVerticalMargin);
    layout->setSpacing(12);
    row->setMinimumHeight(kRowMinimumHeight);
    layout->addWidget(label, 1, Qt::AlignVCenter);
    if (control) layout->addWidget(control, 0, Qt::AlignVCenter | Qt::AlignRight);
    return addRowWidget(row, false);
}

QWidget* FormSection::addRow(const QString& label, QWidget* control) { return addRow(new QLabel(label), control); }

QCheckBox* FormSection::addSwitch(const QString& title) {
    auto* label = new QLabel(title);
    auto* toggle = new QCheckBox;
    toggle->setAccessibleName(title);
    label->setBuddy(toggle);
    addRow(label, toggle);
    return toggle;
}

QLabel* FormSection::makeCaption(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setFont(rows::font(label->font(), rows::TextStyle::caption));
    markSecondary(label, parent ? parent->palette() : label->palette());
    return label;
}

QLabel* FormSection::addCaption(const QString& text, bool followsAbove) {
    QLabel* label = makeCaption(text, this);
    auto* row = new QWidget;
    auto* layout = new QVBoxLayout(row);
    layout->setContentsMargins(kRowHorizontalMargin, followsAbove ? 0 : kRowVerticalMargin + 2, kRowHorizontalMargin,
                               kRowVerticalMargin + 2);
    layout->addWidget(label);
    addRowWidget(row, followsAbove);
    return label;
}

QLabel* FormSection::addNote(const QString& text) {
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    markSecondary(label, palette());
    addRow(label, nullptr);
    return label;
}

QWidget* FormSection::addWidget(QWidget* widget) {
    auto* row = new QWidget;
    row->setMinimumHeight(kRowMinimumHeight);
    auto* layout = new QVBoxLayout(row);
    layout->setContentsMargins(kRowHorizontalMargin, kRowVerticalMargin, kRowHorizontalMargin, kRowVerticalMargin);
    layout->addWidget(widget);
    return addRowWidget(row, false);
}

void FormSection::removeRowsFrom(int index) {
    while (rows_->count() > index) {
        QLayoutItem* item = rows_->takeAt(index);
        // Later: the row may be the one whose signal is being handled.
        if (QWidget* row = item->widget()) {
            row->hide();
            row->deleteLater();
        }
        delete item;
    }
}

int FormSection::rowCount() const { return rows_->count(); }

QWidget* FormSection::rowOf(QWidget* control) {
    QWidget* row = control;
    while (row && row->parentWidget() && !dynamic_cast<Panel*>(row->parentWidget())) row = row->parentWidget();
    return row;
}

void FormSection::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) applyColors();
    QWidget::changeEvent(event);
}

void FormSection::applyColors() {
    // The secondary colour is fixed on each label; it follows the palette here.
    for (QLabel* label : findChildren<QLabel*>())
        if (label->property(kSecondary).toBool())
            rows::setTextColor(*label, QPalette::WindowText, rows::color(palette(), rows::Tone::secondary));
}

SettingsForm::SettingsForm(QWidget* parent) : QWidget(parent), sections_(new QVBoxLayout(this)) {
    sections_->setContentsMargins(20, 18, 20, 20);
    sections_->setSpacing(kSectionSpacing);
    sections_->addStretch(1);
}

FormSection* SettingsForm::addSection(const QString& header) {
    auto* section = new FormSection(header, this);
    sections_->insertWidget(sections_->count() - 1, section);
    return section;
}

}  // namespace tavlin::preferences
