#pragma once

#include "platform/Calendar.h"
#include "platform/Date.h"
#include "platform/DateComponents.h"
#include "platform/eventstore/Reminder.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPalette>
#include <QRectF>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QPainter;

// One reminder in the panel's list: a round checkbox, the title with its
// priority mark, the notes, and a summary line of the place, the due date,
// the repetition and the list. What it shows is worked out here from the
// reminder alone; the list's delegate paints it and asks where a click fell.
namespace tavlin::rows {

// "!!!" for priorities 1 to 4, "!!" for 5, "!" for 6 to 9, else nothing.
QString priorityMark(int priority);

// The due date as the row writes it: the time alone today ("Today" without
// one), "Tomorrow" and "Yesterday" with the time after them, else the
// abbreviated weekday, day and month in the locale's order with the time.
// Days and the locale are `calendar`'s, today is the day of `now`. Nothing
// without components or when they form no date.
std::optional<QString> dueLabel(const std::optional<platform::DateComponents>& components, platform::Date now,
                                const platform::Calendar& calendar);

// "Repeats weekly" of the first rule, when it repeats daily to yearly.
std::optional<QString> repeatsText(const platform::Reminder& reminder);

// Not done, and overdue at `now` by `calendar`'s days.
bool isOverdue(const platform::Reminder& reminder, bool isDone, platform::Date now, const platform::Calendar& calendar);

// What the checkbox says to assistive technology.
QString checkboxAccessibleName(bool isDone, bool isCompleting);

// One part of the summary line.
struct SummaryElement {
    enum class Kind { place, separator, due, overduePill, repeat, list };
    Kind kind;
    QString text;

    friend bool operator==(const SummaryElement&, const SummaryElement&) = default;
};

// The summary line's parts in order; "·" between them, but never beside
// the overdue pill. Empty when it has nothing to show.
std::vector<SummaryElement> summaryElements(const std::optional<QString>& place, const std::optional<QString>& due,
                                            const std::optional<QString>& repeat, const std::optional<QString>& list,
                                            bool overdue);

// What decides a row's height, cheap to work out for every reminder.
struct ReminderRowText {
    QString priorityMark;
    QString title;
    QString notes;  // trimmed; empty: no notes line
    bool hasSummary = false;

    friend bool operator==(const ReminderRowText&, const ReminderRowText&) = default;
};

// What the row shows.
struct ReminderRowPresentation {
    ReminderRowText text;
    std::vector<SummaryElement> summary;
    bool overdue = false;

    friend bool operator==(const ReminderRowPresentation&, const ReminderRowPresentation&) = default;
};

// What a row is read against: the wall clock's time and the user's
// calendar (the due text's today), and the titles of the lists.
struct ReminderRowContext {
    platform::Date now;
    const platform::Calendar* calendar = nullptr;
    std::function<std::optional<QString>(const QString& listIdentifier)> listTitle;
};

ReminderRowText reminderRowText(const platform::Reminder& reminder, const ReminderRowContext& context);
ReminderRowPresentation reminderRowPresentation(const platform::Reminder& reminder, bool isDone,
                                                const ReminderRowContext& context);

// The row's state as the list hands it.
struct ReminderRowState {
    bool isSelected = false;
    bool isCompleting = false;
    bool isDone = false;
    bool menuOpen = false;  // its menu is on screen: it looks selected
    double fill = 1;        // 0…1: how far the checkbox's dot has grown
    // 0…1 of the completion burst; none when it does not play.
    std::optional<double> burst;
};

// Where a point of the row falls.
enum class ReminderRowPart { none, checkbox, text };

// The row's geometry for one width, in the row's own coordinates, and its
// painting. Lengths in device-independent pixels: padding 8 × 5 inside the
// highlight, which is inset `inset` from the list's sides.
class ReminderRowPainter {
public:
    static constexpr double inset = 8;
    static constexpr double checkboxSide = 24;  // the square that takes the click
    static constexpr double ringSide = 16;
    static constexpr double dotSide = 10;
    static constexpr double burstSeconds = 0.35;
    static constexpr double fillSeconds = 0.15;

    // `base` is the list's font: the body style.
    explicit ReminderRowPainter(const QFont& base);
    ~ReminderRowPainter();
    ReminderRowPainter(const ReminderRowPainter&) = delete;
    ReminderRowPainter& operator=(const ReminderRowPainter&) = delete;

    // The height of a row `width` wide, without extra padding above or below.
    double height(const ReminderRowText& text, double width) const;
    // The same, and from which width on it stays the same (every text on
    // one line; infinity when one wraps).
    struct Height {
        double height = 0;
        double sameFrom = 0;
    };
    Height measure(const ReminderRowText& text, double width) const;
    ReminderRowPart hitTest(const ReminderRowText& text, const QRectF& row, const QPointF& point) const;
    QRectF checkboxRect(const ReminderRowText& text, const QRectF& row) const;
    // Paints the row into `row` (its padding above and below already off).
    void paint(QPainter& painter, const QRectF& row, const ReminderRowPresentation& presentation,
               const ReminderRowState& state, const QPalette& palette) const;

    class QuickWidths;

private:
    struct Lines;
    QRectF content(const QRectF& row) const;
    double titleBaseline(const QRectF& content) const;
    Lines lines(const ReminderRowText& text, double width) const;
    void paintCheckbox(QPainter& painter, QPointF centre, const ReminderRowState& state, const QPalette& palette) const;
    double paintSummary(QPainter& painter, const std::vector<SummaryElement>& summary, QPointF at, double width,
                        bool overdueDark, const QPalette& palette) const;

    QFont body_, caption_, callout_, pill_;
    QFontMetricsF bodyMetrics_, captionMetrics_, calloutMetrics_, pillMetrics_;
    std::unique_ptr<QuickWidths> bodyWidths_, calloutWidths_;
};

}  // namespace tavlin::rows
