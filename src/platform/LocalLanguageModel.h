#pragma once

#include "platform/Clock.h"
#include "platform/LanguageModel.h"

#include <QString>
#include <QUrl>

#include <chrono>
#include <memory>
#include <optional>

namespace tavlin::platform {

// The language model of a model server the user runs on this machine
// (Ollama, or one that speaks the OpenAI-compatible chat API; see
// ModelServerAPI). It is available while the server answers and holds the
// named model: checked at construction, and again in the background after
// a request fails and, while it is not available, every recheckInterval.
// Nothing here blocks the main loop. Each failed answer is one warning.
class LocalLanguageModel final : public LanguageModel {
public:
    struct Configuration {
        QUrl baseURL;
        QString modelName;
        QString bearerToken;  // none when empty
    };

    // A whole answer; past it the request fails. A local model that loads
    // first may take a while, and the tools' own wait is shorter anyway.
    static constexpr std::chrono::seconds answerTimeout{30};
    static constexpr std::chrono::seconds checkTimeout{5};
    static constexpr std::chrono::seconds recheckInterval{30};
    // A record of a few short fields; a longer answer is no answer.
    static constexpr qint64 maximumAnswerSize = 1024 * 1024;

    // The configuration the settings make, with the bearer token from
    // TAVLIN_LANGUAGE_MODEL_KEY; nothing while no model is named or the
    // URL is no http(s) URL with a host.
    static std::optional<Configuration> configuration(const QUrl& baseURL, const std::optional<QString>& modelName);

    // `clock` measures the waits; none: Clock::main() at each.
    explicit LocalLanguageModel(Configuration configuration, Clock* clock = nullptr);
    ~LocalLanguageModel() override;
    LocalLanguageModel(const LocalLanguageModel&) = delete;
    LocalLanguageModel& operator=(const LocalLanguageModel&) = delete;

    bool isAvailable() const override;
    bool isAvailabilityKnown() const override;
    std::unique_ptr<LanguageModelSession> makeSession(const QString& instructions) override;

    // Whether a check of the server is under way.
    bool isChecking() const;

private:
    struct Core;
    class Session;

    std::shared_ptr<Core> core_;
};

}  // namespace tavlin::platform
