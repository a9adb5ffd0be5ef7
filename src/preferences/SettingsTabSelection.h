#pragma once

#include "preferences/SettingsTab.h"
#include "store/ObservationTracking.h"

#include <QObject>

namespace tavlin::preferences {

// The tab the settings window shows, shared by the window, whose toolbar
// changes it, and the settings view, which shows that tab's content. The
// getter publishes the property (store::ObservationTracking); a change is
// signalled only when the tab really changes. Main thread only.
class SettingsTabSelection : public QObject {
    Q_OBJECT

public:
    explicit SettingsTabSelection(QObject* parent = nullptr) : QObject(parent) {}

    SettingsTab tab() const { return store::observed(this, tab_, &SettingsTabSelection::tabChanged); }
    void setTab(SettingsTab tab) { store::publish(this, tab_, tab, &SettingsTabSelection::tabChanged); }

signals:
    void tabChanged();

private:
    SettingsTab tab_ = SettingsTab::general;
};

}  // namespace tavlin::preferences
