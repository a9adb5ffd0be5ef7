#include "panel/widgets/UndoBar.h"

#include "panel/PanelTexts.h"
#include "rows/ElidedLabel.h"
#include "rows/Look.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace tavlin::panel::widgets {

UndoBar::UndoBar(QWidget* parent)
    : QWidget(parent),
      message_(new rows::ElidedLabel(this)),
      count_(new QLabel(this)),
      undo_(new QPushButton(u"Undo"_s, this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 8, 12, 8);
    layout->setSpacing(8);
    setFont(rows::font(rows::TextStyle::callout));
    rows::setTone(*message_, rows::Tone::secondary);
    count_->setFont(rows::font(rows::TextStyle::callout, QFont::Medium));
    rows::setTone(*count_, rows::Tone::green);
    undo_->setFlat(true);
    undo_->setCursor(Qt::PointingHandCursor);
    // A click leaves the keyboard where it is: the button goes with the
    // bar, and the keyboard would fall to whatever comes next.
    undo_->setFocusPolicy(Qt::NoFocus);
    rows::setTone(*undo_, rows::Tone::accent);
    layout->addWidget(message_, 0);
    layout->addWidget(count_);
    layout->addStretch(1);
    layout->addWidget(undo_);
    connect(undo_, &QPushButton::clicked, this, &UndoBar::undoRequested);
}

void UndoBar::show(const UndoItem& item, int completedToday) {
    message_->setFullText(undoMessage(qsizetype(item.reminders.size()), item.title, item.kind));
    const bool completed = item.kind == UndoItem::Kind::completed;
    count_->setText(u"\u2713 %1 today"_s.arg(completedToday));
    count_->setVisible(completed);
}

}  // namespace tavlin::panel::widgets
