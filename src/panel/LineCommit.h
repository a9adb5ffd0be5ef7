#pragma once

#include "panel/EffectiveParse.h"
#include "panel/PanelTypes.h"
#include "parsing/ParsedQuickAdd.h"
#include "platform/Task.h"
#include "platform/eventstore/Reminder.h"
#include "store/ResolvedLocation.h"

#include <QString>
#include <QStringList>

#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace tavlin::store {
class ReminderStore;
}

// The commit of a typed line: its reminders are added at once from the
// reading in hand, and only afterwards read by the language model, whose
// reading updates a new reminder where it differs. The tasks hold the store
// and copies of what they add, never the panel: they run to their end after
// the panel has closed, and nothing cancels them.
namespace tavlin::panel {

// What a commit needs of the reminder store.
class CommitStore {
public:
    virtual ~CommitStore() = default;

    // The titles of the lists, in the store's order.
    virtual QStringList listTitles() const = 0;
    // A new reminder of `parsed`, at `place` when given; nothing when the
    // store refused it (its last error says why).
    virtual platform::Task<std::optional<platform::Reminder>> add(parsing::ParsedQuickAdd parsed,
                                                                  std::optional<store::ResolvedLocation> place) = 0;
    // The reminder as it is saved now; nothing once it is gone.
    virtual std::optional<platform::Reminder> saved(const QString& identifier) const = 0;
    // Rewrites `reminder` from `parsed`.
    virtual platform::Task<> update(parsing::ParsedQuickAdd parsed, platform::Reminder reminder,
                                    std::optional<store::ResolvedLocation> place) = 0;
};

// The commits' way to `store`, for as long as it lives: once it is gone,
// nothing is added.
std::shared_ptr<CommitStore> commitStoreOver(store::ReminderStore& store);

// One task of a line of several, ready to be added.
struct PreparedPart {
    QString text;  // as the splitter gave it
    parsing::ParsedQuickAdd parsed;
    std::optional<store::ResolvedLocation> resolved;  // the place already found for it
    bool modelRuled = false;                          // the model has read it, even to no avail: it is not read again

    friend bool operator==(const PreparedPart&, const PreparedPart&) = default;
};

// Radii chosen on the place cards, by place name (metres).
using RadiusOverrides = std::map<QString, double>;

// The place found for the reading's place name, exactly so named, when the
// lookup found one. Its radius is the one chosen on the place's card, else
// the one the reading was written with, else the place's own: the preview
// may still show the radius of an earlier reading while its map is redrawn.
std::optional<store::ResolvedLocation> resolvedPlace(const parsing::ParsedQuickAdd& parsed,
                                                     const LocationPreviews& previews,
                                                     const RadiusOverrides& radiusOverrides = {});

// `part` with the model's reading of its exact text where it gave one, else
// the rules' reading; nothing when that has no title.
std::optional<PreparedPart> preparePart(const QString& part, const PartResults& partResults,
                                        const LocationPreviews& previews, const ReadingContext& context,
                                        const RadiusOverrides& radiusOverrides = {});

// Adds the parts in order, each once the one before is added. Then, where
// the model can be asked, reads each added part the model had not read,
// one at a time, against `listTitles` (as they were at the commit).
platform::Task<> createPartsAndRefine(std::shared_ptr<CommitStore> store, std::vector<PreparedPart> parts,
                                      QStringList listTitles);

// Adds one reminder of `parsed`; then, unless the model read `text`
// already, reads it against the lists as they are after the add.
platform::Task<> createAndRefine(std::shared_ptr<CommitStore> store, parsing::ParsedQuickAdd parsed,
                                 std::optional<store::ResolvedLocation> resolved, bool modelRuled, QString text);

}  // namespace tavlin::panel
