#pragma once

#include "panel/PanelModel.h"

#include <QPointer>
#include <QScrollArea>

#include <utility>
#include <vector>

class QLabel;

namespace tavlin::rows {
class CreateLegend;
class CreateRow;
class CreateStack;
class LocationPreviewCard;
}  // namespace tavlin::rows

namespace tavlin::panel::widgets {

// What the panel shows in place of its list while the list has nothing to
// show, scrolling, 8 below the field and 8 above what follows: "Nothing to
// do" or "No matches" alone, or the typed line as the row (one task) or the
// stack (several) that Return creates, the places each names under it, and
// the hint of the quick-add language. A click on the row or the stack
// commits the line. Its content's height is the model's listContentHeight;
// it is as high as the list would be over that content, within its cap.
class CreateAreaView : public QScrollArea {
    Q_OBJECT

public:
    static constexpr int verticalPadding = 8;
    static constexpr int placeholderPadding = 16;

    explicit CreateAreaView(PanelModel& model, QWidget* parent = nullptr);
    ~CreateAreaView() override;

    // Shows what the model says now and reports the height it takes.
    void render();

    QLabel* placeholder() const { return placeholder_; }
    rows::CreateRow* createRow() const { return row_; }
    rows::CreateStack* createStack() const { return stack_; }
    rows::CreateLegend* legend() const { return legend_; }
    // The place previews under the row.
    QWidget* rowPlaces() const { return rowPlaces_; }
    // The height of its content at the panel's width.
    int contentHeight() const;
    // The height it takes in the panel.
    int frameHeight() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return {0, 0}; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The card of each place, kept while its request stays the same.
    using Cards = std::vector<std::pair<LocationRequest, rows::LocationPreviewCard*>>;
    void showRow(const CreatePart& part, bool selected);
    void showStack(const std::vector<CreatePart>& parts, bool selected);
    void showCards(Cards& cards, const std::vector<LocationRequest>& requests, QWidget& holder, int bottomPadding);
    void clearCards(Cards& cards);
    void reportHeight();

    QPointer<PanelModel> model_;
    QWidget* content_;
    QWidget* placeholderBox_;
    QLabel* placeholder_;
    rows::CreateRow* row_;
    QWidget* rowPlaces_;
    rows::CreateStack* stack_;
    rows::CreateLegend* legend_;
    Cards rowCards_;
    std::vector<Cards> stackCards_;
};

}  // namespace tavlin::panel::widgets
