#include "rows/ReminderRow.h"

#include "parsing/ParsedQuickAdd.h"
#include "parsing/RecurrenceEdit.h"
#include "platform/DateFormatter.h"
#include "platform/DueDate.h"
#include "rows/Look.h"
#include "rows/Symbol.h"
#include "store/DueState.h"
#include "store/ReminderLocation.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <numbers>

using namespace Qt::StringLiterals;

namespace tavlin::rows {

namespace {

constexpr double padding = 8;
constexpr double verticalPadding = 5;
constexpr double columnGap = 8;        // checkbox to text
constexpr double markGap = 4;          // priority mark to title
constexpr double lineGap = 2;          // between title, notes and summary
constexpr double elementGap = 4;       // between the summary's parts
constexpr double checkboxRaise = 4.5;  // the checkbox's centre above the title's first baseline
constexpr double ringStroke = 1.5;
constexpr double cornerRadius = 6;
constexpr double selectionOpacity = 0.18;
constexpr int titleLines = 3;
constexpr int notesLines = 2;
constexpr double pillHorizontal = 5;
constexpr double pillVertical = 1;
constexpr int particles = 12;

QString tr(const char* text) { return QCoreApplication::translate("ReminderRow", text); }

QColor withAlpha(QColor color, double alpha) {
    color.setAlphaF(float(color.alphaF() * alpha));
    return color;
}

// The two date formats of the due text, for the calendar last asked about.
struct DueFormats {
    platform::Locale locale;
    platform::TimeZone zone;
    platform::DateFormatter time;
    platform::DateFormatter day;
};

const DueFormats& dueFormats(const platform::Calendar& calendar) {
    static std::unique_ptr<DueFormats> formats;
    if (!formats || !(formats->locale == calendar.locale()) || !(formats->zone == calendar.timeZone())) {
        const platform::Locale& locale = calendar.locale();
        formats = std::make_unique<DueFormats>(
            DueFormats{locale, calendar.timeZone(),
                       platform::DateFormatter(locale.shortTimePattern(), locale, calendar.timeZone()),
                       platform::DateFormatter(locale.bestPattern(u"EEEdMMM"_s), locale, calendar.timeZone())});
    }
    return *formats;
}

}  // namespace

// The width of a text of Latin letters from its characters' advances, kept
// per character: shaping every title of a long list to see whether it fits,
// and where it breaks, costs more than the rest of the row. Kerning and
// ligatures only narrow Latin text a little, so lines are filled to a
// little less than their room.
class ReminderRowPainter::QuickWidths {
public:
    explicit QuickWidths(const QFontMetricsF& metrics) : metrics_(metrics) { advances_.fill(-1); }

    // Nothing for a character beyond Latin or a control (a line break).
    std::optional<double> of(QChar c) const {
        const char16_t code = c.unicode();
        if (code >= advances_.size() || code < 0x20) return std::nullopt;
        float& advance = advances_[code];
        if (advance < 0) advance = float(metrics_.horizontalAdvance(c));
        return advance;
    }
    std::optional<double> of(const QString& text) const {
        double sum = 0;
        for (const QChar c : text) {
            const std::optional<double> advance = of(c);
            if (!advance) return std::nullopt;
            sum += *advance;
        }
        return sum;
    }

private:
    const QFontMetricsF& metrics_;
    mutable std::array<float, 0x250> advances_;  // up to the end of Latin Extended-B
};

namespace {

// Room kept for kerning that widens a line a little.
constexpr double quickMargin = 0.97;

// The last of `maximum` lines: the rest of the text, elided.
QString lastLine(QString rest, const QFontMetricsF& metrics, double width) {
    rest.replace(QChar::LineSeparator, u' ');
    return metrics.elidedText(rest.trimmed(), Qt::ElideRight, width);
}

// Latin text broken at blanks (a word too long for a line anywhere), by the
// characters' advances; nothing for other text.
std::optional<QStringList> quickWrapped(const QString& text, const QFontMetricsF& metrics,
                                        const ReminderRowPainter::QuickWidths& quick, double width, int maximum) {
    const double room = width * quickMargin;
    QStringList lines;
    qsizetype start = 0, lastBlank = -1;
    double used = 0, usedAtBlank = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const std::optional<double> advance = quick.of(text[i]);
        if (!advance) return std::nullopt;
        if (text[i] == u' ') {
            if (i == start) {  // no line starts with a blank
                ++start;
                continue;
            }
            lastBlank = i;
            usedAtBlank = used + *advance;
        }
        if (used + *advance <= room || i == start) {
            used += *advance;
            continue;
        }
        if (int(lines.size()) == maximum - 1) {
            lines.append(lastLine(text.mid(start), metrics, width));
            return lines;
        }
        const bool atBlank = lastBlank > start;
        const qsizetype end = atBlank ? lastBlank : i;
        lines.append(text.mid(start, end - start));
        start = atBlank ? lastBlank + 1 : i;
        used = atBlank ? used - usedAtBlank + *advance : *advance;
        lastBlank = -1;
        if (text[i] == u' ' && start > i) used = 0;
    }
    if (start < text.size() || lines.isEmpty()) lines.append(text.mid(start));
    return lines;
}

// `text` broken into at most `maximum` lines of `width`, the last one elided
// when the text goes on.
QStringList wrapped(const QString& text, const QFont& font, const QFontMetricsF& metrics,
                    const ReminderRowPainter::QuickWidths& quick, double width, int maximum) {
    if (std::optional<QStringList> lines = quickWrapped(text, metrics, quick, width, maximum)) return *lines;
    if (!text.contains(u'\n') && metrics.horizontalAdvance(text) <= width) return {text};
    QString flat = text;
    flat.replace(u'\n', QChar::LineSeparator);
    QTextLayout layout(flat, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (int count = 0; count < maximum; ++count) {
        QTextLine line = layout.createLine();
        if (!line.isValid()) break;
        line.setLineWidth(std::max(1.0, width));
        if (count == maximum - 1 && line.textStart() + line.textLength() < flat.size()) {
            lines.append(lastLine(flat.mid(line.textStart()), metrics, width));
        } else {
            lines.append(flat.mid(line.textStart(), line.textLength()).remove(QChar::LineSeparator).trimmed());
        }
    }
    layout.endLayout();
    return lines.isEmpty() ? QStringList{QString()} : lines;
}

// How many lines `text` takes; `singleLine` is set to the width it needs
// when that is one line, else to infinity.
int lineCount(const QString& text, const QFont& font, const QFontMetricsF& metrics,
              const ReminderRowPainter::QuickWidths& quick, double width, int maximum, double& singleLine) {
    const QStringList lines = wrapped(text, font, metrics, quick, width, maximum);
    singleLine = std::numeric_limits<double>::infinity();
    if (lines.size() == 1) {
        const std::optional<double> sum = quick.of(text);
        singleLine = sum ? *sum / quickMargin : metrics.horizontalAdvance(text);
    }
    return int(lines.size());
}

}  // namespace

QString priorityMark(int priority) {
    if (priority >= 1 && priority <= 4) return u"!!!"_s;
    if (priority == 5) return u"!!"_s;
    if (priority >= 6 && priority <= 9) return u"!"_s;
    return {};
}

std::optional<QString> dueLabel(const std::optional<platform::DateComponents>& components, platform::Date now,
                                const platform::Calendar& calendar) {
    if (!components) return std::nullopt;
    const std::optional<platform::Date> date = platform::DueDate::date(components, calendar);
    if (!date) return std::nullopt;
    const bool timed = components->hour || components->minute;
    const DueFormats& formats = dueFormats(calendar);
    const QString time = timed ? formats.time.string(*date) : QString();
    const auto withTime = [&](const QString& day) { return timed ? day + u' ' + time : day; };
    const auto isDay = [&](int offset) {
        const std::optional<platform::Date> day = calendar.dateByAdding(platform::CalendarComponent::Day, offset, now);
        return day && calendar.isDateInSameDay(*date, *day);
    };
    if (isDay(0)) return timed ? time : tr("Today");
    if (isDay(1)) return withTime(tr("Tomorrow"));
    if (isDay(-1)) return withTime(tr("Yesterday"));
    return withTime(formats.day.string(*date));
}

std::optional<QString> repeatsText(const platform::Reminder& reminder) {
    if (reminder.recurrenceRules.empty()) return std::nullopt;
    const platform::RecurrenceRule& rule = reminder.recurrenceRules.front();
    const int raw = static_cast<int>(rule.frequency);
    if (raw < 0 || raw > 3) return std::nullopt;
    return parsing::RecurrenceEdit::repeatsDescription(static_cast<parsing::RecurrenceFrequency>(raw), rule.interval);
}

bool isOverdue(const platform::Reminder& reminder, bool isDone, platform::Date now,
               const platform::Calendar& calendar) {
    if (isDone) return false;
    return store::DueState(reminder.dueDateComponents, now, calendar) == store::DueState::overdue();
}

QString checkboxAccessibleName(bool isDone, bool isCompleting) {
    if (isDone) return tr("Mark as not done");
    if (isCompleting) return tr("Completing");
    return tr("Complete reminder");
}

std::vector<SummaryElement> summaryElements(const std::optional<QString>& place, const std::optional<QString>& due,
                                            const std::optional<QString>& repeat, const std::optional<QString>& list,
                                            bool overdue) {
    using Kind = SummaryElement::Kind;
    const SummaryElement dot{Kind::separator, u"·"_s};
    std::vector<SummaryElement> elements;
    if (place) {
        elements.push_back({Kind::place, *place});
        if ((due || repeat || list) && !overdue) elements.push_back(dot);
    }
    if (due) {
        elements.push_back({overdue ? Kind::overduePill : Kind::due, *due});
        if ((repeat || list) && !overdue) elements.push_back(dot);
    }
    if (repeat) {
        elements.push_back({Kind::repeat, *repeat});
        if (list) elements.push_back(dot);
    }
    if (list) elements.push_back({Kind::list, *list});
    return elements;
}

ReminderRowText reminderRowText(const platform::Reminder& reminder, const ReminderRowContext& context) {
    const std::optional<QString> list = context.listTitle && !reminder.listIdentifier.isEmpty()
                                            ? context.listTitle(reminder.listIdentifier)
                                            : std::nullopt;
    // A whole date always makes one (lenient); only a partial one needs asking.
    const std::optional<platform::DateComponents>& due = reminder.dueDateComponents;
    const bool hasDue =
        due && ((due->year && due->month && due->day) || platform::DueDate::date(due, *context.calendar).has_value());
    return {
        .priorityMark = priorityMark(reminder.priority),
        .title = reminder.title,
        .notes = reminder.notes.trimmed(),
        .hasSummary = hasDue || list || repeatsText(reminder) || store::ReminderLocation::locationTitle(reminder),
    };
}

ReminderRowPresentation reminderRowPresentation(const platform::Reminder& reminder, bool isDone,
                                                const ReminderRowContext& context) {
    const std::optional<QString> list = context.listTitle && !reminder.listIdentifier.isEmpty()
                                            ? context.listTitle(reminder.listIdentifier)
                                            : std::nullopt;
    const std::optional<QString> due = dueLabel(reminder.dueDateComponents, context.now, *context.calendar);
    const bool overdue = due && isOverdue(reminder, isDone, context.now, *context.calendar);
    ReminderRowPresentation presentation{
        .text = reminderRowText(reminder, context),
        .summary = summaryElements(store::ReminderLocation::locationTitle(reminder), due, repeatsText(reminder), list,
                                   overdue),
        .overdue = overdue,
    };
    presentation.text.hasSummary = !presentation.summary.empty();
    return presentation;
}

// The painter.

struct ReminderRowPainter::Lines {
    double markWidth = 0;
    QStringList title;
    QStringList notes;
};

ReminderRowPainter::ReminderRowPainter(const QFont& base)
    : body_(base),
      caption_(font(base, TextStyle::caption, QFont::Bold)),
      callout_(font(base, TextStyle::callout)),
      pill_(font(base, TextStyle::callout, QFont::Medium)),
      bodyMetrics_(body_),
      captionMetrics_(caption_),
      calloutMetrics_(callout_),
      pillMetrics_(pill_),
      bodyWidths_(std::make_unique<QuickWidths>(bodyMetrics_)),
      calloutWidths_(std::make_unique<QuickWidths>(calloutMetrics_)) {}

ReminderRowPainter::~ReminderRowPainter() = default;

QRectF ReminderRowPainter::content(const QRectF& row) const {
    return row.adjusted(inset + padding, verticalPadding, -(inset + padding), -verticalPadding);
}

double ReminderRowPainter::titleBaseline(const QRectF& content) const {
    // The checkbox hangs from the baseline; with a small font it sets the top.
    return content.top() + std::max(bodyMetrics_.ascent(), checkboxSide / 2 + checkboxRaise);
}

ReminderRowPainter::Lines ReminderRowPainter::lines(const ReminderRowText& text, double width) const {
    const double textWidth = std::max(1.0, width - 2 * (inset + padding) - checkboxSide - columnGap);
    Lines lines;
    if (!text.priorityMark.isEmpty()) lines.markWidth = captionMetrics_.horizontalAdvance(text.priorityMark) + markGap;
    lines.title =
        wrapped(text.title, body_, bodyMetrics_, *bodyWidths_, std::max(1.0, textWidth - lines.markWidth), titleLines);
    if (!text.notes.isEmpty())
        lines.notes = wrapped(text.notes, callout_, calloutMetrics_, *calloutWidths_, textWidth, notesLines);
    return lines;
}

ReminderRowPainter::Height ReminderRowPainter::measure(const ReminderRowText& text, double width) const {
    const QFontMetricsF &body = bodyMetrics_, &callout = calloutMetrics_, &pill = pillMetrics_;
    const double around = 2 * (inset + padding) + checkboxSide + columnGap;
    const double textWidth = std::max(1.0, width - around);
    const double markWidth =
        text.priorityMark.isEmpty() ? 0 : captionMetrics_.horizontalAdvance(text.priorityMark) + markGap;
    const double baseline = titleBaseline(QRectF(0, verticalPadding, width, 0));
    double titleNeeds = 0, notesNeeds = 0;
    double bottom =
        baseline - body.ascent() +
        lineCount(text.title, body_, body, *bodyWidths_, std::max(1.0, textWidth - markWidth), titleLines, titleNeeds) *
            body.lineSpacing();
    if (!text.notes.isEmpty())
        bottom +=
            lineGap + lineCount(text.notes, callout_, callout, *calloutWidths_, textWidth, notesLines, notesNeeds) *
                          callout.lineSpacing();
    if (text.hasSummary) bottom += lineGap + std::max(callout.lineSpacing(), pill.height() + 2 * pillVertical);
    const double checkboxBottom = baseline - checkboxRaise + checkboxSide / 2;
    return {.height = std::ceil(std::max(bottom, checkboxBottom) + verticalPadding),
            .sameFrom = around + std::max(titleNeeds + markWidth, notesNeeds)};
}

double ReminderRowPainter::height(const ReminderRowText& text, double width) const {
    return measure(text, width).height;
}

QRectF ReminderRowPainter::checkboxRect(const ReminderRowText&, const QRectF& row) const {
    const QRectF area = content(row);
    const QPointF centre(area.left() + checkboxSide / 2, titleBaseline(area) - checkboxRaise);
    return {centre.x() - checkboxSide / 2, centre.y() - checkboxSide / 2, checkboxSide, checkboxSide};
}

ReminderRowPart ReminderRowPainter::hitTest(const ReminderRowText& text, const QRectF& row,
                                            const QPointF& point) const {
    if (!row.contains(point)) return ReminderRowPart::none;
    const QRectF checkbox = checkboxRect(text, row);
    if (checkbox.contains(point)) return ReminderRowPart::checkbox;
    // Everything right of the checkbox, the empty room after the text too.
    if (point.x() >= checkbox.right() + columnGap / 2) return ReminderRowPart::text;
    return ReminderRowPart::none;
}

void ReminderRowPainter::paint(QPainter& painter, const QRectF& row, const ReminderRowPresentation& presentation,
                               const ReminderRowState& state, const QPalette& palette) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (state.isSelected || state.menuOpen) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(withAlpha(color(palette, Tone::accent), selectionOpacity));
        painter.drawRoundedRect(row.adjusted(inset, 0, -inset, 0), cornerRadius, cornerRadius);
    }
    const QRectF area = content(row);
    const double baseline = titleBaseline(area);
    paintCheckbox(painter, {area.left() + checkboxSide / 2, baseline - checkboxRaise}, state, palette);

    const ReminderRowText& text = presentation.text;
    const Lines lines = this->lines(text, row.width());
    const double left = area.left() + checkboxSide + columnGap;
    const double width = area.right() - left;
    const QColor column = color(palette, state.isDone ? Tone::secondary : Tone::primary);
    if (!text.priorityMark.isEmpty()) {
        painter.setFont(caption_);
        painter.setPen(withAlpha(color(palette, Tone::orange), state.isDone ? 0.5 : 1.0));
        painter.drawText(QPointF(left, baseline), text.priorityMark);
    }
    QFont title = body_;
    title.setStrikeOut(state.isDone);
    painter.setFont(title);
    painter.setPen(column);
    const QFontMetricsF &body = bodyMetrics_, &callout = calloutMetrics_;
    double y = baseline;
    for (const QString& line : lines.title) {
        painter.drawText(QPointF(left + lines.markWidth, y), line);
        y += body.lineSpacing();
    }
    double top = y - body.lineSpacing() + body.descent();
    if (!lines.notes.isEmpty()) {
        painter.setFont(callout_);
        painter.setPen(state.isDone ? color(palette, Tone::secondary) : withAlpha(color(palette, Tone::primary), 0.75));
        y = top + lineGap + callout.ascent();
        for (const QString& line : lines.notes) {
            painter.drawText(QPointF(left, y), line);
            y += callout.lineSpacing();
        }
        top = y - callout.lineSpacing() + callout.descent();
    }
    if (!presentation.summary.empty())
        paintSummary(painter, presentation.summary, {left, top + lineGap}, width, isDark(palette), palette);
    painter.restore();
}

void ReminderRowPainter::paintCheckbox(QPainter& painter, QPointF centre, const ReminderRowState& state,
                                       const QPalette& palette) const {
    const QColor accent = color(palette, Tone::accent);
    const bool filled = state.isCompleting || state.isDone;
    // The stroke lies inside the ring's 16 × 16.
    const double radius = (ringSide - ringStroke) / 2;
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(filled ? accent : withAlpha(color(palette, Tone::secondary), 0.6), ringStroke));
    painter.drawEllipse(centre, radius, radius);
    if (!filled) return;
    painter.setPen(Qt::NoPen);
    painter.setBrush(accent);
    const double dot = dotSide / 2 * std::clamp(state.fill, 0.0, 1.0);
    if (dot > 0) painter.drawEllipse(centre, dot, dot);
    if (!state.burst || !state.isCompleting) return;
    const double progress = std::clamp(*state.burst, 0.0, 1.0);
    for (int i = 0; i < particles; ++i) {
        const double angle = double(i) / particles * 2 * std::numbers::pi;
        const double distance = 12 + 4 * (i % 3);
        const double diameter = (i % 2 == 0 ? 4 : 3) * (1 - progress);
        QColor particle = accent;
        particle.setAlphaF(float(accent.alphaF() * (1 - progress)));
        painter.setBrush(particle);
        const QPointF at = centre + QPointF(std::cos(angle), std::sin(angle)) * distance * progress;
        painter.drawEllipse(at, diameter / 2, diameter / 2);
    }
}

double ReminderRowPainter::paintSummary(QPainter& painter, const std::vector<SummaryElement>& summary, QPointF at,
                                        double width, bool overdueDark, const QPalette& palette) const {
    const QFontMetricsF &callout = calloutMetrics_, &pill = pillMetrics_;
    const double lineHeight = std::max(callout.lineSpacing(), pill.height() + 2 * pillVertical);
    const double baseline = at.y() + (lineHeight - callout.height()) / 2 + callout.ascent();
    const double iconSide = symbolSide(callout_);
    const QColor secondary = color(palette, Tone::secondary);
    const double right = at.x() + width;
    double x = at.x();
    painter.setFont(callout_);
    for (const SummaryElement& element : summary) {
        if (x >= right) break;
        using Kind = SummaryElement::Kind;
        if (element.kind == Kind::place || element.kind == Kind::repeat) {
            if (x + iconSide > right) break;
            const QRectF icon(x, at.y() + (lineHeight - iconSide) / 2, iconSide, iconSide);
            paintSymbol(painter, element.kind == Kind::place ? Symbol::locationArrow : Symbol::repeat, icon, secondary);
            x += iconSide + elementGap;
        }
        if (element.kind == Kind::overduePill) {
            const QColor text = overdueDark ? QColor(255, 123, 117) : QColor(215, 0, 21);
            const QColor fill = overdueDark ? QColor(69, 21, 23) : QColor(255, 236, 234);
            const QString shown =
                pill.elidedText(element.text, Qt::ElideRight, std::max(0.0, right - x - 2 * pillHorizontal));
            const double textWidth = pill.horizontalAdvance(shown);
            const QRectF capsule(x, at.y() + (lineHeight - pill.height()) / 2 - pillVertical,
                                 textWidth + 2 * pillHorizontal, pill.height() + 2 * pillVertical);
            painter.setPen(Qt::NoPen);
            painter.setBrush(fill);
            painter.drawRoundedRect(capsule, capsule.height() / 2, capsule.height() / 2);
            painter.setFont(pill_);
            painter.setPen(text);
            painter.drawText(QPointF(x + pillHorizontal, capsule.top() + pillVertical + pill.ascent()), shown);
            painter.setFont(callout_);
            x = capsule.right() + elementGap;
            continue;
        }
        const QString shown = callout.elidedText(element.text, Qt::ElideRight, right - x);
        painter.setPen(secondary);
        painter.drawText(QPointF(x, baseline), shown);
        if (shown != element.text) break;
        x += callout.horizontalAdvance(shown) + elementGap;
    }
    return lineHeight;
}

}  // namespace tavlin::rows
