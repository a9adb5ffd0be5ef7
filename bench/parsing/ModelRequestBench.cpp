#include "parsing/SmartParsedReminder.h"
#include "platform/Calendar.h"
#include "platform/Date.h"
#include "platform/ModelServerAPI.h"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include <QUrl>

using namespace tavlin;
using namespace Qt::StringLiterals;

namespace {

// What Tavlin itself spends on one reading by a model server, the server's
// own time aside: the instructions, the request's JSON, and the answer read
// back and checked against the schema. Target: at most 0.2 ms together.

platform::ModelServerAPI api(int kind) {
    return platform::ModelServerAPI::forBaseURL(
        QUrl(kind == 0 ? u"http://127.0.0.1:11434"_s : u"http://127.0.0.1:8080/v1"_s));
}

const QStringList lists = {u"Inbox"_s, u"Work"_s, u"Groceries"_s, u"Home"_s};

void BuildReadingRequest(benchmark::State& state) {
    const platform::ModelServerAPI server = api(int(state.range(0)));
    const platform::GenerationOptions greedy;
    for (auto _ : state) {
        const QString instructions = parsing::SmartQuickAddParser::readingInstructions(
            platform::Date::now(), platform::Calendar::current(), lists);
        benchmark::DoNotOptimize(server.chatRequest(u"llama3.2:1b"_s, instructions, u"dentist friday 3pm @clinic"_s,
                                                    parsing::SmartParsedReminder::schema(), true, greedy));
    }
}
BENCHMARK(BuildReadingRequest)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// An answer as the servers send it, with the record as its text.
QByteArray answerBody(int kind) {
    const nlohmann::json record{{"dateText", "friday 3pm"},  {"dueDate", "2026-12-11"}, {"dueTime", "15:00"},
                                {"locationText", "@clinic"}, {"location", "clinic"},    {"priorityText", ""},
                                {"priority", "none"},        {"listText", ""},          {"list", ""}};
    const nlohmann::json message{{"role", "assistant"}, {"content", record.dump()}};
    const nlohmann::json body =
        kind == 0 ? nlohmann::json{{"model", "llama3.2:1b"}, {"created_at", "2026-12-10T12:00:00Z"},
                                   {"message", message},     {"done", true},
                                   {"done_reason", "stop"},  {"total_duration", 812345678},
                                   {"eval_count", 61}}
                  : nlohmann::json{{"id", "chatcmpl-1"},
                                   {"object", "chat.completion"},
                                   {"model", "llama3.2:1b"},
                                   {"choices", {{{"index", 0}, {"message", message}, {"finish_reason", "stop"}}}},
                                   {"usage", {{"prompt_tokens", 512}, {"completion_tokens", 61}}}};
    return QByteArray::fromStdString(body.dump());
}

void ReadReadingAnswer(benchmark::State& state) {
    const platform::ModelServerAPI server = api(int(state.range(0)));
    const QByteArray body = answerBody(int(state.range(0)));
    for (auto _ : state) {
        const platform::GeneratedContent content = server.chatAnswer(body, parsing::SmartParsedReminder::schema());
        benchmark::DoNotOptimize(parsing::SmartParsedReminder::fromGeneratedContent(content));
    }
}
BENCHMARK(ReadReadingAnswer)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
