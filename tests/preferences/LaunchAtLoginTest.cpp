#include "preferences/LaunchAtLogin.h"

#include "support/ScopedVariable.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QTemporaryDir>

using tavlin::platform::LoginItem;
using tavlin::preferences::setLaunchAtLogin;
using namespace Qt::StringLiterals;

TEST(LaunchAtLoginTest, TheSwitchWritesAndRemovesTheProgramsAutostartEntry) {
    QTemporaryDir config;
    ScopedVariable configHome("XDG_CONFIG_HOME", config.path().toUtf8());
    const QString entry = config.filePath(u"autostart/com.quorvandell.tavlin.desktop"_s);
    ASSERT_EQ(LoginItem::mainApp().entryPath(), entry);

    EXPECT_EQ(setLaunchAtLogin(true), std::nullopt);
    EXPECT_EQ(readTestFile(entry), LoginItem::entryText(QCoreApplication::applicationFilePath()));
    EXPECT_TRUE(LoginItem::mainApp().isEnabled());

    EXPECT_EQ(setLaunchAtLogin(false), std::nullopt);
    EXPECT_FALSE(QFile::exists(entry));
    EXPECT_FALSE(LoginItem::mainApp().isEnabled());
}
