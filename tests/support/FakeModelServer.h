#pragma once

#include "support/FakeHTTPServer.h"

#include <QString>
#include <QStringList>
#include <QUrl>

#include <nlohmann/json.hpp>

#include <deque>
#include <optional>
#include <string>
#include <vector>

// A local model server for tests, speaking Ollama's chat API or the
// OpenAI-compatible one on a FakeHTTPServer. It lists its models, reads
// back every chat request (and says what is wrong with it, if anything),
// and answers from a script.
class FakeModelServer {
public:
    enum class API { ollama, openAICompatible };

    // What a chat request asked.
    struct Chat {
        QString model;
        QString system;
        QString user;
        nlohmann::json schema;  // the JSON schema the answer is held to
        std::optional<double> temperature;
        std::optional<int> maximumTokens;
        QString authorization;
        QString problem;  // empty when the request is as its API wants it
    };

    explicit FakeModelServer(API api = API::ollama, QStringList models = {QStringLiteral("tiny")});

    // What languageModelURL names for this server.
    QUrl baseURL() const;

    // A right answer whose generated text is `content`, as it stands.
    FakeHTTPServer::Reply answerWith(const std::string& content) const;
    // A right answer generating `record`.
    FakeHTTPServer::Reply answerWith(const nlohmann::json& record) const { return answerWith(record.dump()); }
    // The model refuses: a refusal of the OpenAI-compatible API, an error of Ollama's.
    FakeHTTPServer::Reply refusal() const;

    // Queues a right answer generating `record`.
    void answer(const nlohmann::json& record) { script.push_back(answerWith(record)); }

    FakeHTTPServer http;
    API api;
    QStringList models;  // what the models list names
    // The next chat answers, in order; none left: a server error.
    std::deque<FakeHTTPServer::Reply> script;
    std::vector<Chat> chats;

    std::size_t modelListings() const;

private:
    FakeHTTPServer::Reply chat(const FakeHTTPServer::Request& request);
};
