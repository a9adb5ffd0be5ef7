#include "support/TavlinProcess.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

// A switch that cannot run says why on standard error, once, and Tavlin then
// runs on as a plain start does, so that nobody waits on a silent process.
TEST(DeveloperSwitches, NameAProblemOnceAndTheRunGoesOn) {
    QTemporaryDir dir;
    const QString missing = dir.filePath(u"missing.tsv"_s);
    const QString latin1 = dir.filePath(u"latin1.tsv"_s);
    writeTestFile(latin1, "de\tK\xe4se kaufen\n");
    struct Case {
        QStringList arguments;
        QString line;
    };
    const Case cases[] = {
        {{u"--bogus"_s}, u"tavlin: unknown switch --bogus"_s},
        {{u"--bogus"_s, u"--"_s, u"-x"_s, u"--bogus"_s}, u"tavlin: unknown switch --bogus"_s},
        {{u"--parse"_s}, u"tavlin: --parse: needs a text after it"_s},
        {{u"--parse-edit"_s, u"only a text"_s},
         u"tavlin: --parse-edit: needs a text and a previous date text (\"-\" for none) after it"_s},
        {{u"--parse-json"_s}, u"tavlin: --parse-json: needs a file after it"_s},
        {{u"--contacts-test"_s}, u"tavlin: --contacts-test: needs a name after it"_s},
        {{u"--capture"_s}, u"tavlin: --capture: needs a text after it"_s},
        {{u"--parse-json"_s, u"/nonexistent"_s},
         u"tavlin: --parse-json: cannot read /nonexistent: No such file or directory"_s},
        {{u"--parse-batch"_s, missing},
         u"tavlin: --parse-batch: cannot read "_s + missing + u": No such file or directory"_s},
        {{u"--parse-batch"_s, dir.path()}, u"tavlin: --parse-batch: cannot read "_s + dir.path() + u": "_s},
        {{u"--parse-json"_s, latin1}, u"tavlin: --parse-json: cannot read "_s + latin1 + u": not UTF-8 text"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        TavlinProcess tavlin({.arguments = c.arguments});
        ASSERT_TRUE(tavlin.waitForError(c.line.toUtf8())) << tavlin.standardError().toStdString();
        // Scenarios start at the loop's first turn; let it go round a few times.
        EXPECT_FALSE(tavlin.finish(300));
        const QStringList named = tavlin.standardError().split(u'\n').filter(u"tavlin: "_s);
        ASSERT_EQ(named.size(), 1) << tavlin.standardError().toStdString();
        EXPECT_TRUE(named[0].startsWith(c.line)) << named[0].toStdString();
        EXPECT_EQ(tavlin.standardOutput(), QString());
        EXPECT_TRUE(tavlin.signalAndFinish(SIGTERM));
        EXPECT_EQ(tavlin.exitCode(), 0);
    }
}

// What a switch reads after itself is its own, even spelt like a switch: it
// is never taken for a switch that lacks what it needs. A switch that stands
// as one still is.
TEST(DeveloperSwitches, AnArgumentThatASwitchReadsIsNotCheckedAsASwitch) {
    struct Case {
        QStringList arguments;
        QString line;  // the one problem named, or none
    };
    const Case cases[] = {
        {{u"--add-batch"_s, u"--parse-edit"_s}, {}},
        {{u"--nearby-test"_s, u"--parse"_s}, {}},
        {{u"--ghost-test"_s, u"--contacts-test"_s}, {}},
        {{u"--capture"_s, u"a text"_s, u"--parse-json"_s}, {}},
        {{u"--focus-test"_s, u"plain"_s, u"--capture"_s}, {}},
        {{u"--service-watch"_s, u"--parse-batch"_s}, {}},
        {{u"--parse-edit"_s, u"--add-batch"_s},
         u"tavlin: --parse-edit: needs a text and a previous date text (\"-\" for none) after it"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        TavlinProcess tavlin({.arguments = c.arguments});
        // Said once launch is done, the switches looked at and the signals
        // handled; some scenarios end the run soon after.
        ASSERT_TRUE(tavlin.waitForError("Tavlin is running")) << tavlin.standardError().toStdString();
        const QStringList needs = tavlin.standardError().split(u'\n').filter(u": needs "_s);
        EXPECT_EQ(needs, c.line.isEmpty() ? QStringList() : QStringList{c.line});
        EXPECT_TRUE(tavlin.signalAndFinish(SIGTERM));
        EXPECT_EQ(tavlin.exitCode(), 0);
    }
}

// Beside the user's Tavlin, which holds the instance lock and whose hot key
// is stored: a switch takes neither, prints its own lines alone and ends.
TEST(DeveloperSwitches, ASwitchBesideTheUsersTavlinTakesNothingOfItsAndEnds) {
    QTemporaryDir home;
    const QStringList environment{u"XDG_DATA_HOME="_s + home.filePath(u"data"_s),
                                  u"XDG_CONFIG_HOME="_s + home.filePath(u"config"_s), u"TZ=UTC"_s};
    // Control-Option-R.
    writeTestFile(home.filePath(u"config/Tavlin/settings.json"_s),
                  R"({"KeyBindings_togglePanel": {"carbonKeyCode": 15, "carbonModifiers": 6144}})");
    TavlinProcess users({.environment = environment});
    ASSERT_TRUE(users.waitForError("Tavlin is running")) << users.standardError().toStdString();

    struct Case {
        QStringList arguments;
        QString lastLine;
    };
    const Case cases[] = {
        {{u"--parse"_s, u"milk"_s}, {}},
        {{u"--add-batch"_s, u"milk; eggs"_s}, u"errors: none"_s},
        {{u"--self-test"_s}, u"smart parser unavailable — optimistic patch not exercised"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        TavlinProcess tavlin({.arguments = c.arguments, .environment = environment});
        ASSERT_TRUE(tavlin.finish()) << "ends by itself\n" << tavlin.standardError().toStdString();
        EXPECT_EQ(tavlin.exitCode(), 0);
        EXPECT_FALSE(tavlin.standardOutput().contains(u"hotkey"_s)) << tavlin.standardOutput().toStdString();
        EXPECT_FALSE(tavlin.standardError().contains(u"tavlin.lock"_s)) << tavlin.standardError().toStdString();
        if (!c.lastLine.isEmpty()) {
            EXPECT_TRUE(tavlin.standardOutput().endsWith(c.lastLine + u'\n')) << tavlin.standardOutput().toStdString();
        }
    }
    EXPECT_TRUE(users.isRunning());
    EXPECT_TRUE(users.signalAndFinish(SIGTERM));
}
