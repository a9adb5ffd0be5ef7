#pragma once

#include "platform/Task.h"

#include <QString>
#include <QStringList>

#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <variant>
#include <vector>

// An on-device language model that fills a record by guided generation: a
// session with instructions is asked once with a prompt and a schema, and
// answers with content that has the schema's fields. No such model runs on
// this platform yet: the system default reports itself unavailable, and a
// local model can be plugged in behind this interface later.
namespace tavlin::platform {

struct GenerationSchema {
    enum class Type { string, stringArray };
    struct Property {
        QString name;
        QString description;  // the field's guide for the model
        Type type = Type::string;
        friend bool operator==(const Property&, const Property&) = default;
    };

    QString typeName;
    QString description;  // empty for none
    std::vector<Property> properties;

    friend bool operator==(const GenerationSchema&, const GenerationSchema&) = default;
};

struct GenerationOptions {
    enum class Sampling { greedy, random };
    Sampling sampling = Sampling::greedy;
    std::optional<double> temperature;
    std::optional<int> maximumResponseTokens;

    friend bool operator==(const GenerationOptions&, const GenerationOptions&) = default;
};

// What the model generated: named string or string-list values.
class GeneratedContent {
public:
    using Value = std::variant<QString, QStringList>;

    GeneratedContent() = default;
    explicit GeneratedContent(std::map<QString, Value> properties) : properties_(std::move(properties)) {}

    std::optional<QString> string(const QString& name) const;
    std::optional<QStringList> stringArray(const QString& name) const;
    const std::map<QString, Value>& properties() const { return properties_; }

private:
    std::map<QString, Value> properties_;
};

// Any failure of the model: unavailable, refused, overflowed, malformed.
class LanguageModelError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class LanguageModelSession {
public:
    virtual ~LanguageModelSession() = default;
    // Fails with LanguageModelError.
    virtual Task<GeneratedContent> respond(QString prompt, GenerationSchema schema, bool includeSchemaInPrompt,
                                           GenerationOptions options) = 0;
};

class LanguageModel {
public:
    virtual ~LanguageModel() = default;
    virtual bool isAvailable() const = 0;
    // Whether isAvailable() is an answer yet: a model that asks a server in
    // the background is not available until its first check answered.
    virtual bool isAvailabilityKnown() const { return true; }
    virtual std::unique_ptr<LanguageModelSession> makeSession(const QString& instructions) = 0;

    // The model the system offers (or a test's stand-in, see ScopedLanguageModel).
    static LanguageModel& systemDefault();
};

// Puts a model in place of the system default for the life of the object.
class ScopedLanguageModel {
public:
    explicit ScopedLanguageModel(LanguageModel& model);
    ~ScopedLanguageModel();
    ScopedLanguageModel(const ScopedLanguageModel&) = delete;
    ScopedLanguageModel& operator=(const ScopedLanguageModel&) = delete;

private:
    LanguageModel* previous_;
};

}  // namespace tavlin::platform
