#include "preferences/ShortcutRecorderField.h"

#include "keybindings/KeyBindings.h"
#include "keybindings/Texts.h"
#include "rows/Look.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace tavlin::preferences {

namespace {

// A filled circle with a cross cut out of it, for themes without
// "edit-clear".
QIcon clearIcon(const QColor& color) {
    const int side = 16;
    QPixmap pixmap(side * 2, side * 2);
    pixmap.setDevicePixelRatio(2);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath circle;
    circle.addEllipse(QRectF(1.5, 1.5, side - 3, side - 3));
    QPainterPathStroker stroker;
    stroker.setWidth(1.6);
    stroker.setCapStyle(Qt::RoundCap);
    QPainterPath cross;
    cross.moveTo(5.5, 5.5);
    cross.lineTo(side - 5.5, side - 5.5);
    cross.moveTo(side - 5.5, 5.5);
    cross.lineTo(5.5, side - 5.5);
    painter.fillPath(circle.subtracted(stroker.createStroke(cross)), color);
    return QIcon(pixmap);
}

}  // namespace

ShortcutRecorderField::ShortcutRecorderField(KeyBindings::Name name, QWidget* parent)
    : QWidget(parent),
      recorder_(std::move(name), [] { QApplication::beep(); }),
      record_(new QPushButton(this)),
      remove_(new QToolButton(this)),
      taken_(new QLabel(this)) {
    record_->setMinimumWidth(130);
    // Where the desktop chose the key itself, it is the desktop that changes it.
    connect(record_, &QPushButton::clicked, this, [this] {
        if (recorder_.isRecording() || !KeyBindings::askDesktopToChangeTrigger(recorder_.name()))
            recorder_.toggleRecording();
    });

    remove_->setAutoRaise(true);
    remove_->setAccessibleName(u"Remove shortcut"_s);
    remove_->setToolTip(u"Remove shortcut"_s);
    remove_->setFocusPolicy(Qt::TabFocus);
    connect(remove_, &QToolButton::clicked, &recorder_, &ShortcutRecorder::remove);

    taken_->setWordWrap(true);
    taken_->setFont(rows::font(rows::TextStyle::caption));

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    auto* layout = new QHBoxLayout;
    layout->setSpacing(6);
    layout->addWidget(record_);
    layout->addWidget(remove_);
    layout->addStretch(1);
    column->addLayout(layout);
    column->addWidget(taken_);

    connect(&recorder_, &ShortcutRecorder::changed, this, &ShortcutRecorderField::render);
    connect(&KeyBindings::Module::instance(), &KeyBindings::Module::globalShortcutsDidChange, this,
            &ShortcutRecorderField::render);
    render();
}

void ShortcutRecorderField::showEvent(QShowEvent* event) {
    recorder_.load();
    QWidget::showEvent(event);
}

void ShortcutRecorderField::hideEvent(QHideEvent* event) {
    recorder_.cancelRecording();
    QWidget::hideEvent(event);
}

void ShortcutRecorderField::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) render();
    QWidget::changeEvent(event);
}

void ShortcutRecorderField::render() {
    const std::optional<KeyBindings::Shortcut>& current = recorder_.current();
    if (recorder_.isRecording()) record_->setText(u"Press shortcut…"_s);
    else if (const std::optional<QString> trigger =
                 current ? KeyBindings::desktopTrigger(recorder_.name()) : std::nullopt)
        record_->setText(*trigger);
    else record_->setText(current ? current->description() : u"Record Shortcut"_s);
    const QColor secondary = rows::color(palette(), rows::Tone::secondary);
    rows::setTextColor(*record_, QPalette::ButtonText,
                       recorder_.isRecording() ? secondary : palette().color(QPalette::ButtonText));
    remove_->setIcon(QIcon::fromTheme(u"edit-clear"_s, clearIcon(secondary)));
    remove_->setVisible(current && !recorder_.isRecording());
    const std::optional<KeyBindings::Shortcut>& taken = recorder_.taken();
    taken_->setText(taken ? taken->description() + u": "_s +
                                KeyBindings::localizedString("keyboard_shortcut_used_by_system")
                          : QString());
    rows::setTextColor(*taken_, QPalette::WindowText, secondary);
    taken_->setVisible(taken.has_value());
    // On X11 a combination that another program grabbed goes to that
    // program, unless a window holds the whole keyboard.
    if (recorder_.isRecording() && !holdsKeyboard_) record_->grabKeyboard();
    else if (!recorder_.isRecording() && holdsKeyboard_) record_->releaseKeyboard();
    holdsKeyboard_ = recorder_.isRecording();
}

}  // namespace tavlin::preferences
