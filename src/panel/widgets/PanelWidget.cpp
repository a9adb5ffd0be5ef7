#include "panel/widgets/PanelWidget.h"

#include "panel/ListCompletion.h"
#include "panel/PanelModel.h"
#include "panel/widgets/CaptureViews.h"
#include "panel/widgets/CreateAreaView.h"
#include "panel/widgets/FocusBinder.h"
#include "panel/widgets/PanelFooter.h"
#include "panel/widgets/ReminderList.h"
#include "panel/widgets/UndoBar.h"
#include "platform/XdgPaths.h"
#include "rows/Divider.h"
#include "rows/ListSuggestions.h"
#include "rows/Look.h"
#include "rows/PanelBackground.h"
#include "rows/PermissionDeniedView.h"
#include "rows/PermissionPromptView.h"
#include "rows/SearchField.h"
#include "store/ContinuousObservation.h"

#include <QDir>
#include <QEvent>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPropertyAnimation>
#include <QScrollArea>
#include <QStackedLayout>
#include <QVBoxLayout>

#include <cmath>

namespace tavlin::panel::widgets {

namespace {

constexpr int undoFadeMs = 150;

QVBoxLayout* column(QWidget* widget) {
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

// A row of the panel: its parts side by side, 8 apart, inside the padding.
QWidget* row(QWidget* parent, int horizontal, int vertical) {
    auto* widget = new QWidget(parent);
    auto* layout = new QHBoxLayout(widget);
    layout->setContentsMargins(horizontal, vertical, horizontal, vertical);
    layout->setSpacing(8);
    return widget;
}

// The folder the refusal asks about, as its owner writes it.
QString remindersFolder() {
    const QStringList roots = platform::remindersRoots();
    return roots.isEmpty() ? QString() : QDir::toNativeSeparators(roots.first());
}

}  // namespace

PanelWidget::PanelWidget(PanelModel& model, QWidget* parent)
    : PanelRootView(parent),
      model_(&model),
      background_(new rows::PanelBackground(this)),
      frame_(new QWidget(this)),
      routes_(new QStackedLayout(frame_)),
      prompt_(new rows::PermissionPromptView(model.store(), frame_)),
      denied_(new rows::PermissionDeniedView(remindersFolder(), frame_)),
      content_(new QWidget(frame_)),
      focus_(new FocusBinder(model, *this)) {
    background_->setCornerRadius(model.inputs().cornerRadius);
    background_->lower();
    routes_->addWidget(prompt_);
    routes_->addWidget(denied_);
    routes_->addWidget(content_);
    QVBoxLayout* modes = column(content_);
    modes->addWidget(makeOrdinaryContent());
    modes->addWidget(makeCaptureContent());
    modes->addStretch();

    connect(denied_, &rows::PermissionDeniedView::openFolderRequested, &model, &PanelModel::openRemindersFolder);
    bindField();
    store::ContinuousObservation::observe(*this, [this] { render(); });
}

PanelWidget::~PanelWidget() = default;

RootViewFactory PanelWidget::factory() {
    return [](PanelModel& model, QWidget* parent) { return new PanelWidget(model, parent); };
}

QWidget* PanelWidget::makeOrdinaryContent() {
    ordinary_ = new QWidget(content_);
    QVBoxLayout* layout = column(ordinary_);
    field_ = new rows::SearchField(int(std::lround(model_->inputs().searchFieldPadding)), ordinary_);
    layout->addWidget(field_);
    layout->addWidget(new rows::Divider(ordinary_));
    listArea_ = new QWidget(ordinary_);
    QVBoxLayout* listColumn = column(listArea_);
    listColumn->addWidget(list_ = new ReminderList(*model_, listArea_));
    focus_->setList(list_);
    connect(list_, &ReminderList::editFieldChanged, this, [this](QWidget* field) {
        focus_->setEditField(field);
        focus_->apply();
    });
    list_->hide();  // until there is something in it
    listColumn->addWidget(createArea_ = new CreateAreaView(*model_, listArea_));
    layout->addWidget(listArea_);

    undoSlot_ = new QWidget(ordinary_);
    QVBoxLayout* undo = column(undoSlot_);
    undo->addWidget(new rows::Divider(undoSlot_));
    undoBar_ = new UndoBar(undoSlot_);
    undo->addWidget(undoBar_);
    connect(undoBar_, &UndoBar::undoRequested, this, [this] {
        if (PanelModel* model = live()) model->performUndo();
    });
    undoSlot_->hide();
    layout->addWidget(undoSlot_);

    layout->addWidget(new rows::Divider(ordinary_));
    footer_ = new PanelFooter(*model_, ordinary_);
    layout->addWidget(footer_);
    return ordinary_;
}

QWidget* PanelWidget::makeCaptureContent() {
    capture_ = new QWidget(content_);
    QVBoxLayout* layout = column(capture_);
    captureHeader_ = row(capture_, 12, 10);
    layout->addWidget(captureHeader_);
    layout->addWidget(new rows::Divider(capture_));
    captureList_ = new QScrollArea(capture_);
    captureList_->setFrameShape(QFrame::NoFrame);
    captureList_->setWidgetResizable(true);
    captureList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* candidates = new QWidget(captureList_);
    candidates->setAutoFillBackground(false);
    column(candidates);
    captureList_->setWidget(candidates);
    captureList_->viewport()->setAutoFillBackground(false);
    layout->addWidget(captureList_);
    layout->addWidget(new rows::Divider(capture_));
    captureFooter_ = row(capture_, 12, 8);
    layout->addWidget(captureFooter_);
    capture_->hide();
    if (model_->captureText())
        captureViews_ = new CaptureViews(*model_, *focus_, *captureHeader_, *captureList_, *captureFooter_);
    return capture_;
}

void PanelWidget::bindField() {
    QLineEdit* edit = field_->lineEdit();
    edit->setText(model_->typedLine().query());
    connect(edit, &QLineEdit::textEdited, &model_->typedLine(), &TypedLine::setQuery);
    connect(&model_->typedLine(), &TypedLine::queryChanged, edit, [model = model_, edit] {
        if (edit->text() != model->typedLine().query()) edit->setText(model->typedLine().query());
    });
    // The keys reach the model while it lives.
    const QPointer<PanelModel> model = model_;
    field_->setKeys({
        .onSubmit =
            [model] {
                if (model) model->fieldActions().handleFieldSubmit();
            },
        .onArrowDown =
            [model] {
                if (model) model->fieldActions().handleFieldArrowDown();
            },
        .onArrowUp = [model] { return model && model->fieldActions().handleFieldArrowUp(); },
        .onTab =
            [model] {
                return model &&
                       ListCompletion::acceptIfAny([model] { return model->fieldActions().refreshListSuggestions(); },
                                                   [model] { model->fieldActions().pickListSuggestion(); });
            },
    });
    focus_->setField(edit);
    focus_->apply();
}

QWidget* PanelWidget::currentPage() const { return routes_->currentWidget(); }

PanelModel* PanelWidget::live() const { return model_ && !model_->isClosed() ? model_.data() : nullptr; }

bool PanelWidget::handleExitCommand() {
    PanelModel* model = live();
    if (!model) return false;
    // The model may close the panel, and with it this view.
    model->handleExitCommand();
    return true;
}

bool PanelWidget::commandReturn(Qt::KeyboardModifiers modifiers) {
    PanelModel* model = live();
    return model && model->commandReturn(modifiers);
}

double PanelWidget::contentHeight() const {
    const QWidget* page = routes_->currentWidget();
    const PanelModel* model = live();
    if (!page || !model) return 0;
    const int width = int(std::lround(model->contentWidth()));
    return page->hasHeightForWidth() ? page->heightForWidth(width) : page->sizeHint().height();
}

QSize PanelWidget::sizeHint() const {
    const PanelModel* model = live();
    if (!model) return {0, 0};
    return {int(std::lround(model->contentWidth())), int(std::lround(contentHeight()))};
}

bool PanelWidget::event(QEvent* event) {
    const bool handled = PanelRootView::event(event);
    // The content's parts changed their sizes.
    if (event->type() == QEvent::LayoutRequest) {
        placeContent();
        reportHeight();
    }
    return handled;
}

void PanelWidget::resizeEvent(QResizeEvent* event) {
    PanelRootView::resizeEvent(event);
    background_->setGeometry(rect());
    placeContent();
}

void PanelWidget::showEvent(QShowEvent* event) {
    PanelRootView::showEvent(event);
    placeContent();
    reportHeight();
}

void PanelWidget::render() {
    if (!live()) return;
    const PanelModel& model = *live();
    QWidget* page = content_;
    switch (model.route()) {
    case PanelModel::Route::prompt: page = prompt_; break;
    case PanelModel::Route::denied: page = denied_; break;
    case PanelModel::Route::content: break;
    }
    if (page != routes_->currentWidget()) {
        routes_->setCurrentWidget(page);
        // What the model's focus stands for may have been hidden until now.
        focus_->apply();
    }
    frame_->setFixedWidth(int(std::lround(model.contentWidth())));
    const bool capture = model.showsCapture();
    ordinary_->setVisible(!capture);
    capture_->setVisible(capture);
    if (capture != captureShown_) {
        captureShown_ = capture;
        // The keyboard goes where the model says in what now shows.
        focus_->apply();
    }
    captureList_->setFixedHeight(int(std::lround(model.captureListHeight())));
    // The names offered take the place of the list and of the undo bar.
    const QStringList names = model.fieldActions().refreshListSuggestions();
    showListSuggestions(names, model.typedLine().listSuggestionIndex());
    listArea_->setVisible(names.isEmpty());
    const bool createArea = model.list().showsCreateArea();
    createArea_->setVisible(createArea);
    if (createArea) createArea_->render();
    if (const std::optional<UndoItem>& item = model.undoWindow().undoItem())
        undoBar_->show(*item, model.rowActions().completedTodayCount());
    showUndoBar(names.isEmpty() && model.undoWindow().undoItem().has_value());
    // Without a section or a done row the create area shows instead.
    if (const bool listShown = model.list().hasListRows(); list_->isHidden() == listShown) {
        list_->setVisible(listShown);
        // Measured before it is shown too (the first height, the gallery).
        for (QWidget* holder : {listArea_, ordinary_, content_}) holder->updateGeometry();
    }
    placeContent();
    reportHeight();
}

void PanelWidget::showListSuggestions(const QStringList& names, int selectedIndex) {
    if (names.isEmpty()) {
        // A new showing starts afresh: no hover, no scrolling.
        if (suggestions_) {
            suggestions_->hide();
            suggestions_->deleteLater();
            suggestions_ = nullptr;
        }
        return;
    }
    if (!suggestions_) {
        suggestions_ = new rows::ListSuggestions(false, ordinary_);
        auto* layout = static_cast<QVBoxLayout*>(ordinary_->layout());
        layout->insertWidget(layout->indexOf(listArea_), suggestions_);
        suggestions_->setOnPick([model = QPointer<PanelModel>(model_)](const QString& name) {
            if (model && !model->isClosed()) model->fieldActions().applyListSuggestion(name);
        });
    }
    suggestions_->setNames(names);
    suggestions_->setSelectedIndex(selectedIndex);
}

void PanelWidget::showUndoBar(bool shown) {
    if (shown == undoShown_) return;
    undoShown_ = shown;
    if (undoFade_) undoFade_->stop();
    // The bar fades as its time runs out even with reduce motion; only an
    // undo takes it away at once then.
    const bool fades = !model_->reduceMotion() || (!shown && model_->undoWindow().undoBarTimedOut());
    if (!fades) {
        undoSlot_->setGraphicsEffect(nullptr);
        undoSlot_->setVisible(shown);
        return;
    }
    // It fades in, and fades out before it goes.
    auto* effect = new QGraphicsOpacityEffect(undoSlot_);
    effect->setOpacity(shown ? 0 : 1);
    undoSlot_->setGraphicsEffect(effect);
    undoSlot_->setVisible(true);
    auto* fade = new QPropertyAnimation(effect, "opacity", this);
    fade->setDuration(undoFadeMs);
    fade->setEasingCurve(QEasingCurve::OutCubic);
    fade->setEndValue(shown ? 1.0 : 0.0);
    connect(fade, &QPropertyAnimation::finished, this, [this, shown] {
        undoSlot_->setGraphicsEffect(nullptr);
        undoSlot_->setVisible(shown);
    });
    undoFade_ = fade;
    fade->start(QAbstractAnimation::DeleteWhenStopped);
}

void PanelWidget::placeContent() {
    const PanelModel* model = live();
    if (!model) return;
    const int width = int(std::lround(model->contentWidth()));
    const int height = int(std::lround(contentHeight()));
    // As wide as the model says, centred, at the top.
    frame_->setGeometry((this->width() - width) / 2, 0, width, height);
}

void PanelWidget::reportHeight() {
    const PanelModel* model = live();
    if (!model || !isVisible()) return;
    const double height = contentHeight();
    if (height <= 0 || height == reportedHeight_) return;
    reportedHeight_ = height;
    if (model->inputs().onHeightChange) model->inputs().onHeightChange(height);
}

}  // namespace tavlin::panel::widgets
