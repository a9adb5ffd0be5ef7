#include "panel/ExitCommand.h"

namespace tavlin::panel {

ExitAction exitAction(const ExitSituation& situation) {
    if (situation.editOpen)
        return situation.editSuggestionsShown ? ExitAction::hideEditSuggestions : ExitAction::abandonEdit;
    if (situation.captureShowing) return ExitAction::close;
    if (situation.listSuggestionsShown) return ExitAction::hideListSuggestions;
    if (!situation.queryEmpty) return ExitAction::clearQuery;
    return ExitAction::close;
}

}  // namespace tavlin::panel
