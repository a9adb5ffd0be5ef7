#include "platform/LanguageModel.h"

namespace tavlin::platform {

namespace {

// No on-device model exists on this platform.
class UnavailableLanguageModel final : public LanguageModel {
public:
    bool isAvailable() const override { return false; }
    std::unique_ptr<LanguageModelSession> makeSession(const QString&) override { return std::make_unique<Session>(); }

private:
    class Session final : public LanguageModelSession {
    public:
        Task<GeneratedContent> respond(QString, GenerationSchema, bool, GenerationOptions) override {
            throw LanguageModelError("no language model is available on this system");
            co_return GeneratedContent();
        }
    };
};

LanguageModel* installedModel = nullptr;

}  // namespace

std::optional<QString> GeneratedContent::string(const QString& name) const {
    const auto found = properties_.find(name);
    if (found == properties_.end() || !std::holds_alternative<QString>(found->second)) return std::nullopt;
    return std::get<QString>(found->second);
}

std::optional<QStringList> GeneratedContent::stringArray(const QString& name) const {
    const auto found = properties_.find(name);
    if (found == properties_.end() || !std::holds_alternative<QStringList>(found->second)) return std::nullopt;
    return std::get<QStringList>(found->second);
}

LanguageModel& LanguageModel::systemDefault() {
    static UnavailableLanguageModel unavailable;
    return installedModel ? *installedModel : unavailable;
}

ScopedLanguageModel::ScopedLanguageModel(LanguageModel& model) : previous_(installedModel) { installedModel = &model; }

ScopedLanguageModel::~ScopedLanguageModel() { installedModel = previous_; }

}  // namespace tavlin::platform
