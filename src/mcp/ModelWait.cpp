#include "mcp/ReminderTools.h"

#include "parsing/ParserVocabulary.h"
#include "parsing/SmartQuickAddParser.h"
#include "platform/Clock.h"

using tavlin::parsing::ParsedQuickAdd;
using tavlin::platform::Task;

namespace tavlin::mcp {

namespace {

// The model's own answer (a reading or none), or nothing when the wait ran
// out first. Whichever comes first decides; the later one changes nothing.
using Race = platform::TaskCompletion<std::optional<std::optional<ParsedQuickAdd>>>;

void raceWithTimeout(const Race& race, const Task<std::optional<ParsedQuickAdd>>& model) {
    model.whenDone([race, model] {
        try {
            race.resolve(std::optional(model.result()));
        } catch (...) {
            race.resolve(std::optional<std::optional<ParsedQuickAdd>>(std::nullopt));
        }
    });
    // Never cancelled: a model that answers first leaves it to run out unheard.
    (void)platform::Clock::main().schedule(ReminderTools::modelWaitLimit, [race] { race.resolve(std::nullopt); });
}

}  // namespace

Task<ReminderTools::ModelVerdict> ReminderTools::awaitModel(QString text, QStringList listNames) {
    if (!parsing::SmartQuickAddParser::isModelAvailable()) co_return ModelVerdict{ModelVerdict::Unavailable{}};
    Task<std::optional<ParsedQuickAdd>> model = parsing::SmartQuickAddParser::parse(
        std::move(text), std::move(listNames), parsing::ParserVocabulary::current());
    Race race;
    raceWithTimeout(race, model);
    const std::optional<std::optional<ParsedQuickAdd>> answer = co_await race.task();
    if (!answer) co_return ModelVerdict{ModelVerdict::TimedOut{std::move(model)}};
    if (!*answer) co_return ModelVerdict{ModelVerdict::Declined{}};
    co_return ModelVerdict{ModelVerdict::Parsed{**answer}};
}

}  // namespace tavlin::mcp
