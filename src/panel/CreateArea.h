#pragma once

#include "panel/PanelTypes.h"
#include "parsing/ParsedQuickAdd.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// What the panel shows in place of its list while the list has nothing to
// show: a one-line placeholder, or the typed line as the reminders Return
// would create (a row for one task, a stack for several), the places each
// names, and the hint of the quick-add language.
namespace tavlin::panel {

class PanelList;
class RowSelection;
class TypedLine;

// One task of the typed line, previewed.
struct CreatePart {
    parsing::ParsedQuickAdd parsed;
    bool interpreting = false;            // the model is still reading it
    std::vector<LocationRequest> places;  // the place previews under it, in order

    friend bool operator==(const CreatePart&, const CreatePart&) = default;
};

struct CreateAreaContent {
    // Shown alone when there is nothing to create.
    std::optional<QString> placeholder;
    // One part: the create row; two or more: the create stack.
    std::vector<CreatePart> parts;
    bool selected = false;  // the keyboard's selection is on the create row
    QStringList listNames;  // for the legend, in the store's order

    bool isStack() const { return parts.size() >= 2; }

    friend bool operator==(const CreateAreaContent&, const CreateAreaContent&) = default;
};

// Nothing when the line creates; else "Nothing to do" for an empty field
// (as typed: blanks are a search that finds nothing) and "No matches".
std::optional<QString> createAreaPlaceholder(const QString& query, bool showsCreateRow);

// The place preview under part `index` of a stack: the first request named
// exactly as the part's place, unless an earlier part names the same place
// (a place is previewed once, under the first task naming it).
std::optional<LocationRequest> partLocationCard(std::size_t index, const std::vector<parsing::ParsedQuickAdd>& parts,
                                                const std::vector<LocationRequest>& requests);

// What the create area shows for the typed line as the list and the
// selection stand, with the line's place `requests` in order.
CreateAreaContent createAreaContent(const TypedLine& line, const PanelList& list, const RowSelection& selection,
                                    std::vector<LocationRequest> requests, QStringList listNames);

}  // namespace tavlin::panel
