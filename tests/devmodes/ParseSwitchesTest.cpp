#include "support/FakeModelServer.h"
#include "support/MainLoop.h"
#include "support/Printers.h"
#include "support/TavlinProcess.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>
#include <nlohmann/json.hpp>

using namespace Qt::StringLiterals;

// The parse switches end to end: the real binary, as a German or English
// user on a fixed morning would run it.
namespace {

const QString kMorning = u"2026-03-04 10:00:00"_s;

TavlinProcess::Options inAmsterdam(QStringList arguments, QString language = u"en"_s) {
    return {.arguments = std::move(arguments),
            .environment = {u"TZ=Europe/Amsterdam"_s, u"LANGUAGE="_s + language, u"LANG=C.UTF-8"_s},
            .fakeTime = kMorning};
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QString& text) {
    const QString path = dir.filePath(name);
    writeTestFile(path, text.toUtf8());
    return path;
}

QString runToEnd(const TavlinProcess::Options& options) {
    TavlinProcess tavlin(options);
    EXPECT_TRUE(tavlin.finish()) << tavlin.standardError().toStdString();
    EXPECT_EQ(tavlin.exitCode(), 0);
    EXPECT_FALSE(tavlin.standardError().contains(u"tavlin: "_s)) << "no problem named";
    return tavlin.standardOutput();
}

}  // namespace

TEST(ParseSwitches, ParsePrintsTheRuleReadingAndNoModel) {
    EXPECT_EQ(runToEnd(inAmsterdam({u"--parse"_s, u"buy milk !! #groceries"_s})),
              u"deterministic: ParsedQuickAdd(title: \"buy milk #groceries\", dueDateComponents: nil, "
              u"hasTime: false, matchedDateText: nil, recurrenceFrequency: nil, recurrenceInterval: 1, "
              u"locationName: nil, locationRadius: nil, locationTrigger: arrive, priority: 5, listName: nil, "
              u"dueDateIsBareCadenceDefault: false)\n"
              u"smart: unavailable\n"_s);
}

// "Tonight at 8" as speakers of six languages type it, each under their own
// language: today at 20:00, not tomorrow morning.
TEST(ParseSwitches, TonightAtEightIsThisEvening) {
    const std::pair<QString, QString> lines[] = {
        {u"en"_s, u"call Anna tonight at 8"_s},    {u"de"_s, u"Anna anrufen heute Abend um 8"_s},
        {u"fr"_s, u"appeler Anna ce soir à 8h"_s}, {u"es"_s, u"llamar a Anna esta noche a las 8"_s},
        {u"nl"_s, u"Anna bellen vanavond om 8"_s}, {u"it"_s, u"chiamare Anna stasera alle 8"_s},
    };
    for (const auto& [language, line] : lines) {
        SCOPED_TRACE(line.toStdString());
        EXPECT_TRUE(
            runToEnd(inAmsterdam({u"--parse"_s, line}, language)).contains(u"dueDateComponents: 2026-3-4 20:00"_s));
    }
}

TEST(ParseSwitches, ParseEdit) {
    struct Case {
        QStringList arguments;
        QString line;
    };
    const Case cases[] = {
        {{u"call mom"_s, u"-"_s}, u"edit-parse: title=\"call mom\" due=nil hasTime=false matched=nil list=nil\n"_s},
        {{u"call mom #family !"_s, u"-"_s, u"Work"_s, u"Family"_s},
         u"edit-parse: title=\"call mom\" due=nil hasTime=false matched=nil list=Family\n"_s},
        {{u"  !!  "_s, u"-"_s}, u"edit-parse: title=\"!!\" due=nil hasTime=false matched=nil list=nil\n"_s},
        // A tag typed after the reminder's own names the list it moves to.
        {{u"Dentist 5 Mar 2026 09:30 #reminders #work"_s, u"5 Mar 2026 09:30"_s, u"Reminders"_s, u"Work"_s},
         u"edit-parse: title=\"Dentist\" due=2026-03-05 08:30:00 +0000 hasTime=true matched=5 Mar 2026 09:30 "
         u"list=Work\n"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        EXPECT_EQ(runToEnd(inAmsterdam(QStringList{u"--parse-edit"_s} + c.arguments)), c.line);
    }
}

TEST(ParseSwitches, ParseBatch) {
    QTemporaryDir dir;
    const QString file =
        writeFile(dir, u"cases.tsv"_s, u"de\tKauf Milch !!\r\n\n\t\ten\tcall Tom\tnow\u2028de\t\nno tab here\n"_s);
    EXPECT_EQ(runToEnd(inAmsterdam({u"--parse-batch"_s, file}, u"de"_s)),
              u"model available: false\n"
              u"--- de: Kauf Milch !!\n"
              u"  det:   title=Kauf Milch | date=- | place=- | trigger=arrive\n"
              u"  smart: unavailable\n"
              u"--- en: call Tom\tnow\n"
              u"  det:   title=call Tom now | date=- | place=- | trigger=arrive\n"
              u"  smart: unavailable\n"_s);
    EXPECT_EQ(runToEnd(inAmsterdam({u"--parse-batch"_s, writeFile(dir, u"empty.tsv"_s, u"\n\n"_s)})),
              u"model available: false\n"_s);
}

// With a model named, the switches wait for the first check of the server
// to answer, and report what it said, not that it had not answered yet.
TEST(ParseSwitches, ParseBatchWaitsForTheNamedModelsFirstCheck) {
    const std::pair<QString, QString> cases[] = {
        {u"tiny"_s, u"model available: true\n"_s},
        {u"absent"_s, u"model available: false\n"_s},
    };
    for (const auto& [model, line] : cases) {
        SCOPED_TRACE(model.toStdString());
        FakeModelServer server;
        QTemporaryDir dir;
        QDir().mkpath(dir.filePath(u"config/Tavlin"_s));
        writeFile(dir, u"config/Tavlin/settings.json"_s,
                  QString::fromStdString(nlohmann::json{
                      {"languageModelURL", server.baseURL().toString().toStdString()},
                      {"languageModelName",
                       model.toStdString()}}.dump()));
        TavlinProcess tavlin({.arguments = {u"--parse-batch"_s, writeFile(dir, u"empty.tsv"_s, u"\n"_s)},
                              .environment = {u"XDG_CONFIG_HOME="_s + dir.filePath(u"config"_s)}});
        // The server answers on this loop while the binary runs.
        ASSERT_TRUE(
            runMainLoopUntil([&] { return tavlin.waitForOutput("model available", 1); }, std::chrono::seconds(60)))
            << tavlin.standardError().toStdString();
        ASSERT_TRUE(tavlin.finish()) << tavlin.standardError().toStdString();
        EXPECT_EQ(tavlin.standardOutput(), line) << tavlin.standardError().toStdString();
    }
}

TEST(ParseSwitches, ParseJsonReport) {
    QTemporaryDir dir;
    const QString file = writeFile(dir, u"cases.tsv"_s,
                                   u"c1\tde\tMilch kaufen #einkauf; Brot/Butter !\n"
                                   u"c2\t\t-\tcall Tom #Work\n"
                                   u"c3\ten\t\n"_s);
    TavlinProcess tavlin(inAmsterdam({u"--parse-json"_s, file, u"--parse-lists"_s, u" Einkauf ,,Work"_s}, u"de"_s));
    ASSERT_TRUE(tavlin.finish()) << tavlin.standardError().toStdString();
    EXPECT_TRUE(tavlin.standardError().contains(u"done c1\ndone c2\n"_s));
    EXPECT_FALSE(tavlin.standardError().contains(u"done c3"_s));
    EXPECT_FALSE(tavlin.standardError().contains(u"tavlin: "_s)) << "--parse-lists is known";
    const QString output = tavlin.standardOutput();
    EXPECT_TRUE(output.contains(u"Brot\\/Butter"_s)) << "slashes are escaped";

    const auto report = nlohmann::json::parse(output.toStdString());
    EXPECT_EQ(report["modelAvailable"], false);
    EXPECT_TRUE(QString::fromStdString(report["generatedAt"]).startsWith(u"2026-03-04T09:00:0"_s));
    ASSERT_EQ(report["results"].size(), 2u);
    const auto& c1 = report["results"][0];
    EXPECT_EQ(c1["id"], "c1");
    EXPECT_EQ(c1["lang"], "de");
    ASSERT_EQ(c1["parts"].size(), 2u);
    const auto& milk = c1["parts"][0];
    EXPECT_EQ(milk["part"], "Milch kaufen #einkauf");
    EXPECT_EQ(milk["det"]["title"], "Milch kaufen");
    EXPECT_EQ(milk["det"]["list"], "Einkauf");
    EXPECT_EQ(milk["smart"], nullptr);
    EXPECT_EQ(milk["ui"], milk["det"]);
    EXPECT_EQ(c1["parts"][1]["det"]["priority"], 9);
    const auto& c2 = report["results"][1];
    EXPECT_EQ(c2["lang"], "-");
    EXPECT_EQ(c2["parts"][0]["det"]["list"], "Work");
}
