#pragma once

#include "parsing/ParsedQuickAdd.h"
#include "platform/eventstore/Reminder.h"
#include "store/LocationPreview.h"
#include "store/ResolvedLocation.h"

#include <QString>
#include <QUuid>

#include <map>
#include <optional>
#include <variant>
#include <vector>

// The small values of the panel's state.
namespace tavlin::panel {

// Where the panel's keyboard focus is; no value: neither.
enum class FocusTarget { field, list };

// One candidate reminder found in a captured text.
struct CaptureCandidate {
    QUuid id;                        // its identity, made with it
    QString text;                    // its line, which the user may edit
    parsing::ParsedQuickAdd parsed;  // the reading of that line

    friend bool operator==(const CaptureCandidate&, const CaptureCandidate&) = default;
};

// The preview of one place named in the typed line.
struct LocationPreviewEntry {
    std::optional<store::ResolvedLocation> resolved;
    std::optional<store::LocationPreview::MapSnapshot> snapshot;
    bool failed = false;  // the lookup failed

    friend bool operator==(const LocationPreviewEntry& a, const LocationPreviewEntry& b);
};

// The places named in the typed line, by name, as far as they were looked up.
using LocationPreviews = std::map<QString, LocationPreviewEntry>;

// The model's readings of the parts of a typed line, by the part's text. A
// part with no value: the model read it and gave nothing.
using PartResults = std::map<QString, std::optional<parsing::ParsedQuickAdd>>;

// What the undo bar offers to take back.
struct UndoItem {
    enum class Kind { completed, deleted };

    std::vector<platform::Reminder> reminders;
    QString title;  // shown for a single reminder
    Kind kind = Kind::completed;

    friend bool operator==(const UndoItem&, const UndoItem&) = default;
};

// One row of the list: a reminder, or the row that creates the typed line.
struct RowItem {
    struct Create {
        friend bool operator==(const Create&, const Create&) = default;
    };
    std::variant<platform::Reminder, Create> row;

    static constexpr QLatin1StringView createRowID{"create-row"};

    // The reminder's identifier, or "create-row".
    QString id() const;
    const platform::Reminder* reminder() const { return std::get_if<platform::Reminder>(&row); }
    bool isCreate() const { return std::holds_alternative<Create>(row); }

    friend bool operator==(const RowItem&, const RowItem&) = default;
};

// A place named in the typed line.
struct LocationRequest {
    QString name;
    std::optional<double> radius;  // metres
    parsing::LocationTrigger trigger = parsing::LocationTrigger::arrive;

    friend bool operator==(const LocationRequest&, const LocationRequest&) = default;
};

}  // namespace tavlin::panel
