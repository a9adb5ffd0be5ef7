#include "rows/PermissionView.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavlin::rows {

PermissionView::PermissionView(Symbol symbol, Tone symbolTone, const QString& text, const QString& buttonTitle,
                               QWidget* parent)
    : QWidget(parent), text_(new QLabel(text, this)), button_(new QPushButton(buttonTitle, this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->setSpacing(12);
    layout->addWidget(new SymbolView(symbol, TextStyle::largeTitle, symbolTone, this), 0, Qt::AlignHCenter);
    layout->addWidget(text_);
    layout->addWidget(button_, 0, Qt::AlignHCenter);

    text_->setTextFormat(Qt::PlainText);
    text_->setWordWrap(true);
    text_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    text_->setFont(rows::font(TextStyle::body));
    setTone(*text_, Tone::secondary);

    button_->setAutoDefault(true);
    button_->setDefault(true);
}

void PermissionView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    button_->setFocus(Qt::OtherFocusReason);
}

void PermissionView::keyPressEvent(QKeyEvent* event) {
    // Return with the keyboard anywhere in the view.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !event->isAutoRepeat()) {
        button_->click();
        return event->accept();
    }
    QWidget::keyPressEvent(event);
}

}  // namespace tavlin::rows
