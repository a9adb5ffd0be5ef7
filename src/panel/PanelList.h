#pragma once

#include "panel/Derived.h"
#include "panel/ListRow.h"
#include "panel/ListSelection.h"
#include "panel/PanelTypes.h"
#include "panel/RowFilter.h"
#include "panel/SectionedRows.h"
#include "platform/eventstore/Reminder.h"
#include "store/ObservationTracking.h"
#include "store/ReminderStore.h"

#include <QObject>
#include <QSet>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace tavlin::store {
class LocationProvider;
class Settings;
}  // namespace tavlin::store

namespace tavlin::panel {

class InlineEdit;
class RowSelection;
class TypedLine;

// The panel's list: the open reminders that fit the typed line in their
// sections, the done rows below them, the rows as drawn and the room they
// take, with the list's own state (the rows marked as completing, the height
// the create area measured). Each derived value is worked out once per change
// of what it reads, however often it is asked for. Main thread only.
class PanelList : public QObject {
    Q_OBJECT

public:
    struct Sources {
        store::ReminderStore* store = nullptr;
        store::Settings* settings = nullptr;
        store::LocationProvider* locationProvider = nullptr;
        const store::WallClock* wallClock = nullptr;
        const TypedLine* line = nullptr;
        const RowSelection* selection = nullptr;
        const InlineEdit* edit = nullptr;
    };

    explicit PanelList(Sources sources, QObject* parent = nullptr);
    ~PanelList() override;

    // The visible reminders that fit the typed line, in the store's order.
    std::vector<platform::Reminder> filteredRows() const;
    // Those of them near the user, by identifier.
    QSet<QString> nearbyReminderIDs() const;
    // The open reminders that fit the typed line, in their sections.
    const std::vector<SectionRows>& sectionedRows() const { return derived_->sections.get(); }
    // The reminders done today that the list shows below them.
    const std::vector<platform::Reminder>& doneTodayRows() const { return derived_->doneRows.get(); }
    // The rows as drawn: headers, reminders, "Nothing to do", done rows.
    const std::vector<ListRow>& listRows() const { return derived_->rows.get(); }
    // The height the list's content is expected to take.
    double estimatedListHeight() const;
    // A section or a done row shows: the list does, else the create area.
    bool hasListRows() const;
    // The list has nothing to show: the create area stands in its place.
    bool showsCreateArea() const { return !hasListRows(); }
    // No reminder fits the typed line, which is not blank: Return creates it.
    bool showsCreateRow() const;
    // The rows of the list, in order, the create row last while it shows.
    std::vector<RowItem> flatRows() const;
    // How many flat rows there are: the reminders of the sections, and the
    // create row while it shows.
    FlatRowCount flatRowCount() const;
    // The selected reminders in the order of the list.
    std::vector<platform::Reminder> selectedReminders() const;

    // The height of the list's content, estimated while it has rows, else
    // as the create area measured it; and the room the list takes, within
    // 40 and its cap.
    double listContentHeightForFrame() const;
    double listFrameHeight() const;
    // The room a list of `content` height takes: at least 40, at most the
    // stored list height held within 100…900, else 380.
    static double listFrameHeight(double content, std::optional<double> storedHeight);
    // The most room the list ever takes, whatever the stored height.
    static double tallestListFrame();

    // The reminders on their way to completion, drawn as done meanwhile.
    const QSet<QString>& completingIDs() const {
        return store::observed(this, completingIDs_, &PanelList::completingIDsChanged);
    }
    void setCompletingIDs(QSet<QString> ids);
    // The create area's measured height, while it stands in the list's place.
    double listContentHeight() const {
        return store::observed(this, listContentHeight_, &PanelList::listContentHeightChanged);
    }
    void setListContentHeight(double height);

signals:
    void completingIDsChanged();
    void listContentHeightChanged();

private:
    struct Derivations {
        explicit Derivations(const PanelList& list);
        Derived<std::vector<SectionRows>> sections;
        Derived<std::vector<platform::Reminder>> doneRows;
        Derived<std::vector<ListRow>> rows;
    };

    std::vector<SectionRows> makeSections() const;
    std::vector<platform::Reminder> makeDoneRows() const;
    std::vector<ListRow> makeRows() const;

    Sources sources_;
    RowFilter rowFilter_;
    std::unique_ptr<Derivations> derived_;
    QSet<QString> completingIDs_;
    double listContentHeight_ = 0;
};

}  // namespace tavlin::panel
