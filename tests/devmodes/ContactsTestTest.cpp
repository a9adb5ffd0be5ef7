// --contacts-test inside the process, over contacts in memory with each
// permission the user may have given, and its log file.

#include "devmodes/ContactsTest.h"

#include "devmodes/Output.h"
#include "devmodes/SharedRoutines.h"
#include "platform/UserDefaults.h"
#include "store/Settings.h"
#include "store/StoreFakes.h"
#include "support/Printers.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;
using tavlin::devmodes::contactsTest;
using tavlin::devmodes::RecordedOutput;
using tavlin::platform::Contact;
using tavlin::platform::Contacts;
using tavlin::platform::Task;
using Status = tavlin::platform::ContactsAuthorization;

namespace {

// The memory contacts, with what the log file held each time the test
// asked them something.
class WatchedContacts final : public Contacts {
public:
    explicit WatchedContacts(QString logPath) : logPath_(std::move(logPath)) {}

    MemoryContacts memory;
    QStringList logAtEachQuestion;

    Status authorizationStatus() const override { return memory.authorizationStatus(); }
    Task<bool> requestAccess() override {
        logAtEachQuestion << QString::fromUtf8(readTestFile(logPath_));
        return memory.requestAccess();
    }
    std::optional<std::vector<Contact>> contactsMatchingName(const QString& name) override {
        logAtEachQuestion << QString::fromUtf8(readTestFile(logPath_));
        return memory.contactsMatchingName(name);
    }
    std::optional<Contact> ownCard() override { return memory.ownCard(); }

private:
    QString logPath_;
};

class ContactsTestTest : public ::testing::Test {
protected:
    ContactsTestTest() {
        // The contacts' own search is loose: both come back for "Anna",
        // only one of them is Tavlin's Anna.
        contacts.memory.contacts = {
            {.identifier = u"anna"_s,
             .givenName = u"Anna"_s,
             .familyName = u"de Vries"_s,
             .postalAddresses = {{.identifier = u"1"_s,
                                  .label = Contacts::workLabel(),
                                  .address = {.street = u"Zuidas 5"_s, .city = u"Amsterdam"_s}},
                                 {.identifier = u"2"_s,
                                  .label = Contacts::homeLabel(),
                                  .address = {.street = u"Prinsengracht 1\nAchterhuis"_s,
                                              .city = u"Amsterdam"_s,
                                              .postalCode = u"1015 DK"_s}}}},
            {.identifier = u"hanna"_s, .givenName = u"Hanna"_s, .familyName = u"Bakker"_s},
        };
    }

    // Runs the scenario to its end (it waits on nothing but the answer).
    void run(QStringList arguments) {
        const Task<> scenario = contactsTest(std::move(arguments), u"Anna"_s, {settings, contacts});
        ASSERT_TRUE(scenario.isDone());
        scenario.result();
    }

    QStringList searchLines() const {
        return {
            u"system predicate matched 2 contact(s):"_s,
            u"  “Anna de Vries” id=anna"_s,
            u"    strictNameMatch=true addresses=2"_s,
            u"    [work] Zuidas 5, Amsterdam"_s,
            u"    [home] Prinsengracht 1, Achterhuis, 1015 DK Amsterdam"_s,
            u"  “Hanna Bakker” id=hanna"_s,
            u"    strictNameMatch=false addresses=0"_s,
            u"candidates: 2 across 1 contact(s)"_s,
            u"  Anna’s Home — Prinsengracht 1, Achterhuis, 1015 DK Amsterdam"_s,
            u"  Anna’s Work — Zuidas 5, Amsterdam"_s,
        };
    }

    QTemporaryDir folder;
    QString logPath = folder.filePath(u"log.txt"_s);
    tavlin::platform::UserDefaults defaults{folder.filePath(u"settings.json"_s)};
    tavlin::store::Settings settings{defaults};
    WatchedContacts contacts{logPath};
    RecordedOutput output;
};

const QString notQuerying = u"(not querying — rerun with a trailing “request” to raise the permission prompt)"_s;

}  // namespace

TEST_F(ContactsTestTest, WithAccessItListsTheContactsSearchThenTheCandidates) {
    for (const Status status : {Status::authorized, Status::limited}) {
        SCOPED_TRACE(static_cast<int>(status));
        output.lines.clear();
        contacts.memory.authorization = status;
        settings.setContactPlacesEnabled(status == Status::limited);
        run({u"tavlin"_s, u"--contacts-test"_s, u"Anna"_s});
        EXPECT_EQ(output.lines,
                  QStringList({u"query: Anna"_s, u"authorization: authorized"_s,
                               u"contact places toggle: "_s + (status == Status::limited ? u"on"_s : u"off"_s)}) +
                      searchLines());
        EXPECT_EQ(output.terminated, QList<qsizetype>{output.lines.size()});
        output.terminated.clear();
    }
    EXPECT_EQ(contacts.memory.accessRequests, 0);
}

TEST_F(ContactsTestTest, WithoutAccessItStopsAfterFourLinesUnlessAskedToRequestIt) {
    for (const auto& [status, text] :
         {std::pair{Status::notDetermined, u"notDetermined"_s}, std::pair{Status::restricted, u"restricted"_s},
          std::pair{Status::denied, u"denied"_s}}) {
        SCOPED_TRACE(text.toStdString());
        output.lines.clear();
        output.terminated.clear();
        contacts.memory.authorization = status;
        run({u"tavlin"_s, u"--contacts-test"_s, u"Anna"_s, u"requests"_s});
        EXPECT_EQ(output.lines, QStringList({u"query: Anna"_s, u"authorization: "_s + text,
                                             u"contact places toggle: off"_s, notQuerying}));
        EXPECT_EQ(output.flushes.last(), 4);
        EXPECT_EQ(output.terminated, QList<qsizetype>{4});
    }
    EXPECT_EQ(contacts.memory.accessRequests, 0);
    EXPECT_TRUE(contacts.memory.searches.isEmpty());
}

TEST_F(ContactsTestTest, ARequestAnywhereAsksForAccessAndGoesOnOnlyWhenGranted) {
    struct Case {
        const char* name;
        std::optional<bool> answer;  // nothing: asking fails
        QStringList after;           // the lines after the question
    };
    const QStringList refused = {u"requested access → granted=false"_s, u"now: not authorized"_s, notQuerying};
    const Case cases[] = {
        {"granted", true, QStringList{u"requested access → granted=true"_s, u"now: authorized"_s} + searchLines()},
        {"refused", false, refused},
        {"failed", std::nullopt, refused},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        output.lines.clear();
        output.terminated.clear();
        contacts.memory.authorization = Status::notDetermined;
        contacts.memory.accessAnswer = c.answer;
        run({u"tavlin"_s, u"request"_s, u"--contacts-test"_s, u"Anna"_s});
        ASSERT_EQ(output.lines.size(), 4 + c.after.size());
        EXPECT_EQ(output.lines.mid(0, 3),
                  QStringList({u"query: Anna"_s, u"authorization: notDetermined"_s, u"contact places toggle: off"_s}));
        EXPECT_EQ(output.lines[3], u"responsible process: "_s + tavlin::devmodes::parentProcessDescription());
        EXPECT_EQ(output.lines.mid(4), c.after);
        EXPECT_EQ(output.terminated, QList<qsizetype>{output.lines.size()});
    }
    EXPECT_EQ(contacts.memory.accessRequests, 3);
}

TEST_F(ContactsTestTest, TheLogHoldsEveryLineSoFarAfterEachLine) {
    writeTestFile(logPath, "an older and much longer log that must not show through at all\n\n\n");
    contacts.memory.authorization = Status::denied;
    run({u"tavlin"_s, u"--contacts-log"_s, logPath, u"--contacts-test"_s, u"Anna"_s, u"request"_s});
    const QStringList lines = output.lines;
    ASSERT_EQ(lines.size(), 6 + searchLines().size());
    EXPECT_EQ(contacts.logAtEachQuestion,
              QStringList({lines.mid(0, 4).join(u'\n'), lines.mid(0, 6).join(u'\n'), lines.mid(0, 13).join(u'\n')}))
        << "asked for access after four lines, searched after six and after the system's search";
    EXPECT_EQ(QString::fromUtf8(readTestFile(logPath)), lines.join(u'\n')) << "no newline after the last";
}

TEST_F(ContactsTestTest, ALogThatCannotBeWrittenLeavesTheOutputAlone) {
    const QString unwritable = folder.filePath(u"missing/folder/log.txt"_s);
    run({u"tavlin"_s, u"--contacts-test"_s, u"Anna"_s, u"--contacts-log"_s, unwritable});
    EXPECT_EQ(output.lines.size(), 3 + searchLines().size());
    EXPECT_FALSE(QFile::exists(unwritable));
}
