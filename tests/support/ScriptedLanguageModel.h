#pragma once

#include "platform/LanguageModel.h"

#include <deque>
#include <utility>
#include <variant>
#include <vector>

// A language model for tests: it records what each session was told and
// asked, and answers with canned content or fails; while `holdAnswers` is
// set, each answer waits until the test lets it go (release()).
class ScriptedLanguageModel final : public tavlin::platform::LanguageModel {
public:
    struct Failure {};
    using Answer = std::variant<tavlin::platform::GeneratedContent, Failure>;

    struct Request {
        QString instructions;
        QString prompt;
        tavlin::platform::GenerationSchema schema;
        bool includeSchemaInPrompt = false;
        tavlin::platform::GenerationOptions options;
    };

    bool available = true;
    std::deque<Answer> answers;     // one per respond(), in order; none left: a failure
    std::vector<Request> requests;  // what was asked, in order
    bool holdAnswers = false;

    // Lets every answer held so far go, in order.
    void release() {
        for (const auto& held : std::exchange(held_, {})) held.resolve();
    }
    std::size_t heldCount() const { return held_.size(); }

    bool isAvailable() const override { return available; }

    std::unique_ptr<tavlin::platform::LanguageModelSession> makeSession(const QString& instructions) override {
        return std::make_unique<Session>(*this, instructions);
    }

private:
    std::vector<tavlin::platform::TaskCompletion<>> held_;

    class Session final : public tavlin::platform::LanguageModelSession {
    public:
        Session(ScriptedLanguageModel& model, QString instructions)
            : model_(model), instructions_(std::move(instructions)) {}

        tavlin::platform::Task<tavlin::platform::GeneratedContent> respond(
            QString prompt, tavlin::platform::GenerationSchema schema, bool includeSchemaInPrompt,
            tavlin::platform::GenerationOptions options) override {
            model_.requests.push_back({instructions_, prompt, schema, includeSchemaInPrompt, options});
            if (model_.holdAnswers) {
                // Only the model keeps the completion: a model gone unreleased
                // abandons the answer, and this frame goes with it.
                const tavlin::platform::Task<> released = model_.held_.emplace_back().task();
                co_await released;
            }
            if (model_.answers.empty()) throw tavlin::platform::LanguageModelError("no answer scripted");
            Answer answer = std::move(model_.answers.front());
            model_.answers.pop_front();
            if (std::holds_alternative<Failure>(answer)) throw tavlin::platform::LanguageModelError("scripted failure");
            co_return std::get<tavlin::platform::GeneratedContent>(answer);
        }

    private:
        ScriptedLanguageModel& model_;
        QString instructions_;
    };
};
