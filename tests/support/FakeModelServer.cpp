#include "support/FakeModelServer.h"

using nlohmann::json;

namespace {

template <class Json>
QString text(const Json& value) {
    return value.is_string() ? QString::fromStdString(value.template get<std::string>()) : QString();
}

// What is wrong with a schema that should ask for every field, described,
// in the order of its fields.
QString schemaProblem(const nlohmann::ordered_json& schema) {
    if (!schema.is_object() || schema.value("type", "") != "object") return QStringLiteral("the schema is no object");
    const auto& properties = schema.value("properties", nlohmann::ordered_json());
    if (!properties.is_object() || properties.empty()) return QStringLiteral("the schema has no properties");
    nlohmann::ordered_json names = nlohmann::ordered_json::array();
    for (const auto& [name, property] : properties.items()) {
        names.push_back(name);
        if (!property.contains("type"))
            return QStringLiteral("property %1 has no type").arg(QString::fromStdString(name));
        if (text(property.value("description", nlohmann::ordered_json())).isEmpty())
            return QStringLiteral("property %1 has no description").arg(QString::fromStdString(name));
    }
    if (schema.value("required", nlohmann::ordered_json()) != names)
        return QStringLiteral("not every property is required");
    if (schema.value("additionalProperties", true) != false) return QStringLiteral("other properties are allowed");
    return {};
}

}  // namespace

FakeModelServer::FakeModelServer(API api, QStringList models) : api(api), models(std::move(models)) {
    const QByteArray prefix = api == API::ollama ? "" : "/v1";
    http.on(prefix + (api == API::ollama ? "/api/tags" : "/models"), [this](const FakeHTTPServer::Request&) {
        json list = json::array();
        for (const QString& model : this->models) {
            if (this->api == API::ollama)
                list.push_back({{"name", model.toStdString()}, {"model", model.toStdString()}});
            else list.push_back({{"id", model.toStdString()}, {"object", "model"}});
        }
        const json body = this->api == API::ollama ? json{{"models", list}} : json{{"object", "list"}, {"data", list}};
        return FakeHTTPServer::Reply::json(QByteArray::fromStdString(body.dump()));
    });
    http.on(prefix + (api == API::ollama ? "/api/chat" : "/chat/completions"),
            [this](const FakeHTTPServer::Request& request) { return chat(request); });
}

QUrl FakeModelServer::baseURL() const { return http.url(api == API::ollama ? "" : "/v1"); }

std::size_t FakeModelServer::modelListings() const {
    return http.requestsTo(api == API::ollama ? "/api/tags" : "/v1/models").size();
}

FakeHTTPServer::Reply FakeModelServer::answerWith(const std::string& content) const {
    const json message{{"role", "assistant"}, {"content", content}};
    const json body =
        api == API::ollama
            ? json{{"model", "tiny"}, {"message", message}, {"done", true}, {"done_reason", "stop"}}
            : json{{"object", "chat.completion"},
                   {"choices", json::array({{{"index", 0}, {"message", message}, {"finish_reason", "stop"}}})}};
    return FakeHTTPServer::Reply::json(QByteArray::fromStdString(body.dump()));
}

FakeHTTPServer::Reply FakeModelServer::refusal() const {
    if (api == API::ollama) return FakeHTTPServer::Reply::json(R"({"error":"the model declined"})", 500);
    const json message{{"role", "assistant"}, {"content", nullptr}, {"refusal", "I can't help with that."}};
    const json body{{"choices", json::array({{{"index", 0}, {"message", message}, {"finish_reason", "stop"}}})}};
    return FakeHTTPServer::Reply::json(QByteArray::fromStdString(body.dump()));
}

FakeHTTPServer::Reply FakeModelServer::chat(const FakeHTTPServer::Request& request) {
    Chat asked;
    asked.authorization = QString::fromUtf8(request.header("Authorization").value_or(""));
    const json body = json::parse(request.body.toStdString(), nullptr, false);
    const json& messages = body.value("messages", json());
    if (request.method != "POST" || request.header("Content-Type") != "application/json") {
        asked.problem = QStringLiteral("not a POST of JSON");
    } else if (!messages.is_array() || messages.size() != 2 || messages[0].value("role", "") != "system" ||
               messages[1].value("role", "") != "user") {
        asked.problem = QStringLiteral("not a system message and a user message");
    } else if (body.value("stream", true) != false) {
        asked.problem = QStringLiteral("a streamed answer is asked for");
    } else {
        asked.model = text(body.value("model", json()));
        asked.system = text(messages[0].value("content", json()));
        asked.user = text(messages[1].value("content", json()));
        const json& sampling = api == API::ollama ? body.value("options", json::object()) : body;
        if (sampling.contains("temperature")) asked.temperature = sampling["temperature"].get<double>();
        const char* limit = api == API::ollama ? "num_predict" : "max_tokens";
        if (sampling.contains(limit)) asked.maximumTokens = sampling[limit].get<int>();
        if (api == API::ollama) {
            asked.schema = body.value("format", json());
        } else if (body.value("response_format", json()).value("type", "") == "json_schema") {
            asked.schema = body["response_format"].value("json_schema", json()).value("schema", json());
        }
        using Ordered = nlohmann::ordered_json;
        const Ordered ordered = Ordered::parse(request.body.toStdString());
        asked.problem = schemaProblem(api == API::ollama ? ordered.value("format", Ordered())
                                                         : ordered.value("response_format", Ordered())
                                                               .value("json_schema", Ordered())
                                                               .value("schema", Ordered()));
    }
    chats.push_back(asked);
    if (script.empty()) return FakeHTTPServer::Reply::json(R"({"error":"nothing scripted"})", 500);
    FakeHTTPServer::Reply next = std::move(script.front());
    script.pop_front();
    return next;
}
