#include "rows/SearchField.h"

#include "rows/Look.h"
#include "rows/PlainField.h"
#include "rows/Symbol.h"

#include <QHBoxLayout>
#include <QKeyEvent>

using namespace Qt::StringLiterals;

namespace tavlin::rows {

// The text field that asks its owner about its keys first.
class SearchField::Edit final : public QLineEdit {
public:
    explicit Edit(QWidget* parent) : QLineEdit(parent) {}

    Keys keys;

protected:
    bool event(QEvent* event) override {
        // Tab is QWidget::event's (it moves the focus on) before
        // keyPressEvent would see it.
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Tab && !(key->modifiers() & ~Qt::KeypadModifier) && keys.onTab && keys.onTab()) {
                key->accept();
                return true;
            }
        }
        return QLineEdit::event(event);
    }

    void keyPressEvent(QKeyEvent* event) override {
        switch (event->key()) {
        case Qt::Key_Down:
            if (keys.onArrowDown) keys.onArrowDown();
            event->accept();
            return;
        case Qt::Key_Up:
            if (keys.onArrowUp && keys.onArrowUp()) {
                event->accept();
                return;
            }
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // A held key repeats its press: one submit for one press.
            if (!event->isAutoRepeat() && keys.onSubmit) keys.onSubmit();
            event->accept();
            return;
        default: break;
        }
        QLineEdit::keyPressEvent(event);
    }
};

SearchField::SearchField(int verticalPadding, QWidget* parent)
    : QWidget(parent),
      edit_(new Edit(this)),
      magnifier_(new SymbolView(Symbol::magnifyingGlass, TextStyle::body, Tone::secondary, this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(horizontalPadding, verticalPadding, horizontalPadding, verticalPadding);
    layout->setSpacing(spacing);
    layout->addWidget(magnifier_, 0, Qt::AlignVCenter);
    layout->addWidget(edit_, 1, Qt::AlignVCenter);

    makePlainField(*edit_);
    edit_->setPlaceholderText(u"Search or add a reminder"_s);
    setFocusProxy(edit_);
}

void SearchField::setKeys(Keys keys) { edit_->keys = std::move(keys); }

QLineEdit* SearchField::lineEdit() const { return edit_; }

}  // namespace tavlin::rows
