#include "preferences/PreferencesView.h"

#include "preferences/ContentHeightReporter.h"
#include "preferences/GeneralTab.h"
#include "preferences/MCPTab.h"
#include "preferences/RemindersTab.h"
#include "preferences/SettingsTabSelection.h"

#include <QScrollArea>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace tavlin::preferences {

namespace {

std::size_t indexOf(SettingsTab tab) { return static_cast<std::size_t>(tab); }

}  // namespace

PreferencesView::PreferencesView(PreferencesServices services, SettingsTabSelection& selection,
                                 HeightCallback onContentHeightChange, QWidget* parent)
    : QWidget(parent),
      model_(std::move(services)),
      selection_(selection),
      onContentHeightChange_(std::move(onContentHeightChange)),
      pages_(new QStackedWidget(this)) {
    setFixedWidth(fixedWidth);
    // The window's own background, under every form.
    setBackgroundRole(QPalette::Window);
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pages_);
    for (const SettingsTab tab : allSettingsTabs) {
        auto* area = new QScrollArea;
        area->setFrameShape(QFrame::NoFrame);
        area->setWidgetResizable(true);
        area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        area->viewport()->setAutoFillBackground(false);
        // Filed under the tab selected when the report arrives, which is the
        // one on screen.
        reporters_[indexOf(tab)] = new ContentHeightReporter(*area, [this](int height) {
            if (onContentHeightChange_) onContentHeightChange_(selection_.tab(), height);
        });
        pages_->addWidget(area);
        areas_[indexOf(tab)] = area;
    }
    connect(&selection_, &SettingsTabSelection::tabChanged, this, &PreferencesView::showSelectedTab);
    showSelectedTab();
}

PreferencesView::~PreferencesView() = default;

QWidget& PreferencesView::form(SettingsTab tab) {
    QScrollArea& area = *areas_[indexOf(tab)];
    if (!area.widget()) {
        QWidget* form = nullptr;
        switch (tab) {
        case SettingsTab::general: form = new GeneralTab(model_); break;
        case SettingsTab::reminders: form = new RemindersTab(model_); break;
        case SettingsTab::mcp: form = new MCPTab(model_); break;
        }
        form->setAutoFillBackground(false);
        area.setWidget(form);
    }
    return *area.widget();
}

GeneralTab& PreferencesView::generalTab() { return static_cast<GeneralTab&>(form(SettingsTab::general)); }

RemindersTab& PreferencesView::remindersTab() { return static_cast<RemindersTab&>(form(SettingsTab::reminders)); }

MCPTab& PreferencesView::mcpTab() { return static_cast<MCPTab&>(form(SettingsTab::mcp)); }

QScrollArea& PreferencesView::scrollArea(SettingsTab tab) { return *areas_[indexOf(tab)]; }

int PreferencesView::contentHeight(SettingsTab tab) const { return reporters_[indexOf(tab)]->measure(); }

QSize PreferencesView::sizeHint() const {
    const QWidget* shown = static_cast<QScrollArea*>(pages_->currentWidget())->widget();
    return {fixedWidth, shown ? shown->sizeHint().height() : heightEstimate(selection_.tab())};
}

void PreferencesView::showEvent(QShowEvent* event) {
    model_.clearDefaultListIfHidden();
    QWidget::showEvent(event);
}

void PreferencesView::showSelectedTab() {
    const SettingsTab tab = selection_.tab();
    form(tab);
    pages_->setCurrentWidget(areas_[indexOf(tab)]);
}

}  // namespace tavlin::preferences
