#include "devmodes/MoveListTest.h"

#include "support/TavlinProcess.h"
#include "support/TestFiles.h"

#include "ScenarioFixture.h"

#include <QDirIterator>
#include <QSet>
#include <QTemporaryDir>

#include <tuple>

using namespace Qt::StringLiterals;
using tavlin::devmodes::errorDiagnostic;
using tavlin::devmodes::moveListTest;
using tavlin::platform::ReminderList;

namespace {

// What one target row prints for its three variants.
struct RowOutcome {
    QString label;
    QString home, homeTag;
    QString target, targetTag;
    QString saveError = u"none"_s;
    QString landedIn;  // the target's title when empty
    QStringList bareLines = {u"bare move: ok"_s, u"bare move back (refetched instance): ok, list now <home>"_s};
    QStringList cleanupLines;  // after each variant
};

QStringList rowLines(const RowOutcome& row) {
    struct Variant {
        QString suffix, due, kept;
    };
    const Variant variants[] = {{QString(), QString(), u"alarms=0 rules=0"_s},
                                {u" tomorrow 10:00"_s, u" <due>"_s, u"alarms=1 rules=0"_s},
                                {u" tomorrow 10:00 every week"_s, u" <due> every week"_s, u"alarms=1 rules=1"_s}};
    QStringList lines;
    for (const Variant& v : variants) {
        const QString line = u"Tavlin move-test <uuid8>"_s + v.due + u' ';
        lines << u"== "_s + row.label + v.suffix + u": \""_s + row.home + u"\" -> \""_s + row.target + u'"'
              << u"serialized \""_s + line + row.homeTag + u"\" -> edited \""_s + line + row.targetTag + u'"'
              << u"parsed list: "_s + row.target << u"edit-path save error: "_s + row.saveError
              << u"edit-path refetched list: "_s + (row.landedIn.isEmpty() ? row.target : row.landedIn) + u' ' + v.kept;
        if (v.suffix.isEmpty())
            for (const QString& bare : row.bareLines) lines << QString(bare).replace(u"<home>"_s, row.home);
        lines << row.cleanupLines;
        if (v.suffix.isEmpty() && !row.cleanupLines.isEmpty()) lines << row.cleanupLines;  // the bare one too
    }
    return lines;
}

ReminderList sourceless(const char* identifier, const char* title, bool writable = true) {
    return {.identifier = QString::fromUtf8(identifier),
            .title = QString::fromUtf8(title),
            .allowsContentModifications = writable};
}

}  // namespace

class MoveListTest : public ScenarioFixture {
protected:
    // Runs it; every line was flushed once, at the end, just before the end.
    void runToItsEnd(tavlin::store::ReminderStore& store) {
        ASSERT_TRUE(run(moveListTest(store)));
        EXPECT_EQ(output.flushes, QList<qsizetype>{output.lines.size()});
        EXPECT_EQ(output.terminated, QList<qsizetype>{output.lines.size()});
    }
};

TEST_F(MoveListTest, MovesToAListOfTheSameAccountAndOfAnother) {
    runToItsEnd(
        storeWith({}, {list("L1", "Home", "Personal"), list("L2", "Work", "Personal"), list("L3", "Shared", "Club")}));
    expectLines(output.lines, QStringList{u"list \"Home\" id=L1 source=Personal/0 mutable=true default=true"_s,
                                          u"list \"Work\" id=L2 source=Personal/0 mutable=true default=false"_s,
                                          u"list \"Shared\" id=L3 source=Club/0 mutable=true default=false"_s} +
                                  rowLines({u"same-source"_s, u"Home"_s, u"#home"_s, u"Work"_s, u"#work"_s}) +
                                  rowLines({u"other-source"_s, u"Home"_s, u"#home"_s, u"Shared"_s, u"#shared"_s}) +
                                  QStringList{u"MOVE-TEST done"_s});
    EXPECT_TRUE(backend.contents().reminders.empty()) << "every test reminder removed";

    QSet<QString> codes;
    for (const QString& line : output.lines)
        if (line.startsWith(u"serialized "_s)) codes.insert(line.mid(29, 8));
    EXPECT_EQ(codes.size(), 6) << "each created line has a UUID of its own";
}

TEST_F(MoveListTest, ARefusedMoveAndARefusedRemovalAreReportedAndTheRunGoesOn) {
    tavlin::store::ReminderStore& store = storeWith({}, {list("L1", "Home"), list("L2", "Work")});
    backend.setListMoveFailure(refusal("read-only list"));
    backend.setRemoveFailure(StoreError{.code = StoreError::removeFailed, .description = u"busy"_s});
    runToItsEnd(store);

    RowOutcome refused{u"same-source"_s, u"Home"_s, u"#home"_s, u"Work"_s, u"#work"_s};
    refused.saveError =
        u"com.quorvandell.tavlin.store#1 Couldn’t move it to “Work” — the rest of the edit was saved "
        u"userInfo={underlying=com.quorvandell.tavlin.reminders#5 read-only list}"_s;
    refused.landedIn = u"Home"_s;
    refused.bareLines = {u"bare move error: com.quorvandell.tavlin.reminders#5 read-only list userInfo={}"_s,
                         u"bare move back (refetched instance): ok, list now Home"_s};
    refused.cleanupLines = {u"cleanup error: com.quorvandell.tavlin.reminders#6 busy userInfo={}"_s};
    expectLines(output.lines, QStringList{u"list \"Home\" id=L1 source=local/0 mutable=true default=true"_s,
                                          u"list \"Work\" id=L2 source=local/0 mutable=true default=false"_s} +
                                  rowLines(refused) +
                                  QStringList{u"other-source: no candidate list"_s, u"MOVE-TEST done"_s});
    EXPECT_EQ(backend.contents().reminders.size(), 4u);
}

// No default list: the first is home. Read-only lists are passed over, and
// lists without an account share one.
TEST_F(MoveListTest, ListsWithoutADefaultOrAnAccount) {
    backend.setDefaultListIdentifier(u"none of them"_s);
    runToItsEnd(storeWith({}, {sourceless("I", "Inbox"), sourceless("A", "Archive", false), sourceless("N", "Notes")}));
    expectLines(output.lines, QStringList{u"list \"Inbox\" id=I source=?/-1 mutable=true default=false"_s,
                                          u"list \"Archive\" id=A source=?/-1 mutable=false default=false"_s,
                                          u"list \"Notes\" id=N source=?/-1 mutable=true default=false"_s} +
                                  rowLines({u"same-source"_s, u"Inbox"_s, u"#inbox"_s, u"Notes"_s, u"#notes"_s}) +
                                  QStringList{u"other-source: no candidate list"_s, u"MOVE-TEST done"_s});
}

TEST_F(MoveListTest, OneListIsNotEnough) {
    runToItsEnd(storeWith({}));
    expectLines(output.lines,
                {u"list \"Home\" id=L1 source=local/0 mutable=true default=true"_s, u"MOVE-TEST: need two lists"_s});
    EXPECT_TRUE(backend.contents().reminders.empty());
}

TEST(ErrorDiagnostic, StoreErrorsAndRefusedMoves) {
    using tavlin::platform::StoreError;
    using tavlin::store::ReminderStore;
    const StoreError gone{.code = StoreError::reminderNotFound, .description = u"It’s gone."_s};
    EXPECT_EQ(errorDiagnostic(std::nullopt), u"none"_s);
    EXPECT_EQ(errorDiagnostic(gone), u"com.quorvandell.tavlin.reminders#4 It’s gone. userInfo={}"_s);
    EXPECT_EQ(errorDiagnostic(ReminderStore::ListMoveRefused{u"Shared"_s, gone}),
              u"com.quorvandell.tavlin.store#1 Couldn’t move it to “Shared” — the rest of the edit was saved "
              u"userInfo={underlying=com.quorvandell.tavlin.reminders#4 It’s gone.}"_s);
}

// Two folders are two accounts: Home and Work in one, Shared in the other.
TEST(MoveListTestEndToEnd, MovesBetweenTheListsOfTwoFolders) {
    QTemporaryDir mine, team;
    for (const auto& [root, file, text] : {std::tuple{&mine, "displayname", "Mine"},
                                           {&mine, "home/displayname", "Home"},
                                           {&mine, "work/displayname", "Work"},
                                           {&team, "displayname", "Team"},
                                           {&team, "shared/displayname", "Shared"}})
        writeTestFile(root->filePath(QString::fromUtf8(file)), text);
    TavlinProcess tavlin({.arguments = {u"--move-list-test"_s},
                          .environment = {u"TZ=UTC"_s, u"TAVLIN_REMINDERS_DIR="_s + mine.path() + u':' + team.path()}});
    ASSERT_TRUE(tavlin.finish()) << tavlin.standardError().toStdString();
    EXPECT_EQ(tavlin.exitCode(), 0);
    expectLines(
        outputLines(tavlin.standardOutput()),
        QStringList{u"list \"Home\" id="_s + mine.path() + u"/home source=Mine/0 mutable=true default=true"_s,
                    u"list \"Work\" id="_s + mine.path() + u"/work source=Mine/0 mutable=true default=false"_s,
                    u"list \"Shared\" id="_s + team.path() + u"/shared source=Team/0 mutable=true default=false"_s} +
            rowLines({u"same-source"_s, u"Home"_s, u"#home"_s, u"Work"_s, u"#work"_s}) +
            rowLines({u"other-source"_s, u"Home"_s, u"#home"_s, u"Shared"_s, u"#shared"_s}) +
            QStringList{u"MOVE-TEST done"_s});
    for (const QTemporaryDir* root : {&mine, &team}) {
        QDirIterator items(root->path(), {u"*.ics"_s}, QDir::Files, QDirIterator::Subdirectories);
        EXPECT_FALSE(items.hasNext()) << "left behind: " << items.next().toStdString();
    }
}
