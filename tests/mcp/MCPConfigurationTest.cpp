#include "mcp/MCPConfiguration.h"

#include "support/ScopedVariable.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <nlohmann/json.hpp>

#include <sys/stat.h>

using namespace Qt::StringLiterals;
using tavlin::mcp::MCPConfiguration;

namespace {

mode_t modeOf(const QString& path) {
    struct stat status {};
    ::stat(QFile::encodeName(path).constData(), &status);
    return status.st_mode & 0777;
}

const QString goodToken = u"ab"_s.repeated(32);

}  // namespace

TEST(MCPConfiguration, LivesInTheDataFolderOrBesideHome) {
    {
        ScopedVariable data("XDG_DATA_HOME", "/data/home");
        EXPECT_EQ(MCPConfiguration::filePath(), u"/data/home/Tavlin/mcp.json"_s);
    }
    for (const char* unusable : {"", "relative/data"}) {
        SCOPED_TRACE(unusable);
        ScopedVariable data("XDG_DATA_HOME", QByteArray(unusable));
        EXPECT_EQ(MCPConfiguration::filePath(), QDir::homePath() + u"/.local/share/Tavlin/mcp.json"_s);
    }
    ScopedVariable data("XDG_DATA_HOME", std::nullopt);
    EXPECT_EQ(MCPConfiguration::instanceLockPath(), QDir::homePath() + u"/.local/share/Tavlin/tavlin.lock"_s);
}

TEST(MCPConfiguration, SavesOwnerOnlyWithSortedKeys) {
    QTemporaryDir folder;
    const QString path = folder.filePath(u"new/Tavlin/mcp.json"_s);
    ASSERT_EQ(MCPConfiguration({.token = goodToken, .port = 41733}).save(path), std::nullopt);
    EXPECT_EQ(modeOf(path), 0600u);
    EXPECT_EQ(modeOf(folder.filePath(u"new/Tavlin"_s)), 0700u);
    EXPECT_EQ(readTestFile(path), "{\n  \"port\": 41733,\n  \"token\": \"" + goodToken.toLatin1() + "\"\n}\n");

    ASSERT_EQ(MCPConfiguration({.token = goodToken}).save(path), std::nullopt);
    EXPECT_EQ(readTestFile(path), "{\n  \"token\": \"" + goodToken.toLatin1() + "\"\n}\n");
    EXPECT_EQ(QDir(folder.filePath(u"new/Tavlin"_s)).entryList(QDir::Files | QDir::Hidden), QStringList{u"mcp.json"_s})
        << "no temporary file is left behind";

    // A rewrite keeps a narrower mode, and never widens the token's file.
    for (const auto& [before, after] : {std::pair{0400u, 0400u}, std::pair{0644u, 0600u}}) {
        ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), before), 0);
        ASSERT_EQ(MCPConfiguration({.token = goodToken}).save(path), std::nullopt);
        EXPECT_EQ(modeOf(path), after) << before;
    }
}

TEST(MCPConfiguration, AFailedSaveSaysWhy) {
    QTemporaryDir folder;
    writeTestFile(folder.filePath(u"blocked"_s), "a file where the folder should be");
    const std::optional<QString> failure =
        MCPConfiguration({.token = goodToken}).save(folder.filePath(u"blocked/mcp.json"_s));
    ASSERT_TRUE(failure);
    EXPECT_TRUE(failure->contains(u"blocked"_s)) << failure->toStdString();
}

TEST(MCPConfiguration, ReadsOnlyAWellFormedFile) {
    struct Case {
        const char* name;
        QByteArray bytes;
        std::optional<MCPConfiguration> read;
    };
    const Case cases[] = {
        {"token and port", R"({"token":"t","port":41733})", MCPConfiguration{.token = u"t"_s, .port = 41733}},
        {"token only", R"({"token":"t"})", MCPConfiguration{.token = u"t"_s}},
        {"a null port", R"({"token":"t","port":null})", MCPConfiguration{.token = u"t"_s}},
        {"an extra key", R"({"token":"t","theme":"dark"})", MCPConfiguration{.token = u"t"_s}},
        {"a port out of range", R"({"token":"t","port":70000})", std::nullopt},
        {"a negative port", R"({"token":"t","port":-1})", std::nullopt},
        {"a fractional port", R"({"token":"t","port":4.5})", std::nullopt},
        {"a port as text", R"({"token":"t","port":"41733"})", std::nullopt},
        {"a numeric token", R"({"token":7})", std::nullopt},
        {"no token", R"({"port":1})", std::nullopt},
        {"not JSON", "{", std::nullopt},
        {"an array", "[]", std::nullopt},
    };
    QTemporaryDir folder;
    const QString path = folder.filePath(u"mcp.json"_s);
    EXPECT_EQ(MCPConfiguration::read(path), std::nullopt) << "no file";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeTestFile(path, c.bytes);
        EXPECT_EQ(MCPConfiguration::read(path), c.read);
    }
}

TEST(MCPConfiguration, KeepsAPresentableTokenAcrossLaunches) {
    QTemporaryDir folder;
    const QString path = folder.filePath(u"mcp.json"_s);
    const QString made = MCPConfiguration::launchToken(path);
    EXPECT_TRUE(QRegularExpression(u"^[0-9a-f]{64}$"_s).match(made).hasMatch()) << made.toStdString();
    EXPECT_NE(MCPConfiguration::makeToken(), MCPConfiguration::makeToken());

    ASSERT_EQ(MCPConfiguration({.token = made, .port = 1}).save(path), std::nullopt);
    EXPECT_EQ(MCPConfiguration::launchToken(path), made);

    // Tokens no Authorization header can carry would lock every client out.
    for (const QByteArray unusable : {R"({"token":""})", R"({"token":" abc"})", R"({"token":"abc\n"})",
                                      R"({"token":"a\u0000b"})", R"({"token":7})"}) {
        SCOPED_TRACE(unusable.toStdString());
        writeTestFile(path, unusable);
        EXPECT_EQ(MCPConfiguration::launchToken(path).size(), 64);
    }
}

TEST(MCPConfiguration, ServerURL) {
    EXPECT_EQ(MCPConfiguration::serverURL(41733), QUrl(u"http://127.0.0.1:41733/mcp"_s));
    EXPECT_EQ(MCPConfiguration::serverURL(std::nullopt), std::nullopt);
}

TEST(MCPConfiguration, ClientSnippetNamesTheExecutableWithSortedKeysAndPlainSlashes) {
    EXPECT_EQ(MCPConfiguration::clientConfigSnippet(u"/opt/Tavlin Ä/bin/tavlin"_s),
              u"{\n"
              "  \"mcpServers\": {\n"
              "    \"tavlin\": {\n"
              "      \"args\": [\n"
              "        \"--mcp\"\n"
              "      ],\n"
              "      \"command\": \"/opt/Tavlin Ä/bin/tavlin\"\n"
              "    }\n"
              "  }\n"
              "}"_s);
    // A path with a quote or a backslash still makes JSON that reads back.
    const QString odd = u"/home/a\"b\\c/tavlin"_s;
    const std::string snippet = MCPConfiguration::clientConfigSnippet(odd).toStdString();
    const nlohmann::json parsed = nlohmann::json::parse(snippet, nullptr, false);
    ASSERT_FALSE(parsed.is_discarded()) << snippet;
    EXPECT_EQ(parsed["mcpServers"]["tavlin"]["command"], odd.toStdString());
}

TEST(MCPConfiguration, SetupInstructionsGiveBothWaysIn) {
    const QString executable = u"/usr/bin/tavlin"_s;
    const QString file = u"/home/ann/.local/share/Tavlin/mcp.json"_s;
    const QString listening = MCPConfiguration::setupInstructions(executable, MCPConfiguration::serverURL(50123), file);
    EXPECT_TRUE(listening.startsWith(
        u"Please add Tavlin as an MCP server in your configuration, so you can read and manage my reminders.\n\n"
        "Tavlin is a Linux desktop app that runs a local Model Context Protocol server."_s));
    EXPECT_TRUE(listening.contains(u"\n- Command: /usr/bin/tavlin\n- Arguments: --mcp\n"_s));
    EXPECT_TRUE(listening.contains(u"In the common \"mcpServers\" JSON format:\n"_s +
                                   MCPConfiguration::clientConfigSnippet(executable) +
                                   u"\n\nOption 2, Streamable HTTP"_s));
    EXPECT_TRUE(listening.contains(u"\n- URL: http://127.0.0.1:50123/mcp\n"_s));
    EXPECT_TRUE(
        listening.contains(u"from the \"token\" key in /home/ann/.local/share/Tavlin/mcp.json. The \"port\""_s));
    EXPECT_TRUE(listening.endsWith(u"for example \"call mum friday 3pm #family !!\"."_s));
    EXPECT_FALSE(listening.contains(u"Mac"_s) || listening.contains(u"Apple"_s));

    const QString stopped = MCPConfiguration::setupInstructions(executable, std::nullopt, file);
    EXPECT_TRUE(stopped.contains(u"\n- URL: http://127.0.0.1:41733/mcp\n"_s)) << "the default port's endpoint";
}
