#include "platform/LocalLanguageModel.h"

#include "platform/HTTPClient.h"
#include "platform/Log.h"
#include "platform/ModelServerAPI.h"

namespace tavlin::platform {

struct LocalLanguageModel::Core : std::enable_shared_from_this<Core> {
    Core(Configuration configuration, Clock* clock)
        : configuration(std::move(configuration)),
          api(ModelServerAPI::forBaseURL(this->configuration.baseURL)),
          client(HTTPClient::defaultUserAgent(), clock),
          clock(clock) {}

    Configuration configuration;
    ModelServerAPI api;
    HTTPClient client;
    Clock* clock;

    bool available = false;
    bool checking = false;
    bool closed = false;
    std::optional<bool> reported;  // the availability last logged
    Task<> check;
    ScheduledAction recheck;

    // Where log lines say the model is.
    QString name() const {
        return QStringLiteral("language model \"%1\" at %2")
            .arg(configuration.modelName, configuration.baseURL.toDisplayString());
    }

    HTTPClient::Request authorized(HTTPClient::Request request) const {
        request.bearerToken = configuration.bearerToken;
        return request;
    }

    // Starts a check in the background, unless one runs.
    void startCheck() {
        if (closed || checking) return;
        checking = true;
        recheck.cancel();
        check = runCheck(shared_from_this());
    }

    static Task<> runCheck(std::shared_ptr<Core> self) {
        HTTPClient::Request request = self->authorized(HTTPClient::get(self->api.modelsURL()));
        request.timeout = checkTimeout;
        request.maximumBodySize = maximumAnswerSize;
        bool holds = false;
        QString problem;
        try {
            const HTTPClient::Response response = co_await self->client.send(std::move(request));
            holds = self->api.listsModel(response.body, self->configuration.modelName);
            if (!holds) problem = QStringLiteral("the server does not hold the model");
        } catch (const std::runtime_error& error) {  // HTTPError, LanguageModelError
            problem = QString::fromUtf8(error.what());
        }
        self->checking = false;
        if (self->closed) co_return;
        self->setAvailable(holds, problem);
        if (holds) co_return;
        Clock& clock = self->clock ? *self->clock : Clock::main();
        self->recheck = clock.schedule(recheckInterval, [weak = std::weak_ptr(self)] {
            if (const auto core = weak.lock()) core->startCheck();
        });
    }

    void setAvailable(bool now, const QString& problem) {
        available = now;
        if (reported == now) return;
        reported = now;
        if (now) qCInfo(lcPlatform).noquote() << name() << "is available";
        else qCInfo(lcPlatform).noquote() << name() << "is not available:" << problem;
    }
};

class LocalLanguageModel::Session final : public LanguageModelSession {
public:
    Session(std::shared_ptr<Core> core, QString instructions)
        : core_(std::move(core)), instructions_(std::move(instructions)) {}

    Task<GeneratedContent> respond(QString prompt, GenerationSchema schema, bool includeSchemaInPrompt,
                                   GenerationOptions options) override {
        const std::shared_ptr<Core> core = core_;
        HTTPClient::Request request = core->authorized(HTTPClient::postJSON(
            core->api.chatURL(), core->api.chatRequest(core->configuration.modelName, instructions_, prompt, schema,
                                                       includeSchemaInPrompt, options)));
        request.timeout = answerTimeout;
        request.maximumBodySize = maximumAnswerSize;
        QString failure;
        try {
            const HTTPClient::Response response = co_await core->client.send(std::move(request));
            co_return core->api.chatAnswer(response.body, schema);
        } catch (const HTTPError& error) {
            // A reading that is no longer wanted is no failure of the server.
            if (error.kind() == HTTPError::Kind::cancelled) throw LanguageModelError("cancelled");
            failure = QString::fromUtf8(error.what());
            if (error.kind() == HTTPError::Kind::status) failure += QStringLiteral(": ") + statusText(error);
            // The server may be gone, or the model with it.
            if (error.kind() != HTTPError::Kind::tooLarge) {
                core->available = false;
                core->startCheck();
            }
        } catch (const LanguageModelError& error) {
            failure = QString::fromUtf8(error.what());
        }
        qCWarning(lcPlatform).noquote() << core->name() << "gave no reading:" << failure;
        throw LanguageModelError(failure.toStdString());
    }

private:
    // What the server said with an error status, in short.
    static QString statusText(const HTTPError& error) {
        constexpr qsizetype limit = 200;
        const QString body = QString::fromUtf8(error.response().body).simplified();
        return body.size() <= limit ? body : body.left(limit) + QStringLiteral("…");
    }

    std::shared_ptr<Core> core_;
    QString instructions_;
};

std::optional<LocalLanguageModel::Configuration> LocalLanguageModel::configuration(
    const QUrl& baseURL, const std::optional<QString>& modelName) {
    if (!modelName || modelName->trimmed().isEmpty()) return std::nullopt;
    const QString scheme = baseURL.scheme();
    if ((scheme != QStringLiteral("http") && scheme != QStringLiteral("https")) || baseURL.host().isEmpty()) {
        return std::nullopt;
    }
    return Configuration{baseURL, modelName->trimmed(), qEnvironmentVariable("TAVLIN_LANGUAGE_MODEL_KEY")};
}

LocalLanguageModel::LocalLanguageModel(Configuration configuration, Clock* clock)
    : core_(std::make_shared<Core>(std::move(configuration), clock)) {
    core_->startCheck();
}

LocalLanguageModel::~LocalLanguageModel() {
    core_->closed = true;
    core_->recheck.cancel();
    core_->check.cancel();
}

bool LocalLanguageModel::isAvailable() const { return core_->available; }

bool LocalLanguageModel::isAvailabilityKnown() const { return core_->reported.has_value(); }

bool LocalLanguageModel::isChecking() const { return core_->checking; }

std::unique_ptr<LanguageModelSession> LocalLanguageModel::makeSession(const QString& instructions) {
    return std::make_unique<Session>(core_, instructions);
}

}  // namespace tavlin::platform
