#pragma once

#include "preferences/SettingsForm.h"
#include "store/PanelSection.h"

#include <QStringList>

#include <vector>

class QCheckBox;
class QLabel;

namespace tavlin::preferences {

class ListPreferenceRow;
class PreferencesViewModel;

// The settings' reminders tab: which panel sections show, which lists show
// and which receives new reminders, nearby grouping and contact addresses.
class RemindersTab : public SettingsForm {
    Q_OBJECT

public:
    explicit RemindersTab(PreferencesViewModel& model, QWidget* parent = nullptr);

    // The switches of SectionVisibility::hideableSections, in that order.
    const std::vector<QCheckBox*>& sectionSwitches() const { return sectionSwitches_; }
    // The rows of the lists, in the order shown; none while there are no lists.
    const std::vector<ListPreferenceRow*>& listRows() const { return listRows_; }
    QLabel& noListsNote() const { return *noLists_; }
    QCheckBox& groupNearby() const { return *groupNearby_; }
    QLabel& locationCaption() const { return *locationCaption_; }
    QCheckBox& contactPlaces() const { return *contactPlaces_; }
    QLabel& contactsCaption() const { return *contactsCaption_; }

private:
    void render();
    void renderLists();

    PreferencesViewModel& model_;
    std::vector<QCheckBox*> sectionSwitches_;
    FormSection* lists_;
    QLabel* noLists_;
    std::vector<ListPreferenceRow*> listRows_;
    // The identifiers and titles the rows were made for: rows are made
    // again only when these change.
    QStringList shownLists_;
    QCheckBox* groupNearby_;
    QLabel* locationCaption_;
    QCheckBox* contactPlaces_;
    QLabel* contactsCaption_;
};

}  // namespace tavlin::preferences
