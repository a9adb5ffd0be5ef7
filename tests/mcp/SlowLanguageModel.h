#pragma once

#include "parsing/SmartParsedReminder.h"
#include "platform/Clock.h"
#include "platform/LanguageModel.h"
#include "platform/Task.h"

#include <chrono>

// A language model for tests that takes its time on Clock::main(): each
// answer comes `delay` after the question, with every field of a reading
// empty (so the rules decide), or as a failure.
class SlowLanguageModel final : public tavlin::platform::LanguageModel {
public:
    bool available = true;
    std::chrono::milliseconds delay{0};
    bool fails = false;
    int questions = 0;

    bool isAvailable() const override { return available; }
    std::unique_ptr<tavlin::platform::LanguageModelSession> makeSession(const QString&) override {
        return std::make_unique<Session>(*this);
    }

private:
    class Session final : public tavlin::platform::LanguageModelSession {
    public:
        explicit Session(SlowLanguageModel& model) : model_(model) {}
        tavlin::platform::Task<tavlin::platform::GeneratedContent> respond(
            QString, tavlin::platform::GenerationSchema schema, bool, tavlin::platform::GenerationOptions) override {
            ++model_.questions;
            const bool fails = model_.fails;
            (void)co_await tavlin::platform::sleep(model_.delay);
            if (fails) throw tavlin::platform::LanguageModelError("scripted failure");
            std::map<QString, tavlin::platform::GeneratedContent::Value> fields;
            for (const auto& property : schema.properties) {
                if (property.type == tavlin::platform::GenerationSchema::Type::string)
                    fields[property.name] = QString();
                else fields[property.name] = QStringList();
            }
            co_return tavlin::platform::GeneratedContent(std::move(fields));
        }

    private:
        SlowLanguageModel& model_;
    };
};
