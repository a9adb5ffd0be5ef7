#pragma once

#include "panel/EffectiveParse.h"
#include "panel/PanelTypes.h"
#include "parsing/ParsedQuickAdd.h"
#include "platform/Clock.h"
#include "platform/Task.h"
#include "store/ReminderStore.h"

#include "store/ObservationTracking.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace tavlin::panel {

// The panel's typed line and its readings: the text as typed, the "#list"
// picker under it, and the language model's readings while the user types
// (LiveReading), from which the reading that counts is worked out
// (EffectiveParse). Each property signals only a change; the panel model
// reacts to them once their observers have heard them. Main thread only.
class TypedLine : public QObject {
    Q_OBJECT

public:
    // `listTitles` gives the store's list titles in its order, read anew for
    // each reading.
    TypedLine(platform::Clock& clock, const store::WallClock& wallClock, std::function<QStringList()> listTitles,
              QObject* parent = nullptr);
    ~TypedLine() override;

    platform::Clock& clock() const { return clock_; }
    QStringList listTitles() const { return listTitles_(); }
    // What a line is read against now.
    ReadingContext readingContext() const;

    const QString& query() const { return store::observed(this, query_, &TypedLine::queryChanged); }
    void setQuery(QString query);
    // The line trimmed of blanks and line breaks: what is read, split and
    // compared.
    QString trimmedQuery() const;
    // The reading that counts for the whole line, and one per task of a line
    // of several.
    parsing::ParsedQuickAdd effectiveParsed() const;
    std::vector<parsing::ParsedQuickAdd> parsedParts() const;
    // The reading of the whole line, or one per task of a line of several.
    std::vector<parsing::ParsedQuickAdd> readings() const;

    int listSuggestionIndex() const {
        return store::observed(this, listSuggestionIndex_, &TypedLine::listSuggestionIndexChanged);
    }
    void setListSuggestionIndex(int index);
    const std::optional<QString>& listPickerDismissedQuery() const {
        return store::observed(this, listPickerDismissedQuery_, &TypedLine::listPickerDismissedQueryChanged);
    }
    void setListPickerDismissedQuery(std::optional<QString> query);
    // The list names offered for the line's trailing "#" word: none once
    // the picker is dismissed for this very line.
    QStringList listSuggestions() const;
    // Up in the picker: whether names were offered to move in.
    bool listArrowUp();
    // Down in the picker: whether names were offered to move in.
    bool listArrowDown();
    // The line's trailing "#" word becomes the list's tag: whether it did.
    bool applyListSuggestion(const QString& listName);

    const std::optional<parsing::ParsedQuickAdd>& smartParsed() const {
        return store::observed(this, smartParsed_, &TypedLine::smartParsedChanged);
    }
    void setSmartParsed(std::optional<parsing::ParsedQuickAdd> parsed);
    const QString& smartParsedQuery() const {
        return store::observed(this, smartParsedQuery_, &TypedLine::smartParsedQueryChanged);
    }
    void setSmartParsedQuery(QString query);
    bool smartParseInFlight() const {
        return store::observed(this, smartParseInFlight_, &TypedLine::smartParseInFlightChanged);
    }
    void setSmartParseInFlight(bool inFlight);
    const PartResults& smartPartResults() const {
        return store::observed(this, smartPartResults_, &TypedLine::smartPartResultsChanged);
    }
    void setSmartPartResults(PartResults results);
    const QSet<QString>& smartPartsInFlight() const {
        return store::observed(this, smartPartsInFlight_, &TypedLine::smartPartsInFlightChanged);
    }
    void setSmartPartsInFlight(QSet<QString> parts);
    // The debounced reading of the line; none while there is none.
    platform::Task<>& smartParseTask() { return smartParseTask_; }

    // The pending reading is dropped.
    void cancelSmartParse();
    // The pending reading stops, and nothing else changes.
    void stop() { smartParseTask_.cancel(); }
    // The line changed: what the model read of the old one goes, and the
    // model reads the new one after a quiet spell, where there is a model.
    void scheduleSmartParse();
    // The panel closed: no reading is written any more.
    void close() { closed_ = true; }
    bool isClosed() const { return closed_; }

signals:
    void queryChanged();
    void listSuggestionIndexChanged();
    void listPickerDismissedQueryChanged();
    void smartParsedChanged();
    void smartParsedQueryChanged();
    void smartParseInFlightChanged();
    void smartPartResultsChanged();
    void smartPartsInFlightChanged();
    // Once every observer of the change has heard it: what the change sets
    // off runs from these, so that it never reads a value not yet refreshed.
    void queryChangeHeard();
    // After smartParsed, smartParsedQuery or smartPartResults changed.
    void readingChangeHeard();

private:
    // The model's readings of the line, or of each of its tasks.
    void runSmartParses(const QString& line);
    // The readings of the tasks that the line's tasks no longer hold go, and
    // the tasks not read yet are read.
    void schedulePartParses();

    platform::Clock& clock_;
    const store::WallClock& wallClock_;
    std::function<QStringList()> listTitles_;
    bool closed_ = false;

    QString query_;
    int listSuggestionIndex_ = 0;
    std::optional<QString> listPickerDismissedQuery_;
    std::optional<parsing::ParsedQuickAdd> smartParsed_;
    QString smartParsedQuery_;
    platform::Task<> smartParseTask_;
    bool smartParseInFlight_ = false;
    PartResults smartPartResults_;
    QSet<QString> smartPartsInFlight_;
};

}  // namespace tavlin::panel
