// New reminders and edits from a parsed line: every field, the alarms that
// go with the due date and the place, recurrence rules, lists, and what each
// outcome leaves in lastError.

#include "ReminderStoreFixture.h"

using namespace std::chrono_literals;
using namespace tavlin::platform;
using namespace tavlin::store;
using namespace tavlin::parsing;
using namespace Qt::StringLiterals;

namespace {

using Frequency = RecurrenceRule::Frequency;

class ReminderEditTest : public ReminderStoreFixture {
protected:
    ReminderEditTest() { defaultLists = {list("L1", "Home"), list("L2", "Work")}; }

    template <class T>
    T finished(Task<T> task) {
        clock.runDueActions();
        EXPECT_TRUE(task.isDone());
        return task.result();
    }

    Reminder edited(const ParsedQuickAdd& parsed, const Reminder& reminder) {
        return finished(store->applyEdit(parsed, reminder, std::nullopt));
    }

    ReminderStore::UpdateOutcome updated(const ParsedQuickAdd& parsed, const Reminder& reminder) {
        return finished(store->update(parsed, reminder));
    }

    Reminder stored(const char* identifier) { return backend.reminder(QString::fromUtf8(identifier)).value(); }

    static Alarm placeAlarm(const char* title, std::optional<GeoLocation> geo, double radius = 0) {
        return Alarm::on({QString::fromUtf8(title), geo, radius}, AlarmProximity::enter);
    }
    static Alarm relativeAlarm() { return {.relativeOffset = -900}; }

    static constexpr GeoLocation amsterdam{52.37, 4.89};
    // Thursday 5 March 2026, 14:30 in Amsterdam.
    static constexpr Date thursdayAfternoon = Date::fromSecondsSince1970(1772717400);
};

}  // namespace

TEST_F(ReminderEditTest, TheDueDateBringsItsAlarmAndOffsetAlarmsStay) {
    Reminder before = reminder("r", "L1", at(2026, 3, 4, 9));
    before.alarms = {Alarm::at(wednesdayMorning), relativeAlarm()};
    struct Case {
        const char* name;
        std::optional<DateComponents> due;
        bool hasTime;
        std::vector<Alarm> alarms;
    };
    const Case cases[] = {
        {"no date: no due date and no alarm at a date", std::nullopt, false, {relativeAlarm()}},
        {"a date without a time: no alarm at a date", day(2026, 3, 5), false, {relativeAlarm()}},
        {"a date and a time: one alarm at that instant",
         at(2026, 3, 5, 14, 30),
         true,
         {relativeAlarm(), Alarm::at(thursdayAfternoon)}},
    };
    storeWith({before});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Reminder after = edited({.title = u"r"_s, .dueDateComponents = c.due, .hasTime = c.hasTime}, before);
        EXPECT_EQ(after.dueDateComponents, c.due);
        EXPECT_EQ(after.alarms, c.alarms);
    }
}

TEST_F(ReminderEditTest, RecurrenceRulesFollowTheLineAsFarAsTheyCan) {
    const RecurrenceEnd end{.occurrenceCount = 10};
    const RecurrenceRule mondaysAndWednesdays{
        .frequency = Frequency::weekly, .end = end, .daysOfTheWeek = {{.weekday = 2}, {.weekday = 4}}};
    const RecurrenceRule hourly{.frequency = Frequency::hourly, .interval = 3, .end = end, .setPositions = {1}};
    struct Case {
        const char* name;
        std::vector<RecurrenceRule> before;
        std::optional<RecurrenceFrequency> frequency;
        int interval;
        std::vector<RecurrenceRule> after;
    };
    const Case cases[] = {
        {"a cadence on a reminder without one",
         {},
         RecurrenceFrequency::monthly,
         1,
         {{.frequency = Frequency::monthly}}},
        {"two rules stay whatever the line says",
         {mondaysAndWednesdays, hourly},
         std::nullopt,
         1,
         {mondaysAndWednesdays, hourly}},
        {"a new interval keeps the weekdays and the end",
         {mondaysAndWednesdays},
         RecurrenceFrequency::weekly,
         2,
         {{.frequency = Frequency::weekly,
           .interval = 2,
           .end = end,
           .daysOfTheWeek = {{.weekday = 2}, {.weekday = 4}}}}},
        {"a new frequency drops the weekdays and keeps the end",
         {mondaysAndWednesdays},
         RecurrenceFrequency::monthly,
         1,
         {{.frequency = Frequency::monthly, .end = end}}},
        {"the same cadence changes nothing",
         {mondaysAndWednesdays},
         RecurrenceFrequency::weekly,
         1,
         {mondaysAndWednesdays}},
        {"no cadence removes the rule", {mondaysAndWednesdays}, std::nullopt, 1, {}},
        {"a rule finer than daily stays without a cadence", {hourly}, std::nullopt, 1, {hourly}},
        {"and is replaced by one, keeping only its end",
         {hourly},
         RecurrenceFrequency::daily,
         1,
         {{.frequency = Frequency::daily, .end = end}}},
    };
    storeWith({});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Reminder before = reminder("r");
        before.recurrenceRules = c.before;
        const Reminder after =
            edited({.title = u"r"_s, .recurrenceFrequency = c.frequency, .recurrenceInterval = c.interval}, before);
        EXPECT_EQ(after.recurrenceRules, c.after);
    }
}

TEST_F(ReminderEditTest, APlaceIsKeptGivenResolvedOrNamedAlone) {
    geography.answers[u"Central Station"_s] = {{u"Amsterdam Centraal"_s, GeoLocation{52.38, 4.90}}};
    const ResolvedLocation given{u"Office"_s, 52.3, 4.8, 75};
    struct Case {
        const char* name;
        std::vector<Alarm> before;
        std::optional<QString> place;
        std::optional<double> radius;
        std::optional<ResolvedLocation> given;
        std::vector<Alarm> after;
        QStringList lookups;
    };
    const Case cases[] = {
        {"the same place keeps its coordinates without a lookup",
         {placeAlarm("Home", amsterdam, 150)},
         u"home"_s,
         std::nullopt,
         std::nullopt,
         {placeAlarm("Home", amsterdam, 150)},
         {}},
        {"a radius changes only the radius",
         {placeAlarm("Home", amsterdam, 150)},
         u"Home"_s,
         200.0,
         std::nullopt,
         {placeAlarm("Home", amsterdam, 200)},
         {}},
        {"a place without coordinates is looked up again",
         {placeAlarm("Central Station", std::nullopt)},
         u"Central Station"_s,
         std::nullopt,
         std::nullopt,
         {placeAlarm("Amsterdam Centraal", GeoLocation{52.38, 4.90}, 100)},
         {u"Central Station"_s}},
        {"a resolved place takes the line's radius",
         {},
         u"Central Station"_s,
         300.0,
         std::nullopt,
         {placeAlarm("Amsterdam Centraal", GeoLocation{52.38, 4.90}, 300)},
         {u"Central Station"_s}},
        {"a place that cannot be resolved keeps its name alone",
         {placeAlarm("Home", amsterdam, 150)},
         u"Grandma's"_s,
         std::nullopt,
         std::nullopt,
         {placeAlarm("Grandma's", std::nullopt)},
         {u"Grandma's"_s}},
        {"a place the caller resolved stands as it is",
         {},
         u"the office"_s,
         500.0,
         given,
         {placeAlarm("Office", GeoLocation{52.3, 4.8}, 75)},
         {}},
        {"a line without a place removes the place alarm, and only it",
         {placeAlarm("Home", amsterdam, 150), relativeAlarm()},
         std::nullopt,
         std::nullopt,
         std::nullopt,
         {relativeAlarm()},
         {}},
    };
    storeWith({});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        geography.queries.clear();
        Reminder before = reminder("r");
        before.alarms = c.before;
        const Reminder after = finished(
            store->applyEdit({.title = u"r"_s, .locationName = c.place, .locationRadius = c.radius}, before, c.given));
        EXPECT_EQ(after.alarms, c.after);
        EXPECT_EQ(geography.queries, c.lookups);
    }
}

TEST_F(ReminderEditTest, LeavingAPlaceIsAnAlarmOnLeaving) {
    storeWith({});
    const Reminder after =
        edited({.title = u"r"_s, .locationName = u"Gym"_s, .locationTrigger = LocationTrigger::leave}, reminder("r"));
    ASSERT_EQ(after.alarms.size(), 1u);
    EXPECT_EQ(after.alarms[0].proximity, AlarmProximity::leave);
}

TEST_F(ReminderEditTest, AListIsFoundByItsTitleInTheReminderAccountFirst) {
    storeWith({}, {list("A-work", "Work", "A"), list("B-home", "Home", "B"), list("B-work", "Work", "B"),
                   list("B-work-2", "Work", "B")});
    struct Case {
        const char* name;
        const char* listBefore;
        std::optional<QString> listName;
        QString listAfter;
    };
    const Case cases[] = {
        {"the list of that title in the reminder's account", "B-home", u"Work"_s, u"B-work"_s},
        {"no list of that title: the reminder stays", "B-home", u"Chores"_s, u"B-home"_s},
        {"no list named: the reminder stays", "B-home", std::nullopt, u"B-home"_s},
        {"the current list's title, shared in its account: the reminder stays", "B-work-2", u"Work"_s, u"B-work-2"_s},
        {"a new reminder naming no list goes to the quick-add list", "", std::nullopt, u"A-work"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Reminder after = edited({.title = u"r"_s, .listName = c.listName}, reminder("r", c.listBefore));
        EXPECT_EQ(after.listIdentifier, c.listAfter);
    }
}

TEST_F(ReminderEditTest, AddSavesTheReminderAndShowsItAtOnce) {
    storeWith({reminder("existing")});
    geography.answers[u"Gym"_s] = {{u"The Gym"_s, GeoLocation{1, 2}}};
    const ParsedQuickAdd parsed{.title = u"Swim"_s,
                                .dueDateComponents = at(2026, 3, 5, 14, 30),
                                .hasTime = true,
                                .recurrenceFrequency = RecurrenceFrequency::weekly,
                                .locationName = u"Gym"_s,
                                .priority = Priority::high,
                                .listName = u"Work"_s};
    const std::optional<Reminder> added = finished(store->add(parsed, std::nullopt, u"Bring a towel"_s));
    ASSERT_TRUE(added);
    EXPECT_EQ(store->lastError(), std::nullopt);
    EXPECT_EQ(store->reminders().back(), *added);
    const Reminder saved = stored(added->identifier.toUtf8().constData());
    EXPECT_EQ(saved, *added);
    EXPECT_EQ(saved.title, u"Swim"_s);
    EXPECT_EQ(saved.notes, u"Bring a towel"_s);
    EXPECT_EQ(saved.listIdentifier, u"L2"_s);
    EXPECT_EQ(saved.priority, 1);
    EXPECT_EQ(saved.recurrenceRules, (std::vector<RecurrenceRule>{{.frequency = Frequency::weekly}}));
    EXPECT_EQ(saved.alarms, (std::vector{Alarm::at(thursdayAfternoon),
                                         Alarm::on({u"The Gym"_s, GeoLocation{1, 2}, 100}, AlarmProximity::enter)}));
}

TEST_F(ReminderEditTest, AddWithEmptyNotesSetsNone) {
    storeWith({});
    const std::optional<Reminder> added = finished(store->add({.title = u"Swim"_s}, std::nullopt, u""_s));
    ASSERT_TRUE(added);
    EXPECT_TRUE(added->notes.isEmpty());
}

TEST_F(ReminderEditTest, AFailedAddShowsNothingAndKeepsTheError) {
    storeWith({}, {});
    const int refreshesBefore = refreshes;
    const std::optional<Reminder> added = finished(store->add({.title = u"Swim"_s}));
    EXPECT_EQ(added, std::nullopt);
    ASSERT_TRUE(store->lastError());
    EXPECT_EQ(std::get<StoreError>(*store->lastError()).code, StoreError::noList);
    EXPECT_TRUE(store->reminders().empty());
    EXPECT_EQ(refreshes, refreshesBefore + 1);
}

TEST_F(ReminderEditTest, AnUpdateSavesTheLineAndShowsTheSavedReminder) {
    storeWith({reminder("r")});
    const StoreError earlier{.code = StoreError::writeFailed, .description = u"earlier"_s};
    backend.setSaveFailure(earlier);
    detach(store->add({.title = u"fails"_s}));
    backend.setSaveFailure(std::nullopt);

    EXPECT_EQ(updated({.title = u"Renamed"_s, .priority = Priority::medium}, reminder("r")),
              ReminderStore::UpdateOutcome::saved);
    EXPECT_EQ(store->lastError(), std::nullopt);
    EXPECT_EQ(stored("r").title, u"Renamed"_s);
    EXPECT_EQ(store->reminders(), std::vector{stored("r")});
}

TEST_F(ReminderEditTest, AnUpdateKeepsAnotherClientsPriorityNumberWhileItsLevelStays) {
    Reminder third = reminder("r");
    third.priority = 3;
    storeWith({third});
    updated({.title = u"Renamed"_s, .priority = Priority::high}, third);
    EXPECT_EQ(stored("r").priority, 3);
    updated({.title = u"Renamed"_s, .priority = Priority::low}, stored("r"));
    EXPECT_EQ(stored("r").priority, 9);
}

TEST_F(ReminderEditTest, AnUpdateWorksOnTheReminderAsSavedNow) {
    storeWith({reminder("r")});
    backend.changeByAnotherProcess([](MemoryEventStore::Contents& held) { held.reminders[0].notes = u"new"_s; });
    updated({.title = u"Renamed"_s}, reminder("r"));
    EXPECT_EQ(stored("r").notes, u"new"_s);
}

// Another program changed one field on disk after the caller read the
// reminder; the edit, made from what the caller read, sets another (or the
// same) field. What the edit sets is saved, and everything else keeps the
// other program's value.
TEST_F(ReminderEditTest, AnEditOfAnOlderCopyChangesOnlyTheFieldsItSets) {
    defaultLists.push_back(list("L3", "Garden"));
    Reminder base = reminder("r", "L1", at(2026, 3, 5, 9));
    base.title = u"Water plants"_s;
    base.notes = u"The ferns too"_s;
    base.priority = 5;
    base.recurrenceRules = {{.frequency = Frequency::weekly}};
    base.alarms = {Alarm::at(thursdayAfternoon.addingTimeInterval(-5.5 * 3600)), placeAlarm("Home", amsterdam, 150)};
    const ParsedQuickAdd asRead{.title = base.title,
                                .dueDateComponents = base.dueDateComponents,
                                .hasTime = true,
                                .recurrenceFrequency = RecurrenceFrequency::weekly,
                                .locationName = u"Home"_s,
                                .priority = Priority::medium};
    const Date saturdayMorning = Date::fromSecondsSince1970(1772866800);  // 7 March 2026, 08:00 in Amsterdam

    struct Field {
        const char* name;
        std::function<void(Reminder&)> changeOnDisk;
        std::function<void(ParsedQuickAdd&)> edit;   // empty: no line sets it
        std::function<void(Reminder&)> editedValue;  // what the edit makes of it
    };
    const std::vector<Field> fields = {
        {"title", [](Reminder& r) { r.title = u"Water the plants"_s; },
         [](ParsedQuickAdd& p) { p.title = u"Water ferns"_s; }, [](Reminder& r) { r.title = u"Water ferns"_s; }},
        {"due date", [&](Reminder& r) { r.dueDateComponents = at(2026, 3, 6, 10); },
         [&](ParsedQuickAdd& p) { p.dueDateComponents = at(2026, 3, 7, 8); },
         [&](Reminder& r) {
             r.dueDateComponents = at(2026, 3, 7, 8);
             r.alarms[0] = Alarm::at(saturdayMorning);
         }},
        {"priority", [](Reminder& r) { r.priority = 1; }, [](ParsedQuickAdd& p) { p.priority = Priority::low; },
         [](Reminder& r) { r.priority = 9; }},
        {"notes", [](Reminder& r) { r.notes = u"Not the cactus"_s; }, {}, {}},
        {"recurrence", [](Reminder& r) { r.recurrenceRules = {{.frequency = Frequency::monthly}}; },
         [](ParsedQuickAdd& p) { p.recurrenceFrequency = RecurrenceFrequency::daily; },
         [](Reminder& r) { r.recurrenceRules = {{.frequency = Frequency::daily}}; }},
        {"place", [](Reminder& r) { r.alarms[1].structuredLocation->radius = 300; },
         [](ParsedQuickAdd& p) { p.locationRadius = 250; },
         [](Reminder& r) { r.alarms[1].structuredLocation->radius = 250; }},
        {"list", [](Reminder& r) { r.listIdentifier = u"L2"_s; }, [](ParsedQuickAdd& p) { p.listName = u"Garden"_s; },
         [](Reminder& r) { r.listIdentifier = u"L3"_s; }},
    };
    const Field unchanged{"nothing", [](Reminder&) {}, {}, {}};

    storeWith({base});
    for (const Field& onDisk : fields) {
        for (const Field& edited : fields) {
            if (!edited.edit) continue;
            for (const Field* changed : {&onDisk, &unchanged}) {
                SCOPED_TRACE(std::string(changed->name) + " changed on disk, " + edited.name + " edited");
                backend.changeByAnotherProcess([&](MemoryEventStore::Contents& held) {
                    held.reminders = {base};
                    changed->changeOnDisk(held.reminders[0]);
                });
                ParsedQuickAdd line = asRead;
                edited.edit(line);
                ASSERT_EQ(updated(line, base), ReminderStore::UpdateOutcome::saved);

                Reminder expected = base;
                changed->changeOnDisk(expected);
                edited.editedValue(expected);
                EXPECT_EQ(stored("r"), expected);
                EXPECT_EQ(store->reminders(), std::vector{stored("r")}) << "shown as saved";
            }
        }
    }
}

TEST_F(ReminderEditTest, AnUpdateThatDoesNotHappenSaysWhy) {
    Reminder done = reminder("done");
    done.completed = true;
    storeWith({reminder("open"), done});
    const StoreError earlier{.code = StoreError::writeFailed, .description = u"earlier"_s};
    backend.setSaveFailure(earlier);
    detach(store->add({.title = u"fails"_s}));
    backend.setSaveFailure(std::nullopt);
    Reminder completedElsewhere = reminder("open");
    backend.changeByAnotherProcess([](MemoryEventStore::Contents& held) {
        held.reminders[0].completed = true;
        held.reminders.push_back(reminder("deleted soon"));
    });
    const Reminder deletedElsewhere = reminder("deleted soon");
    backend.changeByAnotherProcess([](MemoryEventStore::Contents& held) { held.reminders.pop_back(); });
    const int refreshesBefore = refreshes;

    struct Case {
        const char* name;
        Reminder reminder;
        ReminderStore::UpdateOutcome outcome;
    };
    const Case cases[] = {
        {"completed as it is shown", done, ReminderStore::UpdateOutcome::skippedBecauseCompleted},
        {"completed elsewhere since", completedElsewhere, ReminderStore::UpdateOutcome::skippedBecauseCompleted},
        {"deleted elsewhere since", deletedElsewhere, ReminderStore::UpdateOutcome::skippedBecauseMissing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(updated({.title = u"Renamed"_s}, c.reminder), c.outcome);
        EXPECT_EQ(store->lastError(), ReminderStore::Error(earlier)) << "left as it was";
    }
    EXPECT_EQ(refreshes, refreshesBefore) << "nothing written, nothing to refresh";
}

TEST_F(ReminderEditTest, AReminderDeletedWhileItsPlaceResolvesIsAFailedUpdate) {
    storeWith({reminder("r")});
    geography.delay = 50ms;
    Task<ReminderStore::UpdateOutcome> update =
        store->update({.title = u"r"_s, .locationName = u"Gym"_s}, reminder("r"));
    backend.changeByAnotherProcess([](MemoryEventStore::Contents& held) { held.reminders.clear(); });
    advance(50ms);
    ASSERT_TRUE(update.isDone());
    EXPECT_EQ(update.result(), ReminderStore::UpdateOutcome::failed);
    ASSERT_TRUE(store->lastError());
    EXPECT_EQ(std::get<StoreError>(*store->lastError()).code, StoreError::reminderNotFound);
}

TEST_F(ReminderEditTest, ARefusedSaveLeavesTheReminderAsItWas) {
    storeWith({reminder("r")});
    const StoreError refusal{.code = StoreError::writeFailed, .description = u"The disk is full."_s};
    backend.setSaveFailure(refusal);
    EXPECT_EQ(updated({.title = u"Renamed"_s, .listName = u"Work"_s}, reminder("r")),
              ReminderStore::UpdateOutcome::failed);
    EXPECT_EQ(store->lastError(), ReminderStore::Error(refusal));
    EXPECT_EQ(stored("r"), reminder("r"));
    EXPECT_EQ(store->reminders(), std::vector{reminder("r")});
}

TEST_F(ReminderEditTest, ARefusedListMoveSavesTheRestAndSaysSoInItsOwnWords) {
    storeWith({reminder("r", "L1")});
    const StoreError refusal{.code = StoreError::writeFailed, .description = u"The list is read-only."_s};
    backend.setListMoveFailure(refusal);
    EXPECT_EQ(updated({.title = u"Renamed"_s, .listName = u"Work"_s}, reminder("r", "L1")),
              ReminderStore::UpdateOutcome::listMoveRefused);
    EXPECT_EQ(stored("r").title, u"Renamed"_s);
    EXPECT_EQ(stored("r").listIdentifier, u"L1"_s);
    EXPECT_EQ(store->reminders(), std::vector{stored("r")});
    ASSERT_TRUE(store->lastError());
    const auto* refused = std::get_if<ReminderStore::ListMoveRefused>(&*store->lastError());
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->description(), u"Couldn’t move it to “Work” — the rest of the edit was saved"_s);
    EXPECT_EQ(ReminderStore::description(*store->lastError()), refused->description());
    EXPECT_EQ(refused->failureReason(),
              u"Reminders said: The list is read-only. (com.quorvandell.tavlin.reminders 5)"_s);
}
