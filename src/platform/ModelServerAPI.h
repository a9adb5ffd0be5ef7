#pragma once

#include "platform/LanguageModel.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <nlohmann/json.hpp>

namespace tavlin::platform {

// The two chat APIs of local model servers that can hold an answer to a
// JSON schema: Ollama's own (/api/chat with "format"), and the
// OpenAI-compatible one (/v1/chat/completions with a "json_schema"
// response format) of llama.cpp's server, LocalAI, LM Studio, vLLM. What
// goes over the wire is built and read here; the exchange itself is
// LocalLanguageModel's.
class ModelServerAPI {
public:
    enum class Kind { ollama, openAICompatible };

    // A base URL whose path ends in "/v1" is an OpenAI-compatible server;
    // any other is Ollama's API.
    static ModelServerAPI forBaseURL(const QUrl& base);

    Kind kind() const { return kind_; }
    const QUrl& baseURL() const { return base_; }
    QUrl chatURL() const;
    // Where the server lists the models it holds.
    QUrl modelsURL() const;

    // The body of a chat request: the instructions as the system message
    // (followed by the schema when asked), the prompt as the user message,
    // the answer held to the schema, no streaming.
    QByteArray chatRequest(const QString& model, const QString& instructions, const QString& prompt,
                           const GenerationSchema& schema, bool includeSchemaInPrompt,
                           const GenerationOptions& options) const;
    // The generated record of a chat answer, checked against the schema:
    // every field there, of its type, and no other. Anything else (a
    // refusal, a cut-off answer, malformed JSON or UTF-8) is a
    // LanguageModelError.
    GeneratedContent chatAnswer(const QByteArray& body, const GenerationSchema& schema) const;
    // Whether a models list names `model` (Ollama also as "<model>:latest").
    // A body that is no models list is a LanguageModelError.
    bool listsModel(const QByteArray& body, const QString& model) const;

    // A JSON schema of the record: an object of the schema's fields in their
    // order, each described by its guide, all required, no others allowed.
    static nlohmann::ordered_json jsonSchema(const GenerationSchema& schema);

private:
    ModelServerAPI(Kind kind, QUrl base) : kind_(kind), base_(std::move(base)) {}

    Kind kind_;
    QUrl base_;
};

}  // namespace tavlin::platform
