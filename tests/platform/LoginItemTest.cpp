#include "platform/LoginItem.h"

#include "support/ScopedVariable.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

using tavlin::platform::LoginItem;
using namespace Qt::StringLiterals;

namespace {

class LoginItemTest : public ::testing::Test {
protected:
    QTemporaryDir config;
    QString entry = config.filePath(u"autostart/com.quorvandell.tavlin.desktop"_s);
    LoginItem item{entry, u"/opt/My Apps/tavlin"_s};
};

}  // namespace

TEST_F(LoginItemTest, TheEntryIsInTheUsersAutostartFolder) {
    {
        ScopedVariable configHome("XDG_CONFIG_HOME", config.path().toUtf8());
        EXPECT_EQ(LoginItem::standardEntryPath(), entry);
    }
    ScopedVariable unset("XDG_CONFIG_HOME", std::nullopt);
    EXPECT_EQ(LoginItem::standardEntryPath(),
              QDir::homePath() + u"/.config/autostart/com.quorvandell.tavlin.desktop"_s);
}

TEST_F(LoginItemTest, TheExecutableIsQuotedAsTheDesktopEntryRulesSay) {
    struct Case {
        QString executable;
        QByteArray exec;
    };
    const Case cases[] = {
        {u"/usr/bin/tavlin"_s, R"("/usr/bin/tavlin")"},
        {u"/opt/My Apps/100%/tavlin"_s, R"("/opt/My Apps/100%%/tavlin")"},
        {u"/home/a\"b`c$d/tavlin"_s, R"("/home/a\\"b\\`c\\$d/tavlin")"},
        // Escaped for the quoting, then again as every string value is.
        {u"/tmp/back\\slash"_s, R"("/tmp/back\\\\slash")"},
        {u"/tmp/Ærø/tavlin"_s, "\"/tmp/\xc3\x86r\xc3\xb8/tavlin\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.executable.toStdString());
        EXPECT_EQ(LoginItem::entryText(c.executable),
                  "[Desktop Entry]\nType=Application\nName=Tavlin\nExec=" + c.exec + "\n");
    }
}

TEST_F(LoginItemTest, OnWritesTheEntryOffRemovesIt) {
    EXPECT_FALSE(item.isEnabled());
    EXPECT_EQ(item.registerItem(), std::nullopt);
    EXPECT_EQ(readTestFile(entry), LoginItem::entryText(u"/opt/My Apps/tavlin"_s));
    EXPECT_TRUE(item.isEnabled());
    EXPECT_EQ(item.registerItem(), std::nullopt) << "on again replaces it";
    EXPECT_TRUE(item.isEnabled());

    EXPECT_EQ(item.unregisterItem(), std::nullopt);
    EXPECT_FALSE(QFile::exists(entry));
    EXPECT_FALSE(item.isEnabled());
    EXPECT_EQ(item.unregisterItem(), std::nullopt) << "a missing entry is already off";
    EXPECT_EQ(config.filePath(u"autostart"_s), QFileInfo(entry).absolutePath());
    EXPECT_EQ(QDir(config.filePath(u"autostart"_s)).entryList(QDir::Files | QDir::Hidden), QStringList())
        << "no temporary file left";
}

TEST_F(LoginItemTest, AFolderThatCannotBeMadeIsAnErrorAndTheItemStaysOff) {
    // A file where the folder should be defeats even root.
    writeTestFile(config.filePath(u"autostart"_s), "not a folder");
    const auto error = item.registerItem();
    ASSERT_TRUE(error.has_value());
    EXPECT_TRUE(error->message.contains(u"Not a directory"_s)) << error->message.toStdString();
    EXPECT_TRUE(error->message.contains(config.filePath(u"autostart"_s))) << error->message.toStdString();
    EXPECT_FALSE(item.isEnabled());
}

TEST_F(LoginItemTest, AnEntryTheDesktopHidOrSwitchedOffIsOff) {
    struct Case {
        const char* name;
        QByteArray text;
        bool enabled;
    };
    const Case cases[] = {
        {"ours", LoginItem::entryText(u"/usr/bin/tavlin"_s), true},
        {"hidden", "[Desktop Entry]\nType=Application\nExec=tavlin\nHidden=true\n", false},
        {"hidden, with blanks", "[Desktop Entry]\nHidden = true\n", false},
        {"switched off", "[Desktop Entry]\nExec=tavlin\nX-GNOME-Autostart-enabled=false\n", false},
        {"switched on", "[Desktop Entry]\nExec=tavlin\nX-GNOME-Autostart-enabled=true\nHidden=false\n", true},
        {"hidden in another group only", "[Desktop Entry]\nExec=tavlin\n[Desktop Action quit]\nHidden=true\n", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeTestFile(entry, c.text);
        EXPECT_EQ(item.isEnabled(), c.enabled);
    }
}

TEST_F(LoginItemTest, TheEntrysProgramReadsBackAsItWasWritten) {
    for (const QString& executable :
         {u"/usr/bin/tavlin"_s, u"/opt/My Apps/100%/tavlin"_s, u"/home/a\"b`c$d/tavlin"_s, u"/tmp/back\\slash"_s}) {
        SCOPED_TRACE(executable.toStdString());
        writeTestFile(entry, LoginItem::entryText(executable));
        EXPECT_EQ(item.entryExecutable(), executable);
    }
    writeTestFile(entry, "[Desktop Entry]\nExec=/usr/bin/tavlin --hidden %U\n");
    EXPECT_EQ(item.entryExecutable(), u"/usr/bin/tavlin"_s) << "unquoted, before its arguments";
    writeTestFile(entry, "[Desktop Entry]\nName=Tavlin\n");
    EXPECT_EQ(item.entryExecutable(), std::nullopt);
}

// An entry written by a Tavlin started from a build folder starts the
// installed one once that has run.
TEST_F(LoginItemTest, AnEnabledEntryFollowsTheProgramThatRuns) {
    QTemporaryDir programs;
    const QString installed = programs.filePath(u"bin/tavlin"_s);
    writeTestFile(installed, "#!/bin/sh\n");
    const QString linked = programs.filePath(u"tavlin-link"_s);
    ASSERT_TRUE(QFile::link(installed, linked));
    const LoginItem running(entry, installed);

    EXPECT_EQ(running.followExecutable(), std::nullopt);
    EXPECT_FALSE(QFile::exists(entry)) << "off stays off";

    writeTestFile(entry, LoginItem::entryText(u"/home/me/tavlin/build/release/src/app/tavlin"_s));
    EXPECT_EQ(running.followExecutable(), std::nullopt);
    EXPECT_EQ(readTestFile(entry), LoginItem::entryText(installed));

    const QByteArray ownLink = LoginItem::entryText(linked) + "X-Note=kept\n";
    writeTestFile(entry, ownLink);
    EXPECT_EQ(running.followExecutable(), std::nullopt);
    EXPECT_EQ(readTestFile(entry), ownLink) << "another name of the same program is left as it is";

    const QByteArray hidden = LoginItem::entryText(u"/elsewhere/tavlin"_s) + "Hidden=true\n";
    writeTestFile(entry, hidden);
    EXPECT_EQ(running.followExecutable(), std::nullopt);
    EXPECT_EQ(readTestFile(entry), hidden) << "switched off by the desktop: not turned on again";
}
