// A reminder of the panel's list in each of its looks: plain, selected,
// done, overdue on a light and a dark desktop, completing (its burst half
// way), with its menu open, with no summary line, and with text long enough
// to be cut. Each on the panel's background, 440 wide, in both palettes.

#include "Gallery.h"

#include "rows/ReminderRow.h"

#include <QApplication>
#include <QPainter>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace tavlin::gallery {

namespace {

constexpr int rowWidth = 440;

platform::DateComponents day(int dayOfMonth, std::optional<int> hour = std::nullopt) {
    return {
        .year = 2026, .month = 3, .day = dayOfMonth, .hour = hour, .minute = hour ? std::optional(0) : std::nullopt};
}

platform::Reminder reminder(QString title) {
    return {.identifier = u"R"_s, .title = std::move(title), .listIdentifier = u"L1"_s};
}

// One row painted as the list paints it, on the panel's background.
class RowView : public QWidget {
public:
    RowView(platform::Reminder reminder, rows::ReminderRowState state, Scheme scheme)
        : reminder_(std::move(reminder)), state_(state), calendar_(calendar()), painter_(QApplication::font()) {
        setPalette(gallery::palette(scheme));
        context_ = {.now = now(), .calendar = &calendar_, .listTitle = [](const QString& id) -> std::optional<QString> {
                        return id == u"L1"_s ? std::optional(u"Reminders"_s) : std::nullopt;
                    }};
        setFixedSize(rowWidth, int(painter_.height(rows::reminderRowText(reminder_, context_), rowWidth)) + 16);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Window));
        painter_.paint(painter, QRectF(0, 8, width(), height() - 16),
                       rows::reminderRowPresentation(reminder_, state_.isDone, context_), state_, palette());
    }

private:
    platform::Reminder reminder_;
    rows::ReminderRowState state_;
    platform::Calendar calendar_;
    rows::ReminderRowPainter painter_;
    rows::ReminderRowContext context_;
};

QImage row(platform::Reminder reminder, rows::ReminderRowState state, Scheme scheme) {
    RowView view(std::move(reminder), state, scheme);
    return grab(view);
}

platform::Reminder dentist() {
    platform::Reminder r = reminder(u"Call the dentist"_s);
    r.dueDateComponents = day(4, 14);
    return r;
}

platform::Reminder overdue() {
    platform::Reminder r = reminder(u"Send the invoice"_s);
    r.dueDateComponents = day(3, 9);
    r.alarms = {platform::Alarm::on({.title = u"Office"_s}, platform::AlarmProximity::enter)};
    return r;
}

platform::Reminder longText() {
    platform::Reminder r = reminder(
        u"Book the train tickets for the family weekend in Utrecht and ask whether the hotel near the station still "
        u"has the room with the view over the canal, and whether breakfast is included"_s);
    r.priority = 1;
    r.notes =
        u"  Platform 5, the 08:12 if it runs; otherwise the one after. Bring the discount cards, the "
        u"children’s passes and the folder with the printed confirmation from last time.\n"_s;
    r.dueDateComponents = day(6, 17);
    r.recurrenceRules = {{.frequency = platform::RecurrenceRule::Frequency::weekly, .interval = 2}};
    return r;
}

const Shots shots{[] {
    std::vector<Shot> all;
    const auto add = [&](const QString& name, std::function<QImage(Scheme)> render) {
        all.push_back({name, [=] { return render(Scheme::light); }});
        all.push_back({name + u"-dark"_s, [=] { return render(Scheme::dark); }});
    };
    add(u"row-plain"_s, [](Scheme scheme) { return row(dentist(), {}, scheme); });
    add(u"row-selected"_s, [](Scheme scheme) { return row(dentist(), {.isSelected = true}, scheme); });
    add(u"row-done"_s, [](Scheme scheme) {
        platform::Reminder done = dentist();
        done.priority = 5;
        return row(done, {.isDone = true}, scheme);
    });
    all.push_back({u"row-overdue-light"_s, [] { return row(overdue(), {}, Scheme::light); }});
    all.push_back({u"row-overdue-dark"_s, [] { return row(overdue(), {}, Scheme::dark); }});
    add(u"row-completing"_s,
        [](Scheme scheme) { return row(dentist(), {.isCompleting = true, .fill = 1, .burst = 0.4}, scheme); });
    add(u"row-menu-open"_s, [](Scheme scheme) { return row(dentist(), {.menuOpen = true}, scheme); });
    add(u"row-no-summary"_s, [](Scheme scheme) {
        platform::Reminder bare = reminder(u"Water the plants"_s);
        bare.listIdentifier.clear();
        return row(bare, {}, scheme);
    });
    add(u"row-long-text"_s, [](Scheme scheme) { return row(longText(), {.isSelected = true}, scheme); });
    return all;
}};

}  // namespace

}  // namespace tavlin::gallery
