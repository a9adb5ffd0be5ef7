#include "panel/widgets/CaptureViews.h"

#include "panel/PanelModel.h"
#include "panel/widgets/FocusBinder.h"
#include "rows/CaptureCandidateRow.h"
#include "rows/Look.h"
#include "rows/ParseChip.h"
#include "rows/Spinner.h"
#include "rows/Symbol.h"
#include "store/ContinuousObservation.h"

#include <QBoxLayout>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>

using namespace Qt::StringLiterals;

namespace tavlin::panel::widgets {

namespace {

constexpr int listPadding = 8;      // above and below the list's content
constexpr int messagePadding = 16;  // around the finding row and the empty text

// Sees the list's content change its size.
class LayoutWatch final : public QObject {
public:
    LayoutWatch(QWidget& watched, std::function<void()> changed) : QObject(&watched), changed_(std::move(changed)) {
        watched.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Resize) changed_();
        return false;
    }

private:
    std::function<void()> changed_;
};

}  // namespace

CaptureViews::CaptureViews(PanelModel& model, FocusBinder& focus, QWidget& header, QScrollArea& list, QWidget& footer)
    : QObject(&header),
      model_(&model),
      focus_(focus),
      title_(new QLabel(u"New reminders from selection"_s, &header)),
      count_(new QLabel(&header)),
      leftOut_(new QLabel(&header)),
      content_(list.widget()),
      finding_(new QWidget(content_)),
      emptyRow_(new QWidget(content_)),
      hint_(new QLabel(u"Edit as needed · ⊕ adds one · Esc cancels"_s, &footer)),
      add_(new QPushButton(&footer)) {
    auto* top = static_cast<QBoxLayout*>(header.layout());
    top->addWidget(
        new rows::SymbolView(rows::Symbol::textBadgePlus, rows::TextStyle::body, rows::Tone::accent, &header));
    title_->setFont(rows::font(rows::TextStyle::body, QFont::Medium));
    top->addWidget(title_);
    // The number does not make the title beside it move as it changes.
    count_->setFont(rows::tabularDigits(rows::font(rows::TextStyle::body)));
    rows::setTone(*count_, rows::Tone::secondary);
    top->addWidget(count_);
    rows::setTone(*leftOut_, rows::Tone::secondary);
    top->addWidget(leftOut_);
    top->addStretch();

    auto* column = static_cast<QBoxLayout*>(content_->layout());
    column->setContentsMargins(0, listPadding, 0, listPadding);
    auto* finding = new QHBoxLayout(finding_);
    finding->setContentsMargins(messagePadding, messagePadding, messagePadding, messagePadding);
    finding->setSpacing(8);
    finding->addWidget(new rows::Spinner(finding_), 0, Qt::AlignVCenter);
    auto* findingText = new QLabel(u"Finding reminders…"_s, finding_);
    rows::setTone(*findingText, rows::Tone::secondary);
    finding->addWidget(findingText, 0, Qt::AlignVCenter);
    finding->addStretch();
    column->addWidget(finding_);
    // Padded by a layout of its own: a style sheet's polish may reset a
    // label's own margins.
    empty_ = new QLabel(u"No reminders found in the selection"_s, emptyRow_);
    auto* empty = new QVBoxLayout(emptyRow_);
    empty->setContentsMargins(0, messagePadding, 0, messagePadding);
    empty->addWidget(empty_);
    empty_->setAlignment(Qt::AlignCenter);
    rows::setTone(*empty_, rows::Tone::secondary);
    column->addWidget(emptyRow_);
    column->addStretch();
    new LayoutWatch(*content_, [this] { measure(); });

    auto* bottom = static_cast<QBoxLayout*>(footer.layout());
    hint_->setFont(rows::font(rows::TextStyle::callout));
    rows::setTone(*hint_, rows::Tone::tertiary);
    bottom->addWidget(hint_);
    bottom->addStretch();
    // Drawn as the one Return answers: in a candidate's field Return is the
    // row's submit, elsewhere a list key that the model takes for this
    // button. The keyboard stays in the candidates' fields.
    add_->setDefault(true);
    add_->setFocusPolicy(Qt::NoFocus);
    bottom->addWidget(add_);
    connect(add_, &QPushButton::clicked, this, [this] {
        if (PanelModel* panel = live()) panel->fieldActions().createCapturedReminders();
    });

    store::ContinuousObservation::observe(*this, [this] { render(); });
}

CaptureViews::~CaptureViews() = default;

PanelModel* CaptureViews::live() const { return model_ && !model_->isClosed() ? model_.data() : nullptr; }

std::vector<rows::CaptureCandidateRow*> CaptureViews::rows() const {
    std::vector<rows::CaptureCandidateRow*> shown;
    for (const QUuid& id : order_) shown.push_back(rows_.value(id));
    return shown;
}

void CaptureViews::render() {
    const PanelModel* model = live();
    if (!model || !model->captureText()) return;
    const std::optional<std::vector<CaptureCandidate>>& candidates = model->capture().captureCandidates();
    const qsizetype found = candidates ? qsizetype(candidates->size()) : 0;
    count_->setVisible(candidates.has_value());
    count_->setText(QString::number(found));
    const qsizetype leftOut = model->capture().captureLeftOut();
    leftOut_->setVisible(candidates.has_value() && leftOut > 0);
    leftOut_->setText(u"· %1 more left out"_s.arg(leftOut));
    finding_->setVisible(!candidates);
    emptyRow_->setVisible(candidates && candidates->empty());
    add_->setText(u"Add %1"_s.arg(found));
    add_->setEnabled(found > 0);
    showRows(*model);
    measure();
}

void CaptureViews::showRows(const PanelModel& model) {
    static const std::vector<CaptureCandidate> none;
    const std::vector<CaptureCandidate>& candidates =
        model.capture().captureCandidates() ? *model.capture().captureCandidates() : none;
    std::vector<QUuid> order;
    for (const CaptureCandidate& candidate : candidates) order.push_back(candidate.id);
    for (const QUuid& id : std::vector(order_))
        if (std::find(order.begin(), order.end(), id) == order.end()) dropRow(id);

    bool focusNew = false;
    auto* column = static_cast<QBoxLayout*>(content_->layout());
    const int first = column->indexOf(emptyRow_) + 1;
    for (std::size_t at = 0; at < candidates.size(); ++at) {
        const CaptureCandidate& candidate = candidates[at];
        rows::CaptureCandidateRow* row = rows_.value(candidate.id);
        if (!row) {
            row = makeRow(candidate.id);
            focusNew = focusNew || model.capture().captureFocusID() == candidate.id;
        }
        if (column->indexOf(row) != first + int(at)) {
            column->removeWidget(row);
            column->insertWidget(first + int(at), row);
        }
        row->setText(candidate.text);
        const store::WallClock& clock = model.wallClock();
        row->setChips(rows::parseChips(candidate.parsed, clock.now(), clock.calendar));
    }
    order_ = std::move(order);
    // The candidate to focus had no field until now.
    if (focusNew) focus_.apply();
}

rows::CaptureCandidateRow* CaptureViews::makeRow(const QUuid& id) {
    auto* row = new rows::CaptureCandidateRow(content_);
    const QPointer<PanelModel> model = model_;
    const auto live = [model] { return model && !model->isClosed() ? model.data() : nullptr; };
    row->onTextEdited = [live, id](const QString& text) {
        if (PanelModel* panel = live()) panel->capture().setCandidateText(id, text);
    };
    row->onAdd = [live, id] {
        if (PanelModel* panel = live()) panel->fieldActions().addCaptureCandidate(id);
    };
    row->onSubmit = [live] {
        if (PanelModel* panel = live()) panel->fieldActions().createCapturedReminders();
    };
    row->onRemove = [live, id] {
        if (PanelModel* panel = live()) panel->capture().remove(id);
    };
    rows_.insert(id, row);
    focus_.setCaptureField(id, row->field());
    return row;
}

void CaptureViews::dropRow(const QUuid& id) {
    rows::CaptureCandidateRow* row = rows_.take(id);
    focus_.setCaptureField(id, nullptr);
    if (!row) return;
    // Later: the row may be in the middle of its own click.
    row->hide();
    content_->layout()->removeWidget(row);
    row->deleteLater();
}

void CaptureViews::measure() {
    PanelModel* model = live();
    if (!model) return;
    content_->layout()->activate();
    model->capture().setCaptureContentHeight(content_->layout()->sizeHint().height());
}

}  // namespace tavlin::panel::widgets
