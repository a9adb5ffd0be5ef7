// Random files through the iCalendar reader and writer, as a synced
// collection could hand them over. A file that is read is written back so
// that it reads the same; its to-do reads as the same reminder once written;
// and an edit applied to it, or the next occurrence of its series written
// anew, reads back as it was made.

#include "FuzzSupport.h"
#include "platform/eventstore/ICalendarComponent.h"
#include "platform/eventstore/ICalendarReminder.h"

#include <cstddef>
#include <cstdint>

using namespace Qt::StringLiterals;
using namespace tavlin::platform;
using tavlin::fuzz::require;

namespace {

const Date kWritten = Date::fromSecondsSince1970(1772323200);  // 2026-03-01T00:00:00Z

std::optional<Reminder> readBack(const QByteArray& text) {
    const std::optional<ICalendarComponent> calendar = ICalendarComponent::parse(text);
    require(calendar.has_value(), "what was written parses");
    const ICalendarComponent* todo = ICalendarReminder::todo(*calendar);
    require(todo != nullptr, "what was written holds its to-do");
    return ICalendarReminder::read(*todo);
}

// The fields an edit sets, changed from what was read.
Reminder edited(Reminder reminder) {
    reminder.title = reminder.title == u"Edited"_s ? u"Edited again"_s : u"Edited"_s;
    reminder.notes = u"A note; with, what needs\nescaping \\"_s;
    reminder.priority = reminder.priority == 1 ? 5 : 1;
    reminder.completed = !reminder.completed;
    reminder.completionDate = reminder.completed ? std::optional(kWritten) : std::nullopt;
    return reminder;
}

void checkReminder(ICalendarComponent& calendar, const Reminder& reminder) {
    const QByteArray written = calendar.serialized();
    const std::optional<Reminder> again = readBack(written);
    require(again == reminder, "a reminder reads the same once its file is written");

    const Reminder change = edited(reminder);
    ICalendarReminder::apply(change, calendar, kWritten);
    const std::optional<Reminder> changed = readBack(calendar.serialized());
    require(changed.has_value(), "an edited to-do keeps its UID");
    require(changed->title == change.title && changed->notes == change.notes && changed->priority == change.priority &&
                changed->completed == change.completed,
            "an edit reads back as it was applied");

    if (std::optional<Reminder> next = ICalendarReminder::nextOccurrence(reminder)) {
        next->identifier = u"next"_s;
        next->creationDate = kWritten;
        const std::optional<Reminder> made = readBack(ICalendarReminder::newCalendar(*next, kWritten).serialized());
        // A new line is written with its text escaped, and a carriage
        // return (which the store turns into a line break before it
        // writes) left out.
        QString title = next->title;
        title.remove(u'\r');
        require(made.has_value() && made->identifier == next->identifier && made->title == title &&
                    made->dueDateComponents == next->dueDateComponents,
                "the next occurrence reads back as it was made");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView text(data, static_cast<qsizetype>(size));
    QByteArray error;
    std::optional<ICalendarComponent> calendar = ICalendarComponent::parse(text, &error);
    if (!calendar) {
        require(!error.isEmpty(), "a refused file says why");
        return 0;
    }
    const QByteArray written = calendar->serialized();
    const std::optional<ICalendarComponent> reread = ICalendarComponent::parse(written);
    require(reread.has_value(), "a file written from one read parses");
    require(reread->serialized() == written, "a file written twice is written the same");

    const ICalendarComponent* todo = ICalendarReminder::todo(*calendar);
    if (!todo) return 0;
    const std::optional<Reminder> reminder = ICalendarReminder::read(*todo);
    if (reminder) checkReminder(*calendar, *reminder);
    return 0;
}
