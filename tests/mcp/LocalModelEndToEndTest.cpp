// The real binary with a model server named in its settings, played by a
// fake one in this process: create_reminder refines what it made with the
// model's reading, and a model that keeps silent costs a call the tools'
// wait and no more.

#include "RawClient.h"
#include "support/FakeModelServer.h"
#include "support/HeadlessTavlin.h"
#include "support/MainLoop.h"

#include <gtest/gtest.h>
#include <QFile>

using namespace Qt::StringLiterals;
using nlohmann::json;

namespace {

class LocalModelEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        QFile settings(tavlin.configHome() + u"/Tavlin/settings.json"_s);
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly | QIODevice::Truncate));
        settings.write(QByteArray::fromStdString(json{
            {"mcpEnabled", true},
            {"languageModelURL", server.baseURL().toString().toStdString()},
            {"languageModelName", "tiny"}}.dump()));
        settings.close();
        ASSERT_TRUE(tavlin.start());
        // The check at its start waits for this loop to answer.
        ASSERT_TRUE(runMainLoopUntil(
            [&] {
                return tavlin.process().waitForError("language model \"tiny\" at " + serverName() + " is available", 1);
            },
            std::chrono::seconds(10)))
            << tavlin.process().standardError().toStdString();
    }

    QByteArray serverName() const { return server.baseURL().toDisplayString().toUtf8(); }

    // The text of create_reminder's reply, over HTTP with the token.
    std::string create(const std::string& text, int limitMs) {
        const json call{{"jsonrpc", "2.0"},
                        {"id", 1},
                        {"method", "tools/call"},
                        {"params", {{"name", "create_reminder"}, {"arguments", {{"text", text}}}}}};
        RawClient client(tavlin.port());
        EXPECT_TRUE(client.send(httpRequest(
            "POST", "/mcp",
            {"Host: 127.0.0.1", "Authorization: Bearer " + tavlin.token(), "Content-Type: application/json"},
            QByteArray::fromStdString(call.dump()))));
        const std::vector<QByteArray> answers = client.responses(1, limitMs);
        if (answers.empty()) return "no answer";
        const QByteArray& answer = answers.front();
        const json body = json::parse(answer.mid(answer.indexOf("\r\n\r\n") + 4).toStdString());
        return body.at("result").at("content").at(0).at("text");
    }

    FakeModelServer server;
    HeadlessTavlin tavlin{{.fixture = QStringLiteral(TAVLIN_FIXTURES_DIR "/reminders")}};
};

}  // namespace

TEST_F(LocalModelEndToEndTest, CreateReminderTakesTheModelsReadingWhenItComesInTime) {
    server.answer({{"dateText", ""},
                   {"dueDate", ""},
                   {"dueTime", ""},
                   {"locationText", ""},
                   {"location", ""},
                   {"priorityText", ""},
                   {"priority", ""},
                   {"listText", "work"},
                   {"list", "Work"}});
    const std::string reply = create("send the invoice work", 15000);
    EXPECT_EQ(reply.substr(0, reply.find(" [")), "Created: send the invoice · in Work") << reply;
    ASSERT_EQ(server.chats.size(), 1u);
    EXPECT_EQ(server.chats[0].problem, "");
    EXPECT_EQ(server.chats[0].user, u"send the invoice work"_s);
    EXPECT_TRUE(server.chats[0].system.contains(u"\n\nAvailable lists: Inbox, Work.\n"_s));
}

TEST_F(LocalModelEndToEndTest, ASilentModelLetsTheCallAnswerAfterTheToolsWait) {
    server.script.push_back({.silent = true});
    const std::string reply = create("send the invoice work", 20000);
    EXPECT_NE(reply.find("Created: send the invoice work · in Inbox"), std::string::npos) << reply;
    EXPECT_NE(reply.find("Created from the instant parse; the on-device model is still reading the text"),
              std::string::npos)
        << reply;
}
