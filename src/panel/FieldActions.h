#pragma once

#include "panel/LineCommit.h"
#include "panel/PanelTypes.h"

#include <QStringList>
#include <QUuid>

#include <functional>
#include <memory>
#include <optional>

namespace tavlin::panel {

class Capture;
class InlineEdit;
class PanelList;
class PlacePreviews;
class RowSelection;
class TypedLine;

// What the field's keys do, and what is added from it: the typed line
// committed as one reminder or several, the "#list" picker's keys, and the
// captured candidates added. Every add is a detached task holding copies of
// what it needs, so it finishes after the panel has closed. Main thread only.
class FieldActions {
public:
    struct Sources {
        TypedLine* line = nullptr;
        RowSelection* selection = nullptr;
        const InlineEdit* edit = nullptr;
        Capture* capture = nullptr;
        const PlacePreviews* places = nullptr;
        const PanelList* list = nullptr;
        std::shared_ptr<CommitStore> commitStore;
        std::function<QStringList()> listTitles;
        std::function<bool()> showsCapture;  // the captured text is shown and not yet finished
        std::function<void(FocusTarget)> focus;
    };

    explicit FieldActions(Sources sources);

    // Return in the field: takes the highlighted list name while names are
    // offered, else commits the line when it matches no reminder.
    void handleFieldSubmit();
    // Down moves in the list picker, else selects the first row and the
    // list takes the keyboard.
    void handleFieldArrowDown();
    // Up in the list picker; false when it takes no key.
    bool handleFieldArrowUp();
    // The list names offered for the line's trailing "#" word: none while a
    // row is edited (the edit offers its own) or a capture shows.
    QStringList refreshListSuggestions() const;
    // The highlighted list name goes into the line, if one is highlighted.
    void pickListSuggestion();
    // The line's trailing "#" word becomes the list's tag, and the field
    // keeps the keyboard.
    void applyListSuggestion(const QString& listName);

    // The typed line becomes one reminder or several, and the field empties.
    void submit();
    // The field empties, nothing is selected, and the field has the keyboard.
    void clearField();

    // Adding one captured candidate, or all, ends the capture once no
    // candidate is left; one without a title is only dropped.
    void addCaptureCandidate(const QUuid& id);
    void createCapturedReminders();
    // The capture is finished: the field has the keyboard again.
    void endCapture();

private:
    // A line of several tasks becomes one reminder each.
    void commitParts();
    bool listPickerOpen() const;

    Sources sources_;
};

}  // namespace tavlin::panel
