#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QUuid>
#include <QWidget>

namespace tavlin::panel {
class PanelModel;
}

namespace tavlin::panel::widgets {

// Ties the panel model's focus (the field or the list, the edit's field, a
// capture candidate's field) to Qt's keyboard focus, both ways: a change of
// the model's focus moves the keyboard to the widget that stands for it, and
// the user's own moves of the keyboard inside `scope` are written back. The
// widgets are registered as they are made; a missing one is skipped.
class FocusBinder : public QObject {
    Q_OBJECT

public:
    FocusBinder(PanelModel& model, QWidget& scope);

    void setField(QWidget* widget) { field_ = widget; }
    void setList(QWidget* widget) { list_ = widget; }
    void setEditField(QWidget* widget) { editField_ = widget; }
    void setCaptureField(const QUuid& id, QWidget* widget);

    // Moves the keyboard to where the model says, or off the panel's
    // widgets when it says none.
    void apply();

private:
    void focusTargetChanged();
    void editFieldFocusedChanged();
    void captureFocusChanged();
    void userMovedFocus(QWidget* now);
    // Gives `widget` the keyboard, or takes it from the registered widgets.
    void focusOn(QWidget* widget);
    static bool holds(const QWidget* widget, const QWidget* focus);

    QPointer<PanelModel> model_;
    QWidget& scope_;
    QPointer<QWidget> field_;
    QPointer<QWidget> list_;
    QPointer<QWidget> editField_;
    QHash<QUuid, QPointer<QWidget>> captureFields_;
    bool applying_ = false;
};

}  // namespace tavlin::panel::widgets
