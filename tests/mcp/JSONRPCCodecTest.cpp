#include "mcp/JSONRPCCodec.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

using namespace tavlin::mcp;
using nlohmann::json;

namespace {

JSONRPCCodec::Decoded decoded(const std::string& body) { return JSONRPCCodec::decode(QByteArrayView(body)); }

// "code message" of the failure the body is rejected with, or "accepted".
std::string rejection(const std::string& body) {
    try {
        decoded(body);
        return "accepted";
    } catch (const JSONRPCFailure& failure) {
        return std::to_string(failure.code) + " " + failure.message();
    }
}

std::string serialized(const json& value) { return JSONRPCCodec::serialize(value).toStdString(); }

}  // namespace

TEST(JSONRPCCodec, RejectsBodiesAsAWhole) {
    struct Case {
        std::string body;
        std::string failure;
    };
    const Case cases[] = {
        {"", "-32700 Parse error"},
        {"42", "-32700 Parse error"},
        {R"("x")", "-32700 Parse error"},
        {"null", "-32700 Parse error"},
        {"true", "-32700 Parse error"},
        {R"({"jsonrpc":"2.0",)", "-32700 Parse error"},
        {"{} {}", "-32700 Parse error"},
        {"{\"jsonrpc\":\"2.0\",\"method\":\"a\xFF\"}", "-32700 Parse error"},
        {R"({"jsonrpc":"2.0","method":"\ud800"})", "-32700 Parse error"},
        {R"({"jsonrpc":"2.0","id":1e400,"method":"a"})", "-32700 Parse error"},
        {"[]", "-32600 Empty batch"},
        {"[1]", "-32600 Invalid Request"},
        {R"([{"jsonrpc":"2.0","method":"a"},1])", "-32600 Invalid Request"},
        {R"([{"jsonrpc":"2.0","id":1,"method":"a"},{"jsonrpc":"1.0","id":2,"method":"b"}])",
         R"(-32600 jsonrpc must be "2.0")"},
        {R"({"id":1,"method":"a"})", R"(-32600 jsonrpc must be "2.0")"},
        {R"({"jsonrpc":2.0,"id":1,"method":"a"})", R"(-32600 jsonrpc must be "2.0")"},
        {R"({"jsonrpc":"2.0","id":1,"method":"a","params":[]})", "-32600 params must be an object"},
        {R"({"jsonrpc":"2.0","id":1,"method":"a","params":"x"})", "-32600 params must be an object"},
        {R"({"jsonrpc":"2.0","id":1,"method":"a","params":false})", "-32600 params must be an object"},
        {R"({"jsonrpc":"2.0","id":1})", "-32600 Missing method"},
        {R"({"jsonrpc":"2.0","id":1,"method":7})", "-32600 Missing method"},
        // The version is checked before the method.
        {R"({"jsonrpc":"2","id":1})", R"(-32600 jsonrpc must be "2.0")"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        EXPECT_EQ(rejection(c.body), c.failure);
    }
}

// A batch is answered on the main loop, one request after the other: one
// of ten thousand would hold everything else for a minute.
TEST(JSONRPCCodec, ABatchHoldsAtMostAHundredMessages) {
    const auto batch = [](std::size_t count) {
        std::string body = "[";
        for (std::size_t i = 0; i < count; ++i)
            body +=
                (i ? "," : "") + std::string(R"({"jsonrpc":"2.0","id":)") + std::to_string(i) + R"(,"method":"ping"})";
        return body + "]";
    };
    EXPECT_EQ(decoded(batch(JSONRPCCodec::maxBatchMessages)).messages.size(), JSONRPCCodec::maxBatchMessages);
    for (const std::size_t count : {JSONRPCCodec::maxBatchMessages + 1, std::size_t{10000}}) {
        SCOPED_TRACE(count);
        EXPECT_EQ(rejection(batch(count)), "-32600 Batch too large: at most 100 messages");
    }
}

TEST(JSONRPCCodec, DecodesMessagesAndBatches) {
    struct Case {
        std::string body;
        std::vector<std::string> methods;
        bool isBatch;
    };
    const Case cases[] = {
        {R"({"jsonrpc":"2.0","id":1,"method":"ping"})", {"ping"}, false},
        {R"({"jsonrpc":"2.0","result":{},"id":1})", {}, false},
        {R"({"jsonrpc":"2.0","error":{"code":1},"id":1})", {}, false},
        {R"({"jsonrpc":"2.0","method":7,"result":1})", {}, false},
        {R"({"jsonrpc":"2.0","method":""})", {""}, false},
        {R"([{"jsonrpc":"2.0","id":1,"method":"ping"}])", {"ping"}, true},
        {R"([{"jsonrpc":"2.0","result":1,"id":1},{"jsonrpc":"2.0","error":{},"id":2}])", {}, true},
        {R"([{"jsonrpc":"2.0","method":"a"},{"jsonrpc":"2.0","result":1},{"jsonrpc":"2.0","id":"x","method":"b"}])",
         {"a", "b"},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        const JSONRPCCodec::Decoded result = decoded(c.body);
        std::vector<std::string> methods;
        for (const JSONRPCMessage& message : result.messages) methods.push_back(message.method);
        EXPECT_EQ(methods, c.methods);
        EXPECT_EQ(result.isBatch, c.isBatch);
    }
}

TEST(JSONRPCCodec, ParamsAreAlwaysAnObject) {
    const std::pair<std::string, json> cases[] = {
        {R"({"jsonrpc":"2.0","method":"a"})", json::object()},
        {R"({"jsonrpc":"2.0","method":"a","params":null})", json::object()},
        {R"({"jsonrpc":"2.0","method":"a","params":{"b/c":[1,"é"]}})", {{"b/c", {1, "é"}}}},
    };
    for (const auto& [body, params] : cases) {
        SCOPED_TRACE(body);
        EXPECT_EQ(decoded(body).messages.at(0).params, params);
    }
}

TEST(JSONRPCCodec, ReadsIds) {
    using Limits = std::numeric_limits<std::int64_t>;
    struct Case {
        std::string id;
        std::optional<JSONRPCID> expected;
    };
    const Case cases[] = {
        {R"("abc")", JSONRPCID::string("abc")},
        {R"("7")", JSONRPCID::string("7")},
        {"7", JSONRPCID::number(7)},
        {"-7", JSONRPCID::number(-7)},
        {"1.7", JSONRPCID::number(1)},
        {"-1.7", JSONRPCID::number(-1)},
        {"9223372036854775807", JSONRPCID::number(Limits::max())},
        {"18446744073709551615", JSONRPCID::number(Limits::max())},
        {"1e19", JSONRPCID::number(Limits::max())},
        {"9223372036854775808.0", JSONRPCID::number(Limits::max())},
        {"-9223372036854775808", JSONRPCID::number(Limits::min())},
        {"-1e300", JSONRPCID::number(Limits::min())},
        {"true", std::nullopt},
        {"false", std::nullopt},
        {"null", std::nullopt},
        {"{}", std::nullopt},
        {"[1]", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(JSONRPCCodec::bridgeValue(json::parse(c.id)), c.expected);
        EXPECT_EQ(decoded(R"({"jsonrpc":"2.0","method":"a","id":)" + c.id + "}").messages.at(0).id, c.expected);
    }
    EXPECT_EQ(decoded(R"({"jsonrpc":"2.0","method":"a"})").messages.at(0).id, std::nullopt);
}

// Moved out of the parsed body rather than copied: copying recurses as deep
// as the client nests.
TEST(JSONRPCCodec, DeeplyNestedParamsDecode) {
    const std::size_t depth = 200000;
    const std::string body =
        R"({"jsonrpc":"2.0","method":"a","params":{"deep":)" + std::string(depth, '[') + std::string(depth, ']') + "}}";
    EXPECT_TRUE(decoded(body).messages.at(0).params.at("deep").is_array());
}

TEST(JSONRPCCodec, WritesCompactlyWithSortedKeysAndBareSlashes) {
    struct Case {
        json value;
        std::string text;
    };
    const Case cases[] = {
        {JSONRPCCodec::errorResponse(std::nullopt, -32700, "Parse error"),
         R"({"error":{"code":-32700,"message":"Parse error"},"id":null,"jsonrpc":"2.0"})"},
        {JSONRPCCodec::errorResponse(JSONRPCID::number(7), -32601, "Method not found: a/b"),
         R"({"error":{"code":-32601,"message":"Method not found: a/b"},"id":7,"jsonrpc":"2.0"})"},
        {JSONRPCCodec::errorResponse(JSONRPCID::string("7"), 1, "“quoted” — \"escaped\"\n"),
         R"({"error":{"code":1,"message":"“quoted” — \"escaped\"\n"},"id":"7","jsonrpc":"2.0"})"},
        {json::array({json::object(), {{"z", 1}, {"a", {{"y", true}, {"b", nullptr}}}}}),
         R"([{},{"a":{"b":null,"y":true},"z":1}])"},
        {json{{"ratio", 0.5}, {"big", 9007199254740993}}, R"({"big":9007199254740993,"ratio":0.5})"},
        // Not UTF-8 (only code of ours could make such a string): written
        // with a replacement character rather than dropping the reply.
        {json{{"text", "a\xFF"}}, "{\"text\":\"a\xEF\xBF\xBD\"}"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(serialized(c.value), c.text);
    }
}
