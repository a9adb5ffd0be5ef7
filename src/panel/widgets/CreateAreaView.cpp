#include "panel/widgets/CreateAreaView.h"

#include "panel/widgets/LocationPreviewCards.h"
#include "rows/CreateLegend.h"
#include "rows/CreateRow.h"
#include "rows/CreateStack.h"
#include "rows/Look.h"
#include "rows/ParseChip.h"

#include <QEvent>
#include <QLabel>
#include <QVBoxLayout>

#include <cmath>

namespace tavlin::panel::widgets {

namespace {

QVBoxLayout* column(QWidget* widget) {
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

}  // namespace

CreateAreaView::CreateAreaView(PanelModel& model, QWidget* parent)
    : QScrollArea(parent),
      model_(&model),
      content_(new QWidget(this)),
      placeholderBox_(new QWidget(content_)),
      placeholder_(new QLabel(placeholderBox_)),
      row_(new rows::CreateRow(content_)),
      rowPlaces_(new QWidget(content_)),
      stack_(new rows::CreateStack(content_)),
      legend_(new rows::CreateLegend(content_)) {
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAutoFillBackground(false);
    content_->setAutoFillBackground(false);

    QVBoxLayout* layout = column(content_);
    layout->setContentsMargins(0, verticalPadding, 0, verticalPadding);
    placeholder_->setAlignment(Qt::AlignCenter);
    // The label's own margins are its frame's.
    column(placeholderBox_)->addWidget(placeholder_);
    placeholderBox_->layout()->setContentsMargins(0, placeholderPadding, 0, placeholderPadding);
    placeholder_->setFont(rows::font(rows::TextStyle::body));
    rows::setTone(*placeholder_, rows::Tone::secondary);
    column(rowPlaces_);
    for (QWidget* part : std::initializer_list<QWidget*>{placeholderBox_, row_, rowPlaces_, stack_, legend_}) {
        layout->addWidget(part);
        part->hide();
    }
    layout->addStretch();
    setWidget(content_);
    // Its parts change their sizes after a render too (a card that goes).
    content_->installEventFilter(this);

    // A click commits the typed line, as Return does.
    const auto submit = [model = model_] {
        if (model && !model->isClosed()) model->fieldActions().submit();
    };
    row_->onCreate = submit;
    stack_->onCreate = submit;
    const auto reduceMotion = [model = model_] { return !model || model->reduceMotion(); };
    row_->setReduceMotion(reduceMotion);
    stack_->setReduceMotion(reduceMotion);
}

CreateAreaView::~CreateAreaView() = default;

void CreateAreaView::render() {
    if (!model_ || model_->isClosed()) return;
    const CreateAreaContent content = model_->createAreaContent();
    placeholderBox_->setVisible(content.placeholder.has_value());
    if (content.placeholder) placeholder_->setText(*content.placeholder);
    const bool creates = !content.parts.empty();
    if (creates && !content.isStack()) showRow(content.parts.front(), content.selected);
    else {
        row_->hide();
        clearCards(rowCards_);
        rowPlaces_->hide();
    }
    if (content.isStack()) showStack(content.parts, content.selected);
    else {
        stack_->hide();
        for (Cards& cards : stackCards_) clearCards(cards);
        stackCards_.clear();
    }
    legend_->setVisible(creates);
    if (creates) legend_->setListNames(content.listNames);
    reportHeight();
}

void CreateAreaView::reportHeight() {
    const int content = contentHeight();
    // A scroll bar only while the content is higher than the frame: one
    // shown for a moment would keep itself, the content being measured
    // narrower beside it.
    setVerticalScrollBarPolicy(content > frameHeight() ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    updateGeometry();
    if (model_ && !model_->isClosed()) model_->list().setListContentHeight(content);
}

bool CreateAreaView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == content_ && event->type() == QEvent::LayoutRequest) reportHeight();
    return QScrollArea::eventFilter(watched, event);
}

void CreateAreaView::showRow(const CreatePart& part, bool selected) {
    const store::WallClock& clock = model_->wallClock();
    row_->setInputs({.title = part.parsed.title,
                     .chips = rows::parseChips(part.parsed, clock.now(), clock.calendar),
                     .isSelected = selected,
                     .isInterpreting = part.interpreting});
    row_->show();
    showCards(rowCards_, part.places, *rowPlaces_, 0);
    rowPlaces_->setVisible(!rowCards_.empty());
}

void CreateAreaView::showStack(const std::vector<CreatePart>& parts, bool selected) {
    const store::WallClock& clock = model_->wallClock();
    rows::CreateStack::Inputs inputs{.isSelected = selected};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        inputs.parts.push_back({parts[i].parsed.title, rows::parseChips(parts[i].parsed, clock.now(), clock.calendar)});
        if (parts[i].interpreting) inputs.interpretingIndices.insert(int(i));
    }
    // The cards of parts that go go with them.
    for (std::size_t i = parts.size(); i < stackCards_.size(); ++i) clearCards(stackCards_[i]);
    stackCards_.resize(parts.size());
    stack_->setInputs(inputs);
    stack_->show();
    for (std::size_t i = 0; i < parts.size(); ++i) showCards(stackCards_[i], parts[i].places, *stack_->slot(int(i)), 2);
}

void CreateAreaView::showCards(Cards& cards, const std::vector<LocationRequest>& requests, QWidget& holder,
                               int bottomPadding) {
    const bool same =
        std::equal(cards.begin(), cards.end(), requests.begin(), requests.end(),
                   [](const auto& card, const LocationRequest& request) { return card.first == request; });
    if (same) return;
    clearCards(cards);
    auto* layout = static_cast<QVBoxLayout*>(holder.layout());
    layout->setContentsMargins(0, 0, 0, bottomPadding);
    for (const LocationRequest& request : requests) {
        rows::LocationPreviewCard* card = locationPreviewCard(*model_, request, &holder);
        layout->addWidget(card);
        cards.emplace_back(request, card);
    }
}

void CreateAreaView::clearCards(Cards& cards) {
    const std::chrono::milliseconds fade = model_ ? locationCardFade(*model_) : std::chrono::milliseconds::zero();
    for (const auto& [request, card] : cards) {
        // Without a fade it goes from the layout at once.
        if (fade.count() <= 0) card->hide();
        card->fadeOutAndDelete(fade);
    }
    cards.clear();
}

int CreateAreaView::contentHeight() const {
    const int width = model_ ? int(std::lround(model_->contentWidth())) : content_->width();
    const QLayout* layout = content_->layout();
    return layout->hasHeightForWidth() ? layout->totalHeightForWidth(width) : layout->totalSizeHint().height();
}

int CreateAreaView::frameHeight() const {
    // It takes the list's place, and the list's room: within the same cap.
    if (!model_ || model_->isClosed()) return contentHeight();
    return int(std::lround(PanelList::listFrameHeight(contentHeight(), model_->settings().pinnedPanelListHeight())));
}

QSize CreateAreaView::sizeHint() const {
    return {model_ ? int(std::lround(model_->contentWidth())) : content_->width(), frameHeight()};
}

}  // namespace tavlin::panel::widgets
