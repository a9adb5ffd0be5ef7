// --nearby-test and --contacts-test as a developer runs them: the real
// binary over a reminders folder and a contacts folder, with no display, no
// session bus and no system bus (so no location service).

#include "support/Printers.h"
#include "support/TavlinProcess.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

class ProbeSwitchesTest : public ::testing::Test {
protected:
    void SetUp() override {
        writeTestFile(home.filePath(u"config/Tavlin/settings.json"_s), R"({"groupNearbyEnabled": false})");
        writeTestFile(home.filePath(u"reminders/inbox/displayname"_s), "Inbox");
        // "Buy bread" when arriving at the bakery, with no radius of its own.
        writeTestFile(home.filePath(u"reminders/inbox/bread.ics"_s),
                      crlf("BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//test//EN\nBEGIN:VTODO\nUID:bread\n"
                           "SUMMARY:Buy bread\nSTATUS:NEEDS-ACTION\nBEGIN:VALARM\nACTION:DISPLAY\n"
                           "DESCRIPTION:Reminder\nTRIGGER;VALUE=DATE-TIME:19760401T005545Z\n"
                           "X-APPLE-PROXIMITY:ARRIVE\n"
                           "X-APPLE-STRUCTURED-LOCATION;VALUE=URI;X-TITLE=Bakery:geo:52.37\\,4.89\n"
                           "END:VALARM\nEND:VTODO\nEND:VCALENDAR\n"));
        writeTestFile(home.filePath(u"contacts/anna.vcf"_s),
                      crlf("BEGIN:VCARD\nVERSION:3.0\nUID:anna-1\nN:Jansen;Anna;;;\nFN:Anna Jansen\n"
                           "ADR;TYPE=home:;;Prinsengracht 263;Amsterdam;;1016 GV;Netherlands\n"
                           "ADR;TYPE=work:;;Dam 1;Amsterdam;;1012 JS;Netherlands\nEND:VCARD\n"));
    }

    TavlinProcess::Options options(QStringList arguments) const {
        return {.arguments = std::move(arguments),
                .environment = {u"XDG_CONFIG_HOME="_s + home.filePath(u"config"_s),
                                u"TAVLIN_REMINDERS_DIR="_s + home.filePath(u"reminders"_s),
                                u"TAVLIN_CONTACTS_DIR="_s + home.filePath(u"contacts"_s),
                                u"DBUS_SYSTEM_BUS_ADDRESS=disabled:"_s}};
    }

    QJsonValue storedGrouping() const {
        return QJsonDocument::fromJson(readTestFile(home.filePath(u"config/Tavlin/settings.json"_s)))
            .object()
            .value(u"groupNearbyEnabled"_s);
    }

    static QStringList lines(const QString& output) { return output.split(u'\n'); }

    QTemporaryDir home;
};

const QStringList simulatedReport = {
    u"auth=3 usable=true denied=false"_s,
    u"fix: 52.37,4.89 ±0.0m"_s,
    u"  Buy bread | place=Bakery geo=true radius=0.0 distance=0m nearby=true"_s,
    u"reminders with a location alarm: 1 of 1"_s,
};

}  // namespace

TEST_F(ProbeSwitchesTest, ASimulatedVisitShowsThePanelThenEndsWithTheSettingAsItWas) {
    TavlinProcess tavlin(options({u"--nearby-test"_s, u"simulate"_s}));
    ASSERT_TRUE(tavlin.finish(30000)) << tavlin.standardError().toStdString();
    EXPECT_EQ(tavlin.exitCode(), 0);
    const QStringList printed = lines(tavlin.standardOutput());
    ASSERT_EQ(printed.size(), 7) << tavlin.standardOutput().toStdString();
    EXPECT_EQ(printed.mid(0, 4), simulatedReport);
    EXPECT_TRUE(printed[4].startsWith(u"[nearby-panel] panel: visible=true"_s)) << printed[4].toStdString();
    EXPECT_TRUE(printed[5].startsWith(u"panel: ("_s)) << printed[5].toStdString();
    EXPECT_EQ(printed[6], QString());
    EXPECT_EQ(storedGrouping(), QJsonValue(false));
}

// A run ended from outside while the panel shows still gives the user back
// their setting.
TEST_F(ProbeSwitchesTest, ASimulationEndedBySignalRestoresTheSetting) {
    TavlinProcess tavlin(options({u"--nearby-test"_s, u"simulate"_s}));
    ASSERT_TRUE(tavlin.waitForOutput("[nearby-panel]")) << tavlin.standardError().toStdString();
    EXPECT_EQ(storedGrouping(), QJsonValue(true)) << "grouping is on while the panel shows";
    EXPECT_TRUE(tavlin.signalAndFinish(SIGTERM));
    EXPECT_EQ(tavlin.exitCode(), 0);
    EXPECT_EQ(storedGrouping(), QJsonValue(false));
}

TEST_F(ProbeSwitchesTest, WithoutALocationServiceThereIsNoFixAfterFourSeconds) {
    QElapsedTimer elapsed;
    elapsed.start();
    TavlinProcess tavlin(options({u"--nearby-test"_s}));
    ASSERT_TRUE(tavlin.finish()) << tavlin.standardError().toStdString();
    EXPECT_GE(elapsed.elapsed(), 4000);
    EXPECT_EQ(tavlin.exitCode(), 0);
    // No location service at all reads as restricted (1), not as a refusal.
    EXPECT_EQ(lines(tavlin.standardOutput()),
              QStringList({u"auth=1 usable=false denied=true"_s, u"fix: none"_s,
                           u"  Buy bread | place=Bakery geo=true radius=0.0 distance=n/a nearby=false"_s,
                           u"reminders with a location alarm: 1 of 1"_s, QString()}));
}

TEST_F(ProbeSwitchesTest, TheContactsProbeListsAContactsAddressesAndLogsWhatItPrints) {
    const QString log = home.filePath(u"contacts.log"_s);
    TavlinProcess tavlin(options({u"--contacts-test"_s, u"Anna"_s, u"--contacts-log"_s, log}));
    ASSERT_TRUE(tavlin.finish()) << tavlin.standardError().toStdString();
    EXPECT_EQ(tavlin.exitCode(), 0);
    EXPECT_EQ(lines(tavlin.standardOutput()),
              QStringList({
                  u"query: Anna"_s,
                  u"authorization: authorized"_s,
                  u"contact places toggle: off"_s,
                  u"system predicate matched 1 contact(s):"_s,
                  u"  “Anna Jansen” id=anna-1"_s,
                  u"    strictNameMatch=true addresses=2"_s,
                  u"    [home] Prinsengracht 263, 1016 GV Amsterdam, Netherlands"_s,
                  u"    [work] Dam 1, 1012 JS Amsterdam, Netherlands"_s,
                  u"candidates: 2 across 1 contact(s)"_s,
                  u"  Anna’s Home — Prinsengracht 263, 1016 GV Amsterdam, Netherlands"_s,
                  u"  Anna’s Work — Dam 1, 1012 JS Amsterdam, Netherlands"_s,
                  QString(),
              }));
    EXPECT_EQ(QString::fromUtf8(readTestFile(log)), tavlin.standardOutput().chopped(1));
}
