#include "rows/EditReminderRow.h"

#include "rows/ListSuggestions.h"
#include "rows/Look.h"
#include "rows/PlainField.h"
#include "rows/Symbol.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace tavlin::rows {

namespace {

constexpr double tintOpacity = 0.08;
constexpr double cornerRadius = 6;
constexpr int suggestionsTop = 4;

}  // namespace

// The field that offers its keys to the owner first.
class EditReminderRow::Field final : public QLineEdit {
public:
    explicit Field(QWidget* parent) : QLineEdit(parent) {}

    Actions actions;

protected:
    bool event(QEvent* event) override {
        // Tab moves the focus on in QWidget::event, before keyPressEvent.
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Tab && !(key->modifiers() & ~Qt::KeypadModifier) && actions.onTab &&
                actions.onTab()) {
                key->accept();
                return true;
            }
        }
        return QLineEdit::event(event);
    }

    void keyPressEvent(QKeyEvent* event) override {
        const auto offered = [&](const std::function<bool()>& action) {
            if (!action || !action()) return false;
            event->accept();
            return true;
        };
        switch (event->key()) {
        case Qt::Key_Down:
            if (offered(actions.onArrowDown)) return;
            break;
        case Qt::Key_Up:
            if (offered(actions.onArrowUp)) return;
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // A held key repeats its press: one save for one press.
            if (!event->isAutoRepeat() && actions.onSave) actions.onSave();
            event->accept();
            return;
        default: break;
        }
        QLineEdit::keyPressEvent(event);
    }
};

EditReminderRow::EditReminderRow(QWidget* parent)
    : QWidget(parent),
      field_(new Field(this)),
      hintLine_(new QWidget(this)),
      hint_(new QLabel(hintLine_)),
      suggestionsHolder_(new QWidget(this)) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(horizontalPadding, verticalPadding, horizontalPadding, verticalPadding);
    row->setSpacing(8);
    auto* pencil = new SymbolView(Symbol::pencilCircle, TextStyle::body, Tone::accent, this);
    // On the field's first line.
    row->addWidget(pencil, 0, Qt::AlignTop);
    auto* column = new QVBoxLayout;
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(3);
    row->addLayout(column, 1);

    makePlainField(*field_);
    field_->setPlaceholderText(u"Reminder"_s);
    pencil->setFixedHeight(field_->sizeHint().height());
    column->addWidget(field_);
    connect(field_, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (field_->actions.onTextEdited) field_->actions.onTextEdited(text);
    });

    auto* hintLayout = new QHBoxLayout(hintLine_);
    hintLayout->setContentsMargins(0, 0, 0, 0);
    hintLayout->setSpacing(8);
    hintLayout->addStretch(1);
    hint_->setFont(rows::font(TextStyle::caption));
    setTone(*hint_, Tone::tertiary);
    hintLayout->addWidget(hint_);
    column->addWidget(hintLine_);

    auto* holder = new QVBoxLayout(suggestionsHolder_);
    holder->setContentsMargins(0, suggestionsTop, 0, 0);
    holder->setSpacing(0);
    suggestionsHolder_->hide();
    column->addWidget(suggestionsHolder_);

    setFocusProxy(field_);
    setListSuggestions({}, 0);
}

EditReminderRow::~EditReminderRow() = default;

QLineEdit* EditReminderRow::lineEdit() const { return field_; }

void EditReminderRow::setActions(Actions actions) {
    onPickList_ = actions.onPickList;
    field_->actions = std::move(actions);
}

void EditReminderRow::setText(const QString& text) {
    if (field_->text() != text) field_->setText(text);
}

void EditReminderRow::setChips(QWidget* chips) {
    delete chips_;
    chips_ = chips;
    if (!chips) return;
    chips->setParent(hintLine_);
    static_cast<QHBoxLayout*>(hintLine_->layout())->insertWidget(0, chips);
}

void EditReminderRow::setListSuggestions(const QStringList& names, int selectedIndex) {
    hint_->setText(names.isEmpty() ? u"Return saves \u00B7 Esc cancels"_s
                                   : u"Return/Tab selects \u00B7 \u2191\u2193 moves \u00B7 Esc keeps typing"_s);
    const bool wasShown = suggestions_ != nullptr;
    if (names.isEmpty()) {
        if (suggestions_) {
            delete suggestions_;
            suggestions_ = nullptr;
            suggestionsHolder_->hide();
        }
    } else {
        if (!suggestions_) {
            suggestions_ = new ListSuggestions(true, suggestionsHolder_);
            suggestionsHolder_->layout()->addWidget(suggestions_);
            suggestions_->setOnPick([this](const QString& name) {
                if (onPickList_) onPickList_(name);
            });
            suggestionsHolder_->show();
        }
        suggestions_->setNames(names);
        suggestions_->setSelectedIndex(selectedIndex);
    }
    if (wasShown != (suggestions_ != nullptr)) {
        updateGeometry();
        emit heightChanged();
    }
}

bool EditReminderRow::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    // Its parts changed their sizes (the names offered settle their height).
    if (event->type() == QEvent::LayoutRequest) emit heightChanged();
    return handled;
}

void EditReminderRow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor tint = color(palette(), Tone::accent);
    tint.setAlphaF(float(tintOpacity));
    painter.setPen(Qt::NoPen);
    painter.setBrush(tint);
    painter.drawRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
}

void EditReminderRow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Once shown for good: the list places its row widgets after showing them.
    QTimer::singleShot(0, field_, [field = QPointer<Field>(field_)] {
        if (field) field->setFocus(Qt::OtherFocusReason);
    });
}

}  // namespace tavlin::rows
