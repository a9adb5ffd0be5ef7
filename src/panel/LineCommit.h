#pragma once

#include "panel/EffectiveParse.h"
#include "panel/PanelTypes.h"
#include "parsing/ParsedQuickAdd.h"
#include "platform/Task.h"
#include "platform/eventstore/Reminder.h"
#include "store/QuickAdd.h"
#include "store/ResolvedLocation.h"

#include <QString>
#include <QStringList>

#include <map>
#include <memory>
#include <optional>
#include <vector>

// The commit of a typed line, as store::QuickAdd adds any text: its
// reminders are added at once from the reading in hand, and only afterwards
// read by the language model. Here is what the panel adds to it: the places
// its previews found and the model's readings made while typing.
namespace tavlin::panel {

// What a commit needs of the reminder store.
using CommitStore = store::QuickAdd::Store;

// The commits' way to `store`, for as long as it lives: once it is gone,
// nothing is added.
std::shared_ptr<CommitStore> commitStoreOver(store::ReminderStore& store);

// One task of a line of several, ready to be added.
using PreparedPart = store::QuickAdd::Entry;

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

// The parts added and read by the model as QuickAdd::addAndRefine does,
// against `listTitles` as they were at the commit.
platform::Task<> createPartsAndRefine(std::shared_ptr<CommitStore> store, std::vector<PreparedPart> parts,
                                      QStringList listTitles);

// One reminder of `parsed` added and read by the model as
// QuickAdd::addAndRefine does, unless the model read `text` already.
platform::Task<> createAndRefine(std::shared_ptr<CommitStore> store, parsing::ParsedQuickAdd parsed,
                                 std::optional<store::ResolvedLocation> resolved, bool modelRuled, QString text);

}  // namespace tavlin::panel
