#include "devmodes/RescheduleTest.h"

#include "support/TavlinProcess.h"

#include "ScenarioFixture.h"

#include <QDir>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;
using tavlin::devmodes::rescheduleTest;

class RescheduleTest : public ScenarioFixture {};

// Which dates the lines name depends on today; the run under a fixed date
// is the end-to-end test's.
TEST_F(RescheduleTest, EditsTheTestReminderFourTimesRemovesItAndEnds) {
    ASSERT_TRUE(run(rescheduleTest(storeWith({}))));
    const QString edit =
        u"edit \"Tavlin reschedule-test <uuid8> <any>\" -> parsed due <date> title \"Tavlin "
        u"reschedule-test <uuid8><any>\"; save error: none; refetched due: <date> title \"Tavlin "
        u"reschedule-test <uuid8><any>\" alarms <any> newInstance <any>"_s;
    expectLines(output.lines, {u"same instance after refetch: true"_s,
                               u"serialized: \"Tavlin reschedule-test <uuid8> <any>#home\" previous: <any>"_s, edit,
                               edit, edit, edit, u"cleanup: ok"_s});
    EXPECT_TRUE(output.lines[2].contains(u" tomorrow 9am #home\""_s));
    EXPECT_TRUE(output.lines[3].contains(u" 20 Aug 2026 14:00 #home\""_s));
    EXPECT_TRUE(output.lines[4].contains(u" friday #home\""_s));
    EXPECT_TRUE(output.lines[5].contains(u" #home tomorrow\""_s));
    EXPECT_EQ(output.terminated, QList<qsizetype>{7});
    EXPECT_TRUE(backend.contents().reminders.empty());
}

TEST_F(RescheduleTest, AFailedCreateEndsTheRunAndTheApplicationRunsOn) {
    tavlin::store::ReminderStore& store = storeWith({});
    backend.setSaveFailure(refusal("disk full"));
    ASSERT_TRUE(run(rescheduleTest(store)));
    expectLines(output.lines, {u"RESCHEDULE-TEST FAIL: create returned nil disk full"_s});
    EXPECT_EQ(output.flushes, QList<qsizetype>{1});
    EXPECT_TRUE(output.terminated.isEmpty());
}

// On a fixed morning every date of the run is known.
TEST(RescheduleTestEndToEnd, ReschedulesThroughTheEditedLineAndEnds) {
    QTemporaryDir reminders;
    TavlinProcess tavlin({.arguments = {u"--reschedule-test"_s},
                          .environment = {u"TZ=UTC"_s, u"TAVLIN_REMINDERS_DIR="_s + reminders.path()},
                          .fakeTime = u"2026-03-04 10:00:00"_s});
    ASSERT_TRUE(tavlin.finish()) << tavlin.standardError().toStdString();
    EXPECT_EQ(tavlin.exitCode(), 0);
    const QString title = u"Tavlin reschedule-test <uuid8>"_s;
    const auto edit = [&](const QString& line, const QString& due, int alarms) {
        return u"edit \""_s + title + u' ' + line + u"\" -> parsed due "_s + due + u" title \""_s + title +
               u"\"; save error: none; refetched due: "_s + due + u" title \""_s + title + u"\" alarms "_s +
               QString::number(alarms) + u" newInstance true"_s;
    };
    expectLines(
        outputLines(tavlin.standardOutput()),
        {u"same instance after refetch: true"_s,
         u"serialized: \""_s + title + u" 25 Aug 2026 10:00 #reminders\" previous: 25 Aug 2026 10:00"_s,
         edit(u"tomorrow 9am #reminders"_s, u"2026-03-05 09:00:00 +0000"_s, 1),
         edit(u"20 Aug 2026 14:00 #reminders"_s, u"2026-08-20 14:00:00 +0000"_s, 1),
         edit(u"friday #reminders"_s, u"2026-03-06 00:00:00 +0000"_s, 0),
         edit(u"25 Aug 2026 10:00 #reminders tomorrow"_s, u"2026-03-05 00:00:00 +0000"_s, 0), u"cleanup: ok"_s});
    EXPECT_TRUE(QDir(reminders.path() + u"/Reminders"_s).entryList({u"*.ics"_s}, QDir::Files).isEmpty());
}
