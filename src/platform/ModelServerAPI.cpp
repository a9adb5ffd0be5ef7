#include "platform/ModelServerAPI.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace tavlin::platform {

namespace {

using nlohmann::json;
using nlohmann::ordered_json;

std::string utf8(const QString& text) { return text.toStdString(); }

[[noreturn]] void refuse(const QString& why) { throw LanguageModelError(why.toStdString()); }

json parsed(const std::string_view text, const char* what) {
    try {
        return json::parse(text);
    } catch (const json::exception&) {
        // Malformed JSON and ill-formed UTF-8 alike.
        refuse(QStringLiteral("%1 is no well-formed JSON").arg(QLatin1String(what)));
    }
}

// The text member `key` of an object, if it is one.
const std::string* textAt(const json& object, const char* key) {
    if (!object.is_object()) return nullptr;
    const auto found = object.find(key);
    return found != object.end() && found->is_string() ? found->get_ptr<const std::string*>() : nullptr;
}

const json* memberAt(const json& object, const char* key) {
    if (!object.is_object()) return nullptr;
    const auto found = object.find(key);
    return found != object.end() ? &*found : nullptr;
}

QString shown(const std::string& text) {
    constexpr qsizetype limit = 200;
    const QString whole = QString::fromStdString(text);
    return whole.size() <= limit ? whole : whole.left(limit) + QStringLiteral("…");
}

GeneratedContent recordOf(const json& record, const GenerationSchema& schema) {
    if (!record.is_object()) refuse(QStringLiteral("the model's answer is no JSON object"));
    for (const auto& item : record.items()) {
        const std::string& key = item.key();
        const bool known = std::any_of(schema.properties.begin(), schema.properties.end(),
                                       [&](const auto& property) { return utf8(property.name) == key; });
        if (!known) refuse(QStringLiteral("the model's answer has a field \"%1\" the schema has not").arg(shown(key)));
    }
    std::map<QString, GeneratedContent::Value> properties;
    for (const GenerationSchema::Property& property : schema.properties) {
        const json* value = memberAt(record, utf8(property.name).c_str());
        if (!value) refuse(QStringLiteral("the model's answer lacks the field \"%1\"").arg(property.name));
        if (property.type == GenerationSchema::Type::string && value->is_string()) {
            properties.emplace(property.name, QString::fromStdString(value->get<std::string>()));
            continue;
        }
        if (property.type == GenerationSchema::Type::stringArray && value->is_array() &&
            std::all_of(value->begin(), value->end(), [](const json& item) { return item.is_string(); })) {
            QStringList items;
            for (const json& item : *value) items.append(QString::fromStdString(item.get<std::string>()));
            properties.emplace(property.name, items);
            continue;
        }
        refuse(QStringLiteral("the model's answer has a field \"%1\" of the wrong type").arg(property.name));
    }
    return GeneratedContent(std::move(properties));
}

// The generated text of an Ollama answer.
std::string ollamaContent(const json& answer) {
    const json* message = memberAt(answer, "message");
    const std::string* content = message ? textAt(*message, "content") : nullptr;
    if (!content) refuse(QStringLiteral("the answer holds no message"));
    const std::string* reason = textAt(answer, "done_reason");
    if (reason && *reason == "length") refuse(QStringLiteral("the answer was cut off at its token limit"));
    return *content;
}

// The generated text of an OpenAI-compatible answer.
std::string openAIContent(const json& answer) {
    const json* choices = memberAt(answer, "choices");
    if (!choices || !choices->is_array() || choices->empty()) refuse(QStringLiteral("the answer holds no choice"));
    const json& choice = choices->front();
    const json* message = memberAt(choice, "message");
    if (!message) refuse(QStringLiteral("the answer holds no message"));
    if (const std::string* refusal = textAt(*message, "refusal"); refusal && !refusal->empty())
        refuse(QStringLiteral("the model refused: %1").arg(shown(*refusal)));
    const std::string* reason = textAt(choice, "finish_reason");
    if (reason && *reason == "length") refuse(QStringLiteral("the answer was cut off at its token limit"));
    if (reason && *reason == "content_filter") refuse(QStringLiteral("the model refused: content filter"));
    const std::string* content = textAt(*message, "content");
    if (!content) refuse(QStringLiteral("the answer holds no content"));
    return *content;
}

QString trimmedPath(const QUrl& url) {
    QString path = url.path();
    while (path.endsWith(u'/')) path.chop(1);
    return path;
}

}  // namespace

ModelServerAPI ModelServerAPI::forBaseURL(const QUrl& base) {
    return ModelServerAPI(trimmedPath(base).endsWith(QStringLiteral("/v1")) ? Kind::openAICompatible : Kind::ollama,
                          base);
}

QUrl ModelServerAPI::chatURL() const {
    QUrl url = base_;
    url.setPath(trimmedPath(base_) +
                (kind_ == Kind::ollama ? QStringLiteral("/api/chat") : QStringLiteral("/chat/completions")));
    return url;
}

QUrl ModelServerAPI::modelsURL() const {
    QUrl url = base_;
    url.setPath(trimmedPath(base_) + (kind_ == Kind::ollama ? QStringLiteral("/api/tags") : QStringLiteral("/models")));
    return url;
}

ordered_json ModelServerAPI::jsonSchema(const GenerationSchema& schema) {
    ordered_json properties = ordered_json::object();
    ordered_json required = ordered_json::array();
    for (const GenerationSchema::Property& property : schema.properties) {
        ordered_json field;
        if (property.type == GenerationSchema::Type::string) {
            field["type"] = "string";
        } else {
            field["type"] = "array";
            field["items"] = {{"type", "string"}};
        }
        if (!property.description.isEmpty()) field["description"] = utf8(property.description);
        properties[utf8(property.name)] = std::move(field);
        required.push_back(utf8(property.name));
    }
    ordered_json result{{"type", "object"}};
    if (!schema.typeName.isEmpty()) result["title"] = utf8(schema.typeName);
    if (!schema.description.isEmpty()) result["description"] = utf8(schema.description);
    result["properties"] = std::move(properties);
    result["required"] = std::move(required);
    result["additionalProperties"] = false;
    return result;
}

QByteArray ModelServerAPI::chatRequest(const QString& model, const QString& instructions, const QString& prompt,
                                       const GenerationSchema& schema, bool includeSchemaInPrompt,
                                       const GenerationOptions& options) const {
    const ordered_json format = jsonSchema(schema);
    std::string system = utf8(instructions);
    if (includeSchemaInPrompt) {
        system += "\n\nAnswer with one JSON object that follows this JSON schema:\n";
        system += format.dump();
    }
    ordered_json request{{"model", utf8(model)}};
    request["messages"] = ordered_json::array({
        {{"role", "system"}, {"content", std::move(system)}},
        {{"role", "user"}, {"content", utf8(prompt)}},
    });
    request["stream"] = false;
    // Greedy sampling is a temperature of nothing.
    std::optional<double> temperature = options.temperature;
    if (options.sampling == GenerationOptions::Sampling::greedy) temperature = 0.0;
    if (kind_ == Kind::ollama) {
        request["format"] = format;
        ordered_json sampling = ordered_json::object();
        if (temperature) sampling["temperature"] = *temperature;
        if (options.maximumResponseTokens) sampling["num_predict"] = *options.maximumResponseTokens;
        request["options"] = std::move(sampling);
    } else {
        request["response_format"] = {
            {"type", "json_schema"},
            {"json_schema",
             {{"name", schema.typeName.isEmpty() ? std::string("answer") : utf8(schema.typeName)},
              {"strict", true},
              {"schema", format}}},
        };
        if (temperature) request["temperature"] = *temperature;
        if (options.maximumResponseTokens) request["max_tokens"] = *options.maximumResponseTokens;
    }
    return QByteArray::fromStdString(request.dump(-1, ' ', false, ordered_json::error_handler_t::replace));
}

GeneratedContent ModelServerAPI::chatAnswer(const QByteArray& body, const GenerationSchema& schema) const {
    const json answer = parsed(std::string_view(body.constData(), size_t(body.size())), "the server's answer");
    if (!answer.is_object()) refuse(QStringLiteral("the server's answer is no JSON object"));
    if (const json* error = memberAt(answer, "error"); error && !error->is_null())
        refuse(QStringLiteral("the server says: %1").arg(shown(error->dump())));
    const std::string content = kind_ == Kind::ollama ? ollamaContent(answer) : openAIContent(answer);
    return recordOf(parsed(content, "the model's answer"), schema);
}

bool ModelServerAPI::listsModel(const QByteArray& body, const QString& model) const {
    const json list = parsed(std::string_view(body.constData(), size_t(body.size())), "the models list");
    const json* models = memberAt(list, kind_ == Kind::ollama ? "models" : "data");
    if (!models || !models->is_array()) refuse(QStringLiteral("the server's answer is no models list"));
    const std::string wanted = utf8(model);
    const std::string tagged = wanted + ":latest";
    // Ollama names a model by its name and by its tag's; the others by id.
    static const std::vector<const char*> ollamaKeys = {"name", "model"};
    static const std::vector<const char*> openAIKeys = {"id"};
    const std::vector<const char*>& keys = kind_ == Kind::ollama ? ollamaKeys : openAIKeys;
    return std::any_of(models->begin(), models->end(), [&](const json& entry) {
        return std::any_of(keys.begin(), keys.end(), [&](const char* key) {
            const std::string* name = textAt(entry, key);
            return name && (*name == wanted || (kind_ == Kind::ollama && *name == tagged));
        });
    });
}

}  // namespace tavlin::platform
