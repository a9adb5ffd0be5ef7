#include "panel/FieldActions.h"

#include "panel/Capture.h"
#include "panel/CaptureCandidates.h"
#include "panel/InlineEdit.h"
#include "panel/ListCompletion.h"
#include "panel/PanelList.h"
#include "panel/PlacePreviews.h"
#include "panel/RowSelection.h"
#include "panel/TypedLine.h"
#include "parsing/TaskSplitter.h"

namespace tavlin::panel {

FieldActions::FieldActions(Sources sources) : sources_(std::move(sources)) {
    Q_ASSERT(sources_.line && sources_.selection && sources_.edit && sources_.capture && sources_.places &&
             sources_.list && sources_.commitStore && sources_.listTitles && sources_.showsCapture && sources_.focus);
}

// The field's keys.

void FieldActions::handleFieldSubmit() {
    if (!refreshListSuggestions().isEmpty()) return pickListSuggestion();
    // Return creates only what matches nothing; Ctrl+Return creates anyway.
    if (sources_.list->showsCreateRow()) submit();
}

void FieldActions::handleFieldArrowDown() {
    if (listPickerOpen() && sources_.line->listArrowDown()) return;
    if (sources_.list->flatRows().empty()) return;
    RowSelection& selection = *sources_.selection;
    selection.setSelectedIndex(0);
    selection.setSelectedIndexes({0});
    selection.setSelectionAnchor(0);
    sources_.focus(FocusTarget::list);
}

bool FieldActions::handleFieldArrowUp() { return listPickerOpen() && sources_.line->listArrowUp(); }

// An edit offers its own names, and a capture none.
bool FieldActions::listPickerOpen() const { return !sources_.edit->editingID() && !sources_.showsCapture(); }

QStringList FieldActions::refreshListSuggestions() const {
    return listPickerOpen() ? sources_.line->listSuggestions() : QStringList();
}

void FieldActions::pickListSuggestion() {
    if (const std::optional<QString> name =
            ListCompletion::highlighted(refreshListSuggestions(), sources_.line->listSuggestionIndex()))
        applyListSuggestion(*name);
}

void FieldActions::applyListSuggestion(const QString& listName) {
    if (sources_.line->applyListSuggestion(listName)) sources_.focus(FocusTarget::field);
}

// The commit of the line.

void FieldActions::submit() {
    TypedLine& line = *sources_.line;
    const QString text = line.trimmedQuery();
    if (parsing::TaskSplitter::split(text).size() >= 2) return commitParts();
    parsing::ParsedQuickAdd parsed = line.effectiveParsed();
    if (parsed.title.isEmpty()) return;
    const bool parsedByModel = line.smartParsed() && line.smartParsedQuery() == text;
    line.cancelSmartParse();
    std::optional<store::ResolvedLocation> resolved =
        resolvedPlace(parsed, sources_.places->locationPreviews(), sources_.places->locationRadiusOverrides());
    // The field empties before the reminder is added; the task has copies
    // of all it needs.
    clearField();
    platform::detach(
        createAndRefine(sources_.commitStore, std::move(parsed), std::move(resolved), parsedByModel, text));
}

void FieldActions::commitParts() {
    TypedLine& line = *sources_.line;
    const ReadingContext context = line.readingContext();
    std::vector<PreparedPart> parts;
    for (const QString& part : parsing::TaskSplitter::split(line.trimmedQuery()))
        if (std::optional<PreparedPart> prepared =
                preparePart(part, line.smartPartResults(), sources_.places->locationPreviews(), context,
                            sources_.places->locationRadiusOverrides()))
            parts.push_back(std::move(*prepared));
    if (parts.empty()) return;
    line.cancelSmartParse();
    line.setSmartPartsInFlight({});
    clearField();
    platform::detach(createPartsAndRefine(sources_.commitStore, std::move(parts), context.listTitles));
}

void FieldActions::clearField() {
    sources_.line->setQuery(QString());
    sources_.selection->clear();
    sources_.focus(FocusTarget::field);
}

// The capture's adds.

void FieldActions::addCaptureCandidate(const QUuid& id) {
    Capture& capture = *sources_.capture;
    const std::optional<CaptureCandidate> added = capture.take(id);
    if (!added) return;
    const bool last = capture.captureCandidates()->empty();
    if (added->parsed.title.isEmpty()) return;
    platform::detach(createPartsAndRefine(sources_.commitStore, titledParts({*added}), sources_.listTitles()));
    if (last) endCapture();
}

void FieldActions::createCapturedReminders() {
    Capture& capture = *sources_.capture;
    if (!capture.captureCandidates() || capture.captureCandidates()->empty()) return;
    // The rows go at once; the adds follow, one after the other.
    std::vector<PreparedPart> parts = titledParts(capture.takeAll());
    endCapture();
    platform::detach(createPartsAndRefine(sources_.commitStore, std::move(parts), sources_.listTitles()));
}

void FieldActions::endCapture() {
    sources_.capture->setCaptureDone(true);
    sources_.focus(FocusTarget::field);
}

}  // namespace tavlin::panel
