#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QUuid>

#include <vector>

class QLabel;
class QPushButton;
class QScrollArea;
class QWidget;

namespace tavlin::rows {
class CaptureCandidateRow;
}

namespace tavlin::panel {
class PanelModel;
}

namespace tavlin::panel::widgets {

class FocusBinder;

// What the panel shows of a captured text, in the slots its view keeps for
// it: the header ("New reminders from selection", the number found, and how
// many more the text held when it held more than become candidates),
// the list (a spinner with "Finding reminders…" while the text is read,
// "No reminders found in the selection" when it held none, else a row per
// candidate with the chips of its reading, its field known to the focus
// binder), whose height goes to the model, and the footer (the hint, and
// "Add N", unusable while there is nothing to add; Return anywhere but in a
// field does the same through the model's list keys).
//
// The rows are kept by candidate across renders, so that an edit keeps its
// field, its insertion point and the keyboard.
class CaptureViews : public QObject {
    Q_OBJECT

public:
    CaptureViews(PanelModel& model, FocusBinder& focus, QWidget& header, QScrollArea& list, QWidget& footer);
    ~CaptureViews() override;

    QLabel* title() const { return title_; }
    QLabel* count() const { return count_; }
    // How many tasks of the text were left out; hidden when none were.
    QLabel* leftOut() const { return leftOut_; }
    QWidget* findingRow() const { return finding_; }
    QLabel* emptyText() const { return empty_; }
    QLabel* hint() const { return hint_; }
    QPushButton* addButton() const { return add_; }
    // In the order shown.
    std::vector<rows::CaptureCandidateRow*> rows() const;

private:
    void render();
    void showRows(const PanelModel& model);
    rows::CaptureCandidateRow* makeRow(const QUuid& id);
    void dropRow(const QUuid& id);
    void measure();
    // The model while its panel is open; nothing once it closed or went.
    PanelModel* live() const;

    QPointer<PanelModel> model_;
    FocusBinder& focus_;
    QLabel* title_;
    QLabel* count_;
    QLabel* leftOut_;
    QWidget* content_;  // the list's content
    QWidget* finding_;
    QWidget* emptyRow_;
    QLabel* empty_ = nullptr;
    QLabel* hint_;
    QPushButton* add_;
    QHash<QUuid, rows::CaptureCandidateRow*> rows_;
    std::vector<QUuid> order_;
};

}  // namespace tavlin::panel::widgets
