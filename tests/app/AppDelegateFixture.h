#pragma once

#include "app/AppDelegate.h"
#include "support/ScopedVariable.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <optional>
#include <vector>

// A launch over temporary folders, with no session bus unless a test gives
// one, and one reminder in the inbox.
class AppDelegateFixture : public ::testing::Test {
protected:
    using AppDelegate = tavlin::app::AppDelegate;
    using Step = AppDelegate::LaunchStep;

    void SetUp() override {
        writeTestFile(home.filePath(QStringLiteral("config/Tavlin/settings.json")), settingsJSON());
        writeTestFile(home.filePath(QStringLiteral("reminders/inbox/displayname")), "Inbox");
        writeReminder();
    }

    void writeReminder() const {
        writeTestFile(reminderFile(), crlf("BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//test//EN\nBEGIN:VTODO\n"
                                           "UID:errand\nSUMMARY:Errand\nSTATUS:NEEDS-ACTION\nEND:VTODO\n"
                                           "END:VCALENDAR\n"));
    }

    virtual QByteArray settingsJSON() const { return R"({"mcpEnabled": false})"; }

    // `probe` looks at the delegate after each step.
    AppDelegate& launch(AppDelegate::Environment environment = {}, std::function<void(Step)> probe = {}) {
        if (environment.arguments.isEmpty()) environment.arguments = QStringList{QStringLiteral("tavlin")};
        delegate.emplace(std::move(environment));
        QObject::connect(&*delegate, &AppDelegate::launchStepTaken, [this, probe](Step step) {
            steps.push_back(step);
            if (probe) probe(step);
        });
        delegate->applicationDidFinishLaunching();
        return *delegate;
    }

    // Runs the application's loop until something quits it, or gives up
    // after `limitMs` with exit code 99.
    static int runUntilQuit(int limitMs = 10000) {
        // Gone with the loop: left behind, it would end the loop of a later
        // test, or make its every modal dialog return at once.
        QTimer limit;
        limit.setSingleShot(true);
        QObject::connect(&limit, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        limit.start(limitMs);
        return QCoreApplication::exec();
    }

    QString reminderFile() const { return home.filePath(QStringLiteral("reminders/inbox/errand.ics")); }

    QTemporaryDir home;
    ScopedVariable data{"XDG_DATA_HOME", home.filePath("data").toUtf8()};
    ScopedVariable config{"XDG_CONFIG_HOME", home.filePath("config").toUtf8()};
    ScopedVariable reminders{"TAVLIN_REMINDERS_DIR", home.filePath("reminders").toUtf8()};
    std::optional<AppDelegate> delegate;
    std::vector<Step> steps;
};
