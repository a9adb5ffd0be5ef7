#pragma once

#include "panel/PanelModel.h"

#include <QPointer>
#include <QWidget>

class QLabel;
class QMenu;
class QToolButton;

namespace tavlin::rows {
class ElidedLabel;
}

namespace tavlin::panel::widgets {

// The panel's last row: the store's last failure in red (one line, cut at
// its end, the whole story in its tooltip), else the reminders done today,
// else nothing; and at the right the gear, whose menu is built afresh each
// time it opens.
class PanelFooter : public QWidget {
    Q_OBJECT

public:
    explicit PanelFooter(PanelModel& model, QWidget* parent = nullptr);

    rows::ElidedLabel* errorLabel() const { return error_; }
    QLabel* doneCountLabel() const { return doneCount_; }
    QLabel* encouragementLabel() const { return encouragement_; }
    QToolButton* gearButton() const { return gear_; }
    QMenu* gearMenu() const { return menu_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void render();
    void rebuildMenu();
    void paintGear();

    QPointer<PanelModel> model_;
    rows::ElidedLabel* error_;
    QWidget* done_;
    QLabel* doneCount_;
    QLabel* encouragement_;
    QToolButton* gear_;
    QMenu* menu_;
};

}  // namespace tavlin::panel::widgets
