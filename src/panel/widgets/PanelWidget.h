#pragma once

#include "panel/PanelModel.h"
#include "panel/widgets/PanelRootView.h"

#include <QPointer>

class QPropertyAnimation;
class QScrollArea;
class QStackedLayout;

namespace tavlin::rows {
class ListSuggestions;
class PanelBackground;
class PermissionDeniedView;
class PermissionPromptView;
class SearchField;
}  // namespace tavlin::rows

namespace tavlin::panel::widgets {

class CaptureViews;
class CreateAreaView;
class FocusBinder;
class PanelFooter;
class ReminderList;
class UndoBar;

// The panel's root view: it renders its PanelModel and hands it the user's
// input, nothing more.
//
// By the store's authorization it shows the request for access, the
// refusal, or the content: in its ordinary form the field, the list's area,
// the undo bar while there is something to undo, and the footer (while the
// line ends in a "#list" word, the names offered take the place of the
// list's area and the undo bar); while a
// captured text is shown, the capture's header, list and footer. The
// content is as wide as the model says, centred, at the top of the panel,
// over the panel's rounded background; each change of its height is
// reported to the controller.
class PanelWidget : public PanelRootView {
    Q_OBJECT

public:
    explicit PanelWidget(PanelModel& model, QWidget* parent = nullptr);
    ~PanelWidget() override;

    static RootViewFactory factory();

    PanelModel* model() const { return model_; }
    // The page shown: the request, the refusal or the content.
    QWidget* currentPage() const;
    rows::PermissionPromptView* promptView() const { return prompt_; }
    rows::PermissionDeniedView* deniedView() const { return denied_; }
    QWidget* contentView() const { return content_; }
    rows::SearchField* searchField() const { return field_; }
    PanelFooter* footer() const { return footer_; }
    FocusBinder* focusBinder() const { return focus_; }
    // The list names offered for the line's "#" word; none while none are.
    rows::ListSuggestions* listSuggestions() const { return suggestions_; }
    // The slots that the list, the undo bar and the capture fill.
    QWidget* listArea() const { return listArea_; }
    // In the list's place while the list has nothing to show.
    CreateAreaView* createArea() const { return createArea_; }
    ReminderList* reminderList() const { return list_; }
    UndoBar* undoBar() const { return undoBar_; }
    QWidget* undoSlot() const { return undoSlot_; }
    QWidget* ordinaryContent() const { return ordinary_; }
    QWidget* captureContent() const { return capture_; }
    QWidget* captureHeader() const { return captureHeader_; }
    QScrollArea* captureList() const { return captureList_; }
    QWidget* captureFooter() const { return captureFooter_; }
    // What fills the capture's slots.
    CaptureViews* captureViews() const { return captureViews_; }

    bool handleExitCommand() override;
    bool commandReturn(Qt::KeyboardModifiers modifiers) override;
    double contentHeight() const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return {0, 0}; }

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* makeOrdinaryContent();
    QWidget* makeCaptureContent();
    void bindField();
    void render();
    void showListSuggestions(const QStringList& names, int selectedIndex);
    void showUndoBar(bool shown);
    void placeContent();
    void reportHeight();
    // The model while its panel is open; nothing once it closed or went.
    PanelModel* live() const;

    QPointer<PanelModel> model_;
    rows::PanelBackground* background_;
    QWidget* frame_;
    QStackedLayout* routes_;
    rows::PermissionPromptView* prompt_;
    rows::PermissionDeniedView* denied_;
    QWidget* content_;
    QWidget* ordinary_ = nullptr;
    rows::SearchField* field_ = nullptr;
    rows::ListSuggestions* suggestions_ = nullptr;
    QWidget* listArea_ = nullptr;
    CreateAreaView* createArea_ = nullptr;
    ReminderList* list_ = nullptr;
    QWidget* undoSlot_ = nullptr;
    UndoBar* undoBar_ = nullptr;
    PanelFooter* footer_ = nullptr;
    QWidget* capture_ = nullptr;
    QWidget* captureHeader_ = nullptr;
    QScrollArea* captureList_ = nullptr;
    QWidget* captureFooter_ = nullptr;
    CaptureViews* captureViews_ = nullptr;
    FocusBinder* focus_;
    QPointer<QPropertyAnimation> undoFade_;
    bool undoShown_ = false;
    bool captureShown_ = false;
    double reportedHeight_ = 0;
};

}  // namespace tavlin::panel::widgets
