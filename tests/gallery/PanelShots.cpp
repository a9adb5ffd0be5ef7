// The panel as it opens under the tray item and at its home in the middle
// of the screen, translucent (a compositing manager runs) and opaque (its
// shape cut to the corners); the request for access and the refusal; the
// footer with a failure, with reminders done today and with nothing; a
// section's title; and a captured text being read, read into three
// candidates, and holding none. Each in the light and the dark palette.

#include "Gallery.h"

#include "panel/PanelModel.h"
#include "panel/widgets/KeyPanel.h"
#include "panel/widgets/PanelFooter.h"
#include "panel/widgets/PanelWidget.h"
#include "panel/widgets/ReminderList.h"

#include "rows/SectionHeader.h"
#include "store/MemoryStoreWorld.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPainter>
#include <QVBoxLayout>

#include <memory>

using namespace Qt::StringLiterals;

namespace tavlin::gallery {

namespace {

using platform::AuthorizationStatus;

void runUntil(const std::function<bool()>& done) {
    const QDeadlineTimer deadline(5000);
    while (!done() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// The reminders in memory at the gallery's moment, with the settings in a
// folder of their own: a model of one opening over them.
class Reminders {
public:
    struct Options {
        AuthorizationStatus authorization = AuthorizationStatus::fullAccess;
        int doneToday = 0;
        std::optional<platform::StoreError> failure;  // the store's last error
        std::vector<platform::Reminder> open;         // in the list "Reminders" unless they name another
    };

    explicit Reminders(Options options) {
        platform::MemoryEventStore::Contents contents;
        contents.lists = {{.identifier = u"L1"_s, .title = u"Reminders"_s},
                          {.identifier = u"L2"_s, .title = u"Work"_s}};
        for (platform::Reminder& reminder : options.open) {
            if (reminder.listIdentifier.isEmpty()) reminder.listIdentifier = u"L1"_s;
            contents.reminders.push_back(std::move(reminder));
        }
        for (int done = 0; done < options.doneToday; ++done)
            contents.reminders.push_back({.identifier = u"done-%1"_s.arg(done),
                                          .title = u"Done %1"_s.arg(done),
                                          .listIdentifier = u"L1"_s,
                                          .completed = true,
                                          .completionDate = now()});
        world_ = std::make_unique<MemoryStoreWorld>(std::move(contents), store::WallClock{now, calendar()},
                                                    options.authorization);
        if (options.authorization == AuthorizationStatus::fullAccess) world_->startAndRead();
        else world_->store.start();
        if (options.failure) {
            world_->events.setSaveFailure(options.failure);
            platform::detach(world_->store.add({.title = u"Buy milk"_s}));
            runUntil([&] { return world_->store.lastError().has_value(); });
        }
    }

    std::unique_ptr<panel::PanelModel> model(panel::PanelViewInputs inputs) {
        inputs.store = &world_->store;
        inputs.settings = &world_->settings;
        inputs.locationProvider = &world_->location;
        return std::make_unique<panel::PanelModel>(
            std::move(inputs),
            panel::PanelModel::Environment{.wallClock = {now, calendar()}, .reduceMotion = [] { return true; }});
    }

private:
    std::unique_ptr<MemoryStoreWorld> world_;
};

struct Opening {
    QString name;
    double width;
    double cornerRadius;
    double fieldPadding;
};
const Opening statusItem{u"statusItem"_s, 440, 16, 10};
const Opening screenCenter{u"screenCenter"_s, 520, 20, 16};

QString named(QString name, Scheme scheme) { return scheme == Scheme::dark ? name + u"-dark"_s : name; }

// The panel's window as it opens, drawn with its shape; opened with
// `captureText` when given, its model then changed by `adjust`.
QImage panel(const Opening& opening, Reminders::Options options, bool translucent, Scheme scheme,
             std::optional<QString> captureText = std::nullopt,
             const std::function<void(panel::PanelModel&)>& adjust = {}) {
    Reminders reminders(std::move(options));
    const std::unique_ptr<panel::PanelModel> model =
        reminders.model({.panelWidth = opening.width,
                         .followsStoredWidth = opening.name == screenCenter.name,
                         .cornerRadius = opening.cornerRadius,
                         .searchFieldPadding = opening.fieldPadding,
                         .captureText = std::move(captureText)});
    if (adjust) adjust(*model);
    panel::widgets::KeyPanel window(panel::widgets::PanelWidget::factory(), translucent);
    window.setPalette(palette(scheme));
    window.setRootView(*model);
    window.installContent(opening.cornerRadius);
    // The views' first renders, and the capture's list at its measured
    // height.
    for (int turn = 0; turn < 3; ++turn) QCoreApplication::processEvents();
    window.layoutContent();
    window.setFrame(QRectF(0, 0, opening.width, window.contentHeight()));
    window.ensurePolished();
    QImage image(window.size(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(1);
    image.fill(Qt::transparent);
    // An opaque window fills its whole rectangle; its shape shows only the
    // part within the mask.
    window.render(&image, {}, {},
                  translucent ? QWidget::DrawChildren : QWidget::DrawWindowBackground | QWidget::DrawChildren);
    if (!window.mask().isEmpty()) {
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_Clear);
        painter.setClipRegion(QRegion(window.rect()).subtracted(window.mask()));
        painter.fillRect(window.rect(), Qt::transparent);
    }
    return image;
}

// Due on day `day` of March 2026, at `hour` when given.
platform::DateComponents march(int day, std::optional<int> hour = std::nullopt) {
    return {.year = 2026, .month = 3, .day = day, .hour = hour, .minute = hour ? std::optional(0) : std::nullopt};
}

// Open reminders in every section but Nearby.
std::vector<platform::Reminder> openReminders() {
    const auto reminder = [](QString id, QString title, std::optional<platform::DateComponents> due) {
        return platform::Reminder{.identifier = std::move(id), .title = std::move(title), .dueDateComponents = due};
    };
    std::vector<platform::Reminder> open{
        reminder(u"o1"_s, u"Send the invoice"_s, march(3, 9)),
        reminder(u"t1"_s, u"Call the dentist"_s, march(4, 14)),
        reminder(u"t2"_s, u"Pick up the parcel"_s, march(4)),
        reminder(u"m1"_s, u"Team lunch"_s, march(5, 12)),
        reminder(u"w1"_s, u"Book the train tickets for the family weekend in Utrecht"_s, march(7, 10)),
        reminder(u"l1"_s, u"Renew the passport"_s, march(20)),
        reminder(u"n1"_s, u"Read the new design notes"_s, std::nullopt),
    };
    open[0].listIdentifier = u"L2"_s;
    open[0].alarms = {platform::Alarm::on({.title = u"Office"_s}, platform::AlarmProximity::enter)};
    open[2].priority = 1;
    open[3].notes = u"Ask Priya about the room"_s;
    open[5].recurrenceRules = {{.frequency = platform::RecurrenceRule::Frequency::yearly}};
    return open;
}

// What is done in the panel before it is drawn.
using Setup = std::function<void(panel::PanelModel&, panel::widgets::ReminderList&)>;

// The panel with its list, the second reminder selected.
QImage list(Reminders::Options options, Scheme scheme, const Setup& setup = {}) {
    Reminders reminders(std::move(options));
    const std::unique_ptr<panel::PanelModel> model =
        reminders.model({.panelWidth = 440, .cornerRadius = 16, .searchFieldPadding = 10});
    if (model->list().flatRowCount().reminders > 1) model->rowSelection().setSelection(panel::ListSelection::only(1));
    panel::widgets::KeyPanel window(panel::widgets::PanelWidget::factory(), true);
    window.setPalette(palette(scheme));
    window.setRootView(*model);
    window.installContent(16);
    QCoreApplication::processEvents();
    if (setup) {
        setup(*model, *window.findChild<panel::widgets::ReminderList*>());
        for (int turn = 0; turn < 3; ++turn) QCoreApplication::processEvents();
    }
    window.layoutContent();
    window.setFrame(QRectF(0, 0, 440, window.contentHeight()));
    // The list places an edit's row itself: it is laid out as the window shows.
    if (setup) {
        window.show();
        for (int turn = 0; turn < 3; ++turn) QCoreApplication::processEvents();
        // As the controller follows the content's new height.
        window.setFrame(QRectF(0, 0, 440, window.contentHeight()));
        QCoreApplication::processEvents();
    }
    window.ensurePolished();
    QImage image(window.size(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(1);
    image.fill(Qt::transparent);
    window.render(&image, {}, {}, QWidget::DrawChildren);
    return image;
}

QImage footer(Reminders::Options options, Scheme scheme) {
    Reminders reminders(std::move(options));
    const std::unique_ptr<panel::PanelModel> model = reminders.model({.panelWidth = 440});
    panel::widgets::PanelFooter view(*model);
    return onPanelBackground(view, 440, scheme);
}

QImage sectionHeader(Scheme scheme) {
    QWidget column;
    auto* layout = new QVBoxLayout(&column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(new rows::SectionHeader(u"Today"_s, 16));
    layout->addWidget(new rows::SectionHeader(u"No Due Date"_s, 16));
    return onPanelBackground(column, 440, scheme);
}

const platform::StoreError longFailure{
    .code = platform::StoreError::writeFailed,
    .description =
        u"Couldn’t write “/home/anna/.local/share/Tavlin/Reminders/Reminders/8f0c2d.ics”: "
        u"No space left on device."_s};

platform::Reminder shown(const panel::PanelModel& model, const QString& id) {
    for (const platform::Reminder& reminder : model.store().reminders())
        if (reminder.identifier == id) return reminder;
    return {};
}

// The undo bar after each kind of action, a reminder edited in its row,
// and a row swiped aside.
const std::vector<std::pair<QString, Setup>> actions{
    {u"undo-bar-completed-1"_s,
     [](panel::PanelModel& model, auto&) { model.rowActions().completeReminders({shown(model, u"t1"_s)}); }},
    {u"undo-bar-completed-3"_s,
     [](panel::PanelModel& model, auto&) {
         model.rowActions().completeReminders({shown(model, u"t1"_s), shown(model, u"t2"_s), shown(model, u"m1"_s)});
     }},
    {u"undo-bar-deleted-1"_s,
     [](panel::PanelModel& model, auto&) { model.rowActions().deleteReminders({shown(model, u"t2"_s)}); }},
    {u"edit-row-plain"_s,
     [](panel::PanelModel& model, auto&) { model.listActions().startEdit(shown(model, u"t1"_s)); }},
    {u"edit-row-suggestions"_s,
     [](panel::PanelModel& model, auto&) {
         model.listActions().startEdit(shown(model, u"t1"_s));
         model.inlineEdit().setEditingText(u"Call the dentist 4 Mar 2026 14:00 #"_s);
         model.inlineEdit().setEditListSuggestionIndex(1);
     }},
    {u"edit-row-suggestions-one"_s,
     [](panel::PanelModel& model, auto&) {
         model.listActions().startEdit(shown(model, u"t1"_s));
         model.inlineEdit().setEditingText(u"Call the dentist 4 Mar 2026 14:00 #wo"_s);
     }},
    {u"row-swipe-revealed"_s,
     [](panel::PanelModel&, panel::widgets::ReminderList& list) { list.revealSwipe(u"t1"_s); }},
};

const Shots shots{[] {
    std::vector<Shot> all;
    for (const Scheme scheme : {Scheme::light, Scheme::dark}) {
        for (const Opening& opening : {statusItem, screenCenter})
            for (const bool translucent : {true, false}) {
                QString name = u"panel-field-"_s + opening.name;
                if (!translucent) name += u"-opaque"_s;
                all.push_back({named(name, scheme), [=] { return panel(opening, {}, translucent, scheme); }});
            }
        all.push_back(
            {named(u"panel-prompt"_s, scheme),
             [=] { return panel(statusItem, {.authorization = AuthorizationStatus::notDetermined}, true, scheme); }});
        all.push_back({named(u"panel-denied"_s, scheme), [=] {
                           // The folder named is the same on every machine.
                           qputenv("TAVLIN_REMINDERS_DIR", "/home/anna/.local/share/Tavlin/Reminders");
                           QImage image =
                               panel(statusItem, {.authorization = AuthorizationStatus::denied}, true, scheme);
                           qunsetenv("TAVLIN_REMINDERS_DIR");
                           return image;
                       }});
        all.push_back({named(u"footer-error-long"_s, scheme),
                       [=] { return footer({.doneToday = 2, .failure = longFailure}, scheme); }});
        all.push_back({named(u"footer-done-1"_s, scheme), [=] { return footer({.doneToday = 1}, scheme); }});
        all.push_back({named(u"footer-done-6"_s, scheme), [=] { return footer({.doneToday = 6}, scheme); }});
        all.push_back({named(u"footer-none"_s, scheme), [=] { return footer({}, scheme); }});
        all.push_back({named(u"section-header"_s, scheme), [=] { return sectionHeader(scheme); }});
        // A captured text: being read, read into three, holding none, and holding more than it takes.
        all.push_back({named(u"capture-finding"_s, scheme), [=] {
                           return panel(screenCenter, {}, true, scheme, u"Pay rent"_s, [](panel::PanelModel& model) {
                               model.capture().setCaptureCandidates(std::nullopt);
                           });
                       }});
        all.push_back({named(u"capture-three"_s, scheme), [=] {
                           return panel(
                               screenCenter, {}, true, scheme,
                               u"- Buy milk\n- Call the dentist tomorrow at 9\n- Water the plants every week"_s);
                       }});
        all.push_back(
            {named(u"capture-empty"_s, scheme), [=] { return panel(screenCenter, {}, true, scheme, u" \n "_s); }});
        // More tasks than become candidates: the count says how many were left out.
        all.push_back({named(u"capture-left-out"_s, scheme), [=] {
                           QStringList lines;
                           for (int n = 1; n <= 13; ++n) lines << u"- Pack box %1"_s.arg(n);
                           return panel(screenCenter, {}, true, scheme, lines.join(u'\n'));
                       }});
        all.push_back({named(u"list-sections"_s, scheme),
                       [=] { return list({.doneToday = 2, .open = openReminders()}, scheme); }});
        all.push_back({named(u"list-only-done-today"_s, scheme), [=] { return list({.doneToday = 2}, scheme); }});
        // Not a structured binding: clang does not let a lambda capture one.
        for (const auto& action : actions)
            all.push_back({named(action.first, scheme), [=, setup = action.second] {
                               return list({.doneToday = 2, .open = openReminders()}, scheme, setup);
                           }});
    }
    return all;
}};

}  // namespace

}  // namespace tavlin::gallery
