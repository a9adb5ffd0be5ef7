#pragma once

#include "preferences/PreferencesViewModel.h"
#include "preferences/SettingsTab.h"

#include <QWidget>

#include <array>
#include <functional>

class QScrollArea;
class QStackedWidget;

namespace tavlin::preferences {

class ContentHeightReporter;
class GeneralTab;
class MCPTab;
class RemindersTab;
class SettingsTabSelection;

// The settings window's content: the form of the tab that the selection
// names, 460 px wide on the window's background. Each form scrolls, and
// reports the height of its content (filed under the tab selected when the
// report arrives) so that the window can fit it. A tab's form is made the
// first time it is shown.
class PreferencesView : public QWidget {
    Q_OBJECT

public:
    static constexpr int fixedWidth = 460;
    using HeightCallback = std::function<void(SettingsTab tab, int height)>;

    PreferencesView(PreferencesServices services, SettingsTabSelection& selection, HeightCallback onContentHeightChange,
                    QWidget* parent = nullptr);
    ~PreferencesView() override;

    PreferencesViewModel& model() { return model_; }
    // The tabs' forms, each made on first use.
    GeneralTab& generalTab();
    RemindersTab& remindersTab();
    MCPTab& mcpTab();
    QScrollArea& scrollArea(SettingsTab tab);
    // The height of the tab's content as it is reported.
    int contentHeight(SettingsTab tab) const;

    QSize sizeHint() const override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget& form(SettingsTab tab);
    void showSelectedTab();

    PreferencesViewModel model_;
    SettingsTabSelection& selection_;
    HeightCallback onContentHeightChange_;
    QStackedWidget* pages_;
    std::array<QScrollArea*, 3> areas_{};
    std::array<ContentHeightReporter*, 3> reporters_{};
};

}  // namespace tavlin::preferences
