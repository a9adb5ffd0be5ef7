#include "panel/widgets/FocusBinder.h"

#include "panel/PanelModel.h"

#include <QApplication>

namespace tavlin::panel::widgets {

FocusBinder::FocusBinder(PanelModel& model, QWidget& scope) : QObject(&scope), model_(&model), scope_(scope) {
    connect(&model, &PanelModel::focusChanged, this, &FocusBinder::focusTargetChanged);
    connect(&model.inlineEdit(), &InlineEdit::editFieldFocusedChanged, this, &FocusBinder::editFieldFocusedChanged);
    connect(&model.capture(), &Capture::captureFocusIDChanged, this, &FocusBinder::captureFocusChanged);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { userMovedFocus(now); });
}

void FocusBinder::setCaptureField(const QUuid& id, QWidget* widget) {
    if (widget) captureFields_.insert(id, widget);
    else captureFields_.remove(id);
}

void FocusBinder::apply() {
    if (!model_) return;
    if (model_->focus()) return focusTargetChanged();
    if (model_->inlineEdit().editFieldFocused()) return editFieldFocusedChanged();
    captureFocusChanged();
}

void FocusBinder::focusTargetChanged() {
    const std::optional<FocusTarget> target = model_->focus();
    if (!target) {
        // None: the field and the list let go, whatever else has it stays.
        const QWidget* focus = QApplication::focusWidget();
        if (!holds(editField_, focus) && (holds(field_, focus) || holds(list_, focus))) focusOn(nullptr);
        return;
    }
    focusOn(*target == FocusTarget::field ? field_ : list_);
}

void FocusBinder::editFieldFocusedChanged() {
    if (model_->inlineEdit().editFieldFocused()) return focusOn(editField_);
    if (holds(editField_, QApplication::focusWidget())) focusOn(nullptr);
}

void FocusBinder::captureFocusChanged() {
    if (const std::optional<QUuid> id = model_->capture().captureFocusID()) return focusOn(captureFields_.value(*id));
    const QWidget* focus = QApplication::focusWidget();
    for (const QPointer<QWidget>& field : captureFields_)
        if (holds(field, focus)) return focusOn(nullptr);
}

void FocusBinder::focusOn(QWidget* widget) {
    applying_ = true;
    if (widget) {
        widget->setFocus(Qt::OtherFocusReason);
    } else if (QWidget* focus = QApplication::focusWidget(); focus && scope_.isAncestorOf(focus)) {
        focus->clearFocus();
    } else if (QWidget* focus = scope_.focusWidget(); focus) {
        // The panel's window is not active: its remembered focus goes.
        focus->clearFocus();
    }
    applying_ = false;
}

void FocusBinder::userMovedFocus(QWidget* now) {
    // The keyboard left the window (another program, a menu): the panel's
    // focus stays as it is for when it comes back.
    if (applying_ || !model_ || !now || !(now == &scope_ || scope_.isAncestorOf(now))) return;
    // The edit's field lies inside the list: it is not the list's keyboard.
    const bool onEdit = holds(editField_, now);
    const bool onField = holds(field_, now), onList = !onEdit && holds(list_, now);
    std::optional<QUuid> capture;
    for (auto candidate = captureFields_.cbegin(); candidate != captureFields_.cend(); ++candidate)
        if (holds(candidate.value(), now)) capture = candidate.key();
    model_->setFocus(onField  ? std::optional(FocusTarget::field)
                     : onList ? std::optional(FocusTarget::list)
                              : std::nullopt);
    model_->inlineEdit().setEditFieldFocused(onEdit);
    model_->capture().setCaptureFocusID(capture);
}

bool FocusBinder::holds(const QWidget* widget, const QWidget* focus) {
    return widget && focus && (widget == focus || widget->isAncestorOf(focus));
}

}  // namespace tavlin::panel::widgets
