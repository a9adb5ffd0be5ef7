#include "preferences/ListPreferenceRow.h"

#include "rows/Look.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionFocusRect>

using namespace Qt::StringLiterals;

namespace tavlin::preferences {

namespace {

// The font of a control at the small size: two pixels (or the like in
// points) below the body.
QFont smallControlFont(QFont font) {
    if (font.pixelSize() > 0) font.setPixelSize(font.pixelSize() - 2);
    else font.setPointSizeF(font.pointSizeF() * 11 / 13);
    return font;
}

// A link at the small control size: its text alone, in the button text's
// colour (which the row sets to the link colour), no bevel. Drawn here
// rather than styled by a style sheet, which costs each row milliseconds.
class LinkButton final : public QPushButton {
public:
    using QPushButton::QPushButton;

    QSize sizeHint() const override {
        const QFontMetrics metrics(font());
        return {metrics.horizontalAdvance(text()) + 2 * kPadding, metrics.height() + 2};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::ButtonText));
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextShowMnemonic, text());
        if (hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
        }
    }

private:
    static constexpr int kPadding = 2;
};

}  // namespace

ListPreferenceRow::Accessory ListPreferenceRow::accessoryFor(bool isDefault, bool isIncluded, bool isHovering) {
    if (isDefault) return Accessory::defaultBadge;
    return isHovering && isIncluded ? Accessory::markAsDefault : Accessory::none;
}

ListPreferenceRow::ListPreferenceRow(const QString& title, bool isIncluded, bool isDefault, bool cannotExclude,
                                     QWidget* parent)
    : QWidget(parent),
      title_(new QLabel(title, this)),
      accessories_(new QStackedWidget(this)),
      nothing_(new QWidget(accessories_)),
      defaultBadge_(new QLabel(u"Default"_s, accessories_)),
      markAsDefault_(new LinkButton(u"Mark as default"_s, accessories_)),
      switch_(new QCheckBox(this)),
      isDefault_(isDefault) {
    rows::setTone(*defaultBadge_, rows::Tone::secondary);
    defaultBadge_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    markAsDefault_->setCursor(Qt::PointingHandCursor);
    markAsDefault_->setFont(smallControlFont(markAsDefault_->font()));
    connect(markAsDefault_, &QPushButton::clicked, this, &ListPreferenceRow::markAsDefaultRequested);

    // The one page shown at a time keeps the row's height and the switch's
    // place when the link comes and goes.
    accessories_->addWidget(nothing_);
    accessories_->addWidget(defaultBadge_);
    accessories_->addWidget(markAsDefault_);
    accessories_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    // The switch's label is for accessibility alone.
    switch_->setChecked(isIncluded);
    switch_->setAccessibleName(u"Show "_s + title);
    switch_->setEnabled(!cannotExclude);
    connect(switch_, &QCheckBox::toggled, this, [this](bool included) {
        showAccessory();
        emit includedChanged(included);
    });

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    layout->addWidget(title_);
    layout->addSpacerItem(new QSpacerItem(8, 0, QSizePolicy::Expanding, QSizePolicy::Minimum));
    layout->addWidget(accessories_, 0, Qt::AlignVCenter);
    layout->addWidget(switch_, 0, Qt::AlignVCenter);

    applyColors();
    showAccessory();
}

QString ListPreferenceRow::title() const { return title_->text(); }

bool ListPreferenceRow::isIncluded() const { return switch_->isChecked(); }

void ListPreferenceRow::setIncluded(bool included) { switch_->setChecked(included); }

void ListPreferenceRow::setDefault(bool isDefault) {
    isDefault_ = isDefault;
    showAccessory();
}

void ListPreferenceRow::setCannotExclude(bool cannotExclude) { switch_->setEnabled(!cannotExclude); }

void ListPreferenceRow::enterEvent(QEnterEvent* event) {
    isHovering_ = true;
    showAccessory();
    QWidget::enterEvent(event);
}

void ListPreferenceRow::leaveEvent(QEvent* event) {
    isHovering_ = false;
    showAccessory();
    QWidget::leaveEvent(event);
}

void ListPreferenceRow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) applyColors();
    QWidget::changeEvent(event);
}

void ListPreferenceRow::showAccessory() {
    switch (accessory()) {
    case Accessory::none: accessories_->setCurrentWidget(nothing_); break;
    case Accessory::defaultBadge: accessories_->setCurrentWidget(defaultBadge_); break;
    case Accessory::markAsDefault: accessories_->setCurrentWidget(markAsDefault_); break;
    }
}

void ListPreferenceRow::applyColors() {
    rows::setTextColor(*markAsDefault_, QPalette::ButtonText, palette().color(QPalette::Link));
}

}  // namespace tavlin::preferences
