#pragma once

// What Escape does in the panel, decided apart from the panel.
namespace tavlin::panel {

// Where the panel stands when Escape comes.
struct ExitSituation {
    bool editOpen = false;              // a reminder is being edited in its row
    bool editSuggestionsShown = false;  // that edit offers list names
    bool captureShowing = false;        // captured text is shown, not yet finished
    bool listSuggestionsShown = false;  // the field offers list names
    bool queryEmpty = true;             // the field holds nothing at all (blanks count)
};

enum class ExitAction {
    hideEditSuggestions,  // the edit's list names go, until its text changes
    abandonEdit,          // the edit ends unsaved and the list takes the keyboard
    hideListSuggestions,  // the field's list names go, until its text changes
    clearQuery,           // the field and the selection are emptied, the field takes the keyboard
    close,                // the panel closes
};

// The first rule that applies: an open edit, then a capture, then the
// field's list names, then its text; else the panel closes.
ExitAction exitAction(const ExitSituation& situation);

}  // namespace tavlin::panel
