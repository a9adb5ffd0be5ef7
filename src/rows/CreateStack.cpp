#include "rows/CreateStack.h"

#include "rows/Divider.h"
#include "rows/PreviewLine.h"

#include <QChildEvent>
#include <QEvent>
#include <QMouseEvent>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace tavlin::rows {

namespace {

QVBoxLayout* column(QWidget* widget, QMargins margins = {}) {
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(margins);
    layout->setSpacing(0);
    return layout;
}

// A slot shows while it holds something.
class Slot final : public QWidget {
public:
    explicit Slot(QWidget* parent) : QWidget(parent) {
        column(this);
        hide();
    }

protected:
    void childEvent(QChildEvent* event) override {
        QWidget::childEvent(event);
        if (!event->added() && !event->removed()) return;
        const QObjectList& held = children();
        setVisible(std::any_of(held.begin(), held.end(), [&](const QObject* child) {
            return child->isWidgetType() && (event->added() || child != event->child());
        }));
    }
};

}  // namespace

QString CreateStack::countHint(std::size_t count) { return u"↩ adds %1"_s.arg(count); }

CreateStack::CreateStack(QWidget* parent) : QWidget(parent) {
    column(this);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

CreateStack::~CreateStack() = default;

void CreateStack::setInputs(const Inputs& inputs) {
    auto* layout = static_cast<QVBoxLayout*>(this->layout());
    while (blocks_.size() > inputs.parts.size()) {
        const Block block = blocks_.back();
        blocks_.pop_back();
        for (QWidget* widget : {block.divider, static_cast<QWidget*>(block.line), block.slot}) delete widget;
    }
    while (blocks_.size() < inputs.parts.size()) {
        Block block{new QWidget(this), new PreviewLine(this), new Slot(this)};
        column(block.divider,
               {dividerHorizontalPadding, dividerVerticalPadding, dividerHorizontalPadding, dividerVerticalPadding})
            ->addWidget(new Divider(block.divider));
        block.divider->setVisible(!blocks_.empty());
        if (reduceMotion_) block.line->setReduceMotion(reduceMotion_);
        for (QWidget* widget : {block.divider, static_cast<QWidget*>(block.line), block.slot})
            layout->addWidget(widget);
        blocks_.push_back(block);
    }
    for (std::size_t i = 0; i < blocks_.size(); ++i) {
        PreviewLine& line = *blocks_[i].line;
        line.setTitle(inputs.parts[i].title);
        line.setChips(inputs.parts[i].chips);
        line.setHint(i == 0 ? countHint(inputs.parts.size()) : QString());
        line.setSelected(inputs.isSelected);
        line.setInterpreting(inputs.interpretingIndices.contains(int(i)));
    }
}

void CreateStack::setReduceMotion(std::function<bool()> reduceMotion) {
    reduceMotion_ = std::move(reduceMotion);
    for (const Block& block : blocks_) block.line->setReduceMotion(reduceMotion_);
}

PreviewLine* CreateStack::line(int index) const {
    return index >= 0 && index < partCount() ? blocks_[std::size_t(index)].line : nullptr;
}

QWidget* CreateStack::divider(int index) const {
    return index >= 1 && index < partCount() ? blocks_[std::size_t(index)].divider : nullptr;
}

QWidget* CreateStack::slot(int index) const {
    return index >= 0 && index < partCount() ? blocks_[std::size_t(index)].slot : nullptr;
}

void CreateStack::mousePressEvent(QMouseEvent* event) { click_.press(*event); }

void CreateStack::mouseReleaseEvent(QMouseEvent* event) {
    if (click_.released(*event, rect()) && onCreate) onCreate();
}

}  // namespace tavlin::rows
