#include "panel/widgets/PanelFooter.h"

#include "panel/PanelModel.h"
#include "rows/ElidedLabel.h"
#include "rows/Look.h"
#include "rows/Symbol.h"
#include "store/ContinuousObservation.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace tavlin::panel::widgets {

PanelFooter::PanelFooter(PanelModel& model, QWidget* parent)
    : QWidget(parent),
      model_(&model),
      error_(new rows::ElidedLabel(this)),
      done_(new QWidget(this)),
      doneCount_(new QLabel(done_)),
      encouragement_(new QLabel(done_)),
      gear_(new QToolButton(this)),
      menu_(new QMenu(gear_)) {
    setFont(rows::font(rows::TextStyle::callout));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 8, 12, 8);
    layout->setSpacing(8);
    layout->addWidget(error_, 1);
    layout->addWidget(done_);
    layout->addStretch();
    layout->addWidget(gear_);

    rows::setTone(*error_, rows::Tone::red);
    auto* doneLayout = new QHBoxLayout(done_);
    doneLayout->setContentsMargins(0, 0, 0, 0);
    doneLayout->setSpacing(4);
    doneLayout->addWidget(doneCount_);
    doneLayout->addWidget(encouragement_);
    doneCount_->setFont(rows::font(font(), rows::TextStyle::body, QFont::Medium));
    rows::setTone(*doneCount_, rows::Tone::green);
    rows::setTone(*encouragement_, rows::Tone::secondary);

    // A plain symbol that opens its menu at once, with no arrow beside it.
    gear_->setAutoRaise(true);
    gear_->setPopupMode(QToolButton::InstantPopup);
    gear_->setStyleSheet(u"QToolButton { border: none; padding: 0px; } QToolButton::menu-indicator { image: none; }"_s);
    gear_->setMenu(menu_);
    paintGear();
    connect(menu_, &QMenu::aboutToShow, this, &PanelFooter::rebuildMenu);

    store::ContinuousObservation::observe(*this, [this] { render(); });
}

void PanelFooter::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) paintGear();
}

void PanelFooter::render() {
    if (!model_ || model_->isClosed()) return;
    const FooterStatus status = model_->footerStatus();
    const auto* failure = std::get_if<FooterError>(&status);
    const auto* done = std::get_if<DoneTodayMessage>(&status);
    error_->setVisible(failure);
    error_->setFullText(failure ? failure->message : QString());
    error_->setToolTip(failure ? failure->detail : QString());
    done_->setVisible(done);
    doneCount_->setText(done ? done->count : QString());
    encouragement_->setText(done ? done->encouragement : QString());
}

void PanelFooter::rebuildMenu() {
    menu_->clear();
    if (!model_ || model_->isClosed()) return;
    for (const GearMenuItem& item : model_->gearMenu()) {
        if (item.isSeparator()) {
            menu_->addSeparator();
            continue;
        }
        // Titles are plain: an ampersand is no mnemonic.
        QAction* action = menu_->addAction(QString(item.title).replace(u'&', u"&&"_s));
        connect(action, &QAction::triggered, this, [run = item.action] {
            if (run) run();
        });
    }
}

void PanelFooter::paintGear() {
    const int side = rows::symbolSide(font());
    gear_->setIconSize(QSize(side, side));
    gear_->setIcon(rows::symbolIcon(rows::Symbol::gearShape, rows::color(palette(), rows::Tone::secondary), side));
}

}  // namespace tavlin::panel::widgets
