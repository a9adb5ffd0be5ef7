#include "rows/CaptureCandidateRow.h"

#include "rows/ParseChips.h"
#include "rows/PlainField.h"
#include "rows/SymbolButton.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace tavlin::rows {

CaptureCandidateRow::CaptureCandidateRow(QWidget* parent)
    : QWidget(parent),
      add_(new SymbolButton(Symbol::plusCircle, TextStyle::body, Tone::accent, this)),
      field_(new QLineEdit(this)),
      chips_(new ParseChips(this)),
      remove_(new SymbolButton(Symbol::xmarkCircleFill, TextStyle::body, Tone::tertiary, this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(horizontalPadding, verticalPadding, horizontalPadding, verticalPadding);
    layout->setSpacing(spacing);
    auto* lines = new QVBoxLayout;
    lines->setContentsMargins(0, 0, 0, 0);
    lines->setSpacing(lineSpacing);
    lines->addWidget(field_);
    lines->addWidget(chips_);
    layout->addWidget(add_, 0, Qt::AlignTop);
    layout->addLayout(lines, 1);
    layout->addWidget(remove_, 0, Qt::AlignTop);

    makePlainField(*field_);
    field_->setPlaceholderText(u"Reminder"_s);
    // The buttons stand on the field's line, centred on it.
    const int lineHeight = field_->sizeHint().height();
    add_->setFixedSize(add_->sizeHint().width(), lineHeight);
    remove_->setFixedSize(remove_->sizeHint().width(), lineHeight);

    add_->setToolTip(u"Add just this one"_s);
    add_->setAccessibleName(u"Add just this one"_s);
    remove_->setAccessibleName(u"Remove this candidate"_s);

    connect(add_, &QAbstractButton::clicked, this, [this] { call(onAdd); });
    connect(remove_, &QAbstractButton::clicked, this, [this] { call(onRemove); });
    connect(field_, &QLineEdit::returnPressed, this, [this] { call(onSubmit); });
    connect(field_, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (onTextEdited) onTextEdited(text);
    });
}

void CaptureCandidateRow::setText(const QString& text) {
    if (field_->text() != text) field_->setText(text);
}

void CaptureCandidateRow::setChips(std::vector<ParseChip> chips) { chips_->setChips(std::move(chips)); }

void CaptureCandidateRow::call(const std::function<void()>& action) {
    // Copied: the action may delete this row.
    if (const std::function<void()> run = action) run();
}

}  // namespace tavlin::rows
