#include "preferences/RemindersTab.h"

#include "preferences/ListPreferenceRow.h"
#include "preferences/PreferencesViewModel.h"
#include "store/LocationProvider.h"
#include "store/ReminderStore.h"
#include "store/SectionVisibility.h"
#include "store/Settings.h"

#include <QCheckBox>
#include <QLabel>

using namespace Qt::StringLiterals;

namespace tavlin::preferences {

RemindersTab::RemindersTab(PreferencesViewModel& model, QWidget* parent) : SettingsForm(parent), model_(model) {
    const PreferencesServices& services = model_.services();

    FormSection* sections = addSection(u"Show reminders"_s);
    for (const store::PanelSection section : store::SectionVisibility::hideableSections) {
        QCheckBox* toggle = sections->addSwitch(PreferencesViewModel::sectionTitle(section));
        connect(toggle, &QCheckBox::clicked, &model_,
                [this, section](bool shown) { model_.setSectionShown(section, shown); });
        sectionSwitches_.push_back(toggle);
    }
    sections->addCaption(u"Searching still finds reminders in hidden sections."_s);

    lists_ = addSection(u"Lists"_s);
    noLists_ = lists_->addNote(u"Let Tavlin read your reminders folder to choose lists."_s);

    FormSection* places = addSection(u"Places"_s);
    groupNearby_ = places->addSwitch(u"Group nearby reminders"_s);
    locationCaption_ = places->addCaption(QString());
    contactPlaces_ = places->addSwitch(u"Use @mentions for contact addresses"_s);
    contactsCaption_ =
        places->addCaption(u"Contacts access is turned off for Tavlin: it may not read the contacts folder."_s);
    connect(groupNearby_, &QCheckBox::clicked, &model_, &PreferencesViewModel::setGroupNearbyEnabled);
    connect(contactPlaces_, &QCheckBox::clicked, &model_, &PreferencesViewModel::setContactPlacesEnabled);

    for (auto changed : {&store::Settings::sectionVisibilityChanged, &store::Settings::includedListIDsChanged,
                         &store::Settings::quickAddListIDChanged, &store::Settings::groupNearbyEnabledChanged,
                         &store::Settings::contactPlacesEnabledChanged})
        connect(&services.settings, changed, this, &RemindersTab::render);
    connect(&services.store, &store::ReminderStore::listsChanged, this, &RemindersTab::render);
    connect(&services.locationProvider, &store::LocationProvider::authorizationChanged, this, &RemindersTab::render);
    connect(&model_, &PreferencesViewModel::changed, this, &RemindersTab::render);
    render();
}

void RemindersTab::render() {
    for (std::size_t i = 0; i < sectionSwitches_.size(); ++i)
        sectionSwitches_[i]->setChecked(model_.isSectionShown(store::SectionVisibility::hideableSections[i]));
    renderLists();
    const store::Settings& settings = model_.services().settings;
    groupNearby_->setChecked(settings.groupNearbyEnabled());
    const std::optional<QString> locationCaption = model_.locationCaption();
    locationCaption_->setText(locationCaption.value_or(QString()));
    FormSection::rowOf(locationCaption_)->setVisible(locationCaption.has_value());
    contactPlaces_->setChecked(settings.contactPlacesEnabled());
    FormSection::rowOf(contactsCaption_)->setVisible(model_.showsContactsCaption());
}

void RemindersTab::renderLists() {
    const std::vector<platform::ReminderList> lists = model_.orderedLists();
    QStringList shown;
    for (const platform::ReminderList& list : lists) shown << list.identifier << list.title;
    if (shown != shownLists_) {
        // The note is the section's first row; the lists' rows follow it.
        lists_->removeRowsFrom(1);
        listRows_.clear();
        for (const platform::ReminderList& list : lists) {
            const QString id = list.identifier;
            auto* row = new ListPreferenceRow(list.title, false, false, false);
            connect(row, &ListPreferenceRow::includedChanged, &model_, [this, id, row](bool include) {
                model_.setListIncluded(id, include);
                // A refused change leaves the switch as the settings have it.
                row->setIncluded(model_.isListIncluded(id));
            });
            connect(row, &ListPreferenceRow::markAsDefaultRequested, &model_, [this, id] { model_.markAsDefault(id); });
            lists_->addWidget(row);
            listRows_.push_back(row);
        }
        shownLists_ = shown;
    }
    FormSection::rowOf(noLists_)->setVisible(lists.empty());
    for (std::size_t i = 0; i < lists.size(); ++i) {
        ListPreferenceRow& row = *listRows_[i];
        const QString& id = lists[i].identifier;
        const QSignalBlocker quiet(row);
        row.setIncluded(model_.isListIncluded(id));
        row.setDefault(model_.isDefault(id));
        row.setCannotExclude(model_.cannotExclude(id));
    }
}

}  // namespace tavlin::preferences
