#include "mcp/HTTPRequestParser.h"

#include <gtest/gtest.h>

#include <string>

using namespace Qt::StringLiterals;
using namespace tavlin::mcp;
using HTTPRequestParser::Incomplete;
using HTTPRequestParser::Malformed;
using HTTPRequestParser::Outcome;
using HTTPRequestParser::Request;

namespace {

// One line per outcome, so that tables compare and report plainly.
std::string described(const Outcome& outcome) {
    if (std::holds_alternative<Incomplete>(outcome)) return "incomplete";
    if (const auto* malformed = std::get_if<Malformed>(&outcome)) {
        return std::to_string(malformed->status) + " " + malformed->reason.toStdString();
    }
    const auto& request = std::get<Request>(outcome);
    return "request " + request.request.method.toStdString() + " " + request.request.target.toStdString() + " body " +
           std::to_string(request.request.body.size()) + " consumed " + std::to_string(request.consumed);
}

std::string parsed(const std::string& bytes) { return described(HTTPRequestParser::parse(QByteArrayView(bytes))); }

// A request whose head (request line and header lines, without the blank
// line) is exactly `headBytes` long.
std::string requestWithHead(std::size_t headBytes) {
    const std::string start = "POST /mcp HTTP/1.1\r\nX-Pad: ";
    return start + std::string(headBytes - start.size(), 'p') + "\r\n\r\n";
}

const Request& requestOf(const Outcome& outcome) {
    const auto* request = std::get_if<Request>(&outcome);
    if (!request) throw std::runtime_error("not a request: " + described(outcome));
    return *request;
}

}  // namespace

TEST(HTTPRequestParser, OutcomesOfRawBytes) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string outcome;
    };
    const std::string get = "GET /mcp HTTP/1.1\r\n";
    const Case cases[] = {
        // The head limit.
        {"nothing yet", "", "incomplete"},
        {"16384 bytes without a blank line", std::string(16384, 'a'), "incomplete"},
        {"16385 bytes without a blank line", std::string(16385, 'a'), "431 Request headers too large"},
        {"a head of 16384 bytes passes", requestWithHead(16384), "request POST /mcp body 0 consumed 16388"},
        {"a head of 16385 bytes", requestWithHead(16385), "431 Request headers too large"},
        {"16384 bytes, then a CR", std::string(16384, 'a') + "\r", "incomplete"},
        {"16384 bytes, then CR LF", std::string(16384, 'a') + "\r\n", "incomplete"},
        {"16384 bytes, then CR LF CR", std::string(16384, 'a') + "\r\n\r", "incomplete"},
        {"16384 bytes, then a byte that starts no terminator", std::string(16384, 'a') + "\n",
         "431 Request headers too large"},
        {"16385 bytes, then a CR", std::string(16385, 'a') + "\r", "431 Request headers too large"},
        {"16384 bytes, then CR LF and a letter", std::string(16384, 'a') + "\r\nX", "431 Request headers too large"},
        {"bare LF never ends the head", "GET /mcp HTTP/1.1\nHost: localhost\n\n", "incomplete"},
        {"bare LF past the limit", "GET /mcp HTTP/1.1\n" + std::string(16384, 'a') + "\n\n",
         "431 Request headers too large"},
        // The head's text.
        {"head not UTF-8", "GET /caf\xE9 HTTP/1.1\r\n\r\n", "400 Request head is not UTF-8"},
        {"overlong UTF-8 in the head", "GET /\xC0\xAF HTTP/1.1\r\n\r\n", "400 Request head is not UTF-8"},
        {"UTF-8 is decided before the request line", "G\xFF\r\n\r\n", "400 Request head is not UTF-8"},
        {"UTF-8 in the head", "GET /caf\xC3\xA9 HTTP/1.1\r\n\r\n", "request GET /café body 0 consumed 23"},
        {"a body that is not UTF-8", "POST /mcp HTTP/1.1\r\nContent-Length: 2\r\n\r\n\xFF\xFE",
         "request POST /mcp body 2 consumed 43"},
        // The request line.
        {"a run of spaces separates once", "GET  /mcp   HTTP/1.1 \r\n\r\n", "request GET /mcp body 0 consumed 25"},
        {"spaces at either end", "  GET /mcp HTTP/1.1\r\n\r\n", "request GET /mcp body 0 consumed 23"},
        {"HTTP/1.0", "GET /mcp HTTP/1.0\r\n\r\n", "request GET /mcp body 0 consumed 21"},
        {"any minor version", "GET /mcp HTTP/1.9\r\n\r\n", "request GET /mcp body 0 consumed 21"},
        {"two words", "GET /mcp\r\n\r\n", "400 Malformed request line"},
        {"four words", "GET /mcp HTTP/1.1 more\r\n\r\n", "400 Malformed request line"},
        {"HTTP/2", "GET /mcp HTTP/2\r\n\r\n", "400 Malformed request line"},
        {"version in lower case", "GET /mcp http/1.1\r\n\r\n", "400 Malformed request line"},
        {"a tab is no separator", "GET\t/mcp HTTP/1.1\r\n\r\n", "400 Malformed request line"},
        {"an empty head", "\r\n\r\n", "400 Malformed request line"},
        {"the request line decides first", "GET /mcp\r\nContent-Length: x\r\n\r\n", "400 Malformed request line"},
        // Header lines.
        {"a line without a colon", get + "Host localhost\r\n\r\n", "400 Malformed header"},
        {"an empty name", get + ": value\r\n\r\n", "400 Malformed header"},
        {"a name of white space", get + " \t: value\r\n\r\n", "400 Malformed header"},
        {"a bare CR inside a line", get + "Host: a\rb\r\nX\r\n\r\n", "400 Malformed header"},
        // Transfer-Encoding.
        {"chunked", get + "Transfer-Encoding: chunked\r\n\r\n", "501 Transfer-Encoding is not supported"},
        {"identity in any case", get + "Transfer-Encoding: Identity\r\n\r\n", "request GET /mcp body 0 consumed 50"},
        {"encoding before length", get + "Transfer-Encoding: gzip\r\nContent-Length: x\r\n\r\n",
         "501 Transfer-Encoding is not supported"},
        // Content-Length.
        {"the largest body, not yet arrived", get + "Content-Length: 4194304\r\n\r\n", "incomplete"},
        {"one byte more, refused at once", get + "Content-Length: 4194305\r\n\r\n", "413 Request body too large"},
        {"negative", get + "Content-Length: -1\r\n\r\n", "400 Malformed Content-Length"},
        {"trailing letters", get + "Content-Length: 12abc\r\n\r\n", "400 Malformed Content-Length"},
        {"empty", get + "Content-Length:\r\n\r\n", "400 Malformed Content-Length"},
        {"a sign alone", get + "Content-Length: +\r\n\r\n", "400 Malformed Content-Length"},
        {"a space inside", get + "Content-Length: 1 2\r\n\r\n", "400 Malformed Content-Length"},
        {"non-ASCII digits", get + "Content-Length: \xD9\xA3\r\n\r\n", "400 Malformed Content-Length"},
        {"beyond 64 bits", get + "Content-Length: 99999999999999999999\r\n\r\n", "400 Malformed Content-Length"},
        {"just beyond 64 bits", get + "Content-Length: 9223372036854775808\r\n\r\n", "400 Malformed Content-Length"},
        {"the 64-bit maximum", get + "Content-Length: 9223372036854775807\r\n\r\n", "413 Request body too large"},
        {"a plus sign", get + "Content-Length: +5\r\n\r\nhello", "request GET /mcp body 5 consumed 46"},
        {"minus zero", get + "Content-Length: -0\r\n\r\n", "request GET /mcp body 0 consumed 41"},
        {"leading zeros", get + "Content-Length: 007\r\n\r\n1234567", "request GET /mcp body 7 consumed 49"},
        {"body still arriving", get + "Content-Length: 5\r\n\r\nhell", "incomplete"},
        {"the last repeated length counts", get + "Content-Length: 9\r\ncontent-length: 1\r\n\r\nab",
         "request GET /mcp body 1 consumed 60"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(parsed(c.bytes), c.outcome);
    }
}

TEST(HTTPRequestParser, ReadsTheRequestAsSent) {
    const std::string bytes =
        "post /MCP/Tools?Cursor=A%2Fb&x=1 HTTP/1.1\r\n"
        "Host: first\r\n"
        "HOST:\t localhost:41733 \t\r\n"
        "X-Colons: a:b:c\r\n"
        "X-Spaces:\xC2\xA0 kept inside \xE2\x80\x83\r\n"
        "Content-Length: 4\r\n"
        "\r\n"
        "body";
    const Request request = requestOf(HTTPRequestParser::parse(QByteArrayView(bytes)));
    EXPECT_EQ(request.request, (HTTPRequest{
                                   .method = u"POST"_s,
                                   .target = u"/MCP/Tools?Cursor=A%2Fb&x=1"_s,
                                   .headers = {{u"host"_s, u"localhost:41733"_s},
                                               {u"x-colons"_s, u"a:b:c"_s},
                                               {u"x-spaces"_s, u"kept inside"_s},
                                               {u"content-length"_s, u"4"_s}},
                                   .body = "body",
                               }));
    EXPECT_EQ(request.request.header(u"Content-LENGTH"_s), u"4"_s);
    EXPECT_EQ(request.request.header(u"origin"_s), std::nullopt);
    EXPECT_EQ(request.request.path(), u"/MCP/Tools"_s);
}

TEST(HTTPRequestParser, PathIsTheTargetUpToItsFirstQuestionMark) {
    const std::pair<QString, QString> cases[] = {
        {u"/mcp"_s, u"/mcp"_s},
        {u"/mcp?a=1?b=2"_s, u"/mcp"_s},
        {u"?only=query"_s, u""_s},
        {u"*"_s, u"*"_s},
    };
    for (const auto& [target, path] : cases) {
        SCOPED_TRACE(target.toStdString());
        EXPECT_EQ(HTTPRequest{.target = target}.path(), path);
    }
}

TEST(HTTPRequestParser, PipelinedRequestsFollowOneAnother) {
    const std::string first = "POST /mcp HTTP/1.1\r\nContent-Length: 3\r\n\r\none";
    const std::string second = "DELETE /mcp HTTP/1.1\r\n\r\n";
    const std::string buffer = first + second + "GET /mcp HT";

    const Request one = requestOf(HTTPRequestParser::parse(QByteArrayView(buffer)));
    EXPECT_EQ(one.request.body, "one");
    ASSERT_EQ(one.consumed, static_cast<qsizetype>(first.size()));

    const std::string rest = buffer.substr(one.consumed);
    const Request two = requestOf(HTTPRequestParser::parse(QByteArrayView(rest)));
    EXPECT_EQ(two.request.method, u"DELETE"_s);
    ASSERT_EQ(two.consumed, static_cast<qsizetype>(second.size()));

    EXPECT_EQ(parsed(rest.substr(two.consumed)), "incomplete");
}

// However TCP splits the bytes, a buffer that is a beginning of a request
// waits, and the whole request is read at once when its last byte arrives.
TEST(HTTPRequestParser, EveryBeginningOfARequestWaits) {
    const std::string requests[] = {
        "POST /mcp HTTP/1.1\r\nHost: localhost\r\nContent-Length: 5\r\n\r\nhello",
        requestWithHead(16384),
    };
    for (const std::string& request : requests) {
        SCOPED_TRACE(request.substr(0, 30));
        for (std::size_t length = 0; length < request.size(); ++length) {
            if (parsed(request.substr(0, length)) != "incomplete") {
                ADD_FAILURE() << "refused after " << length << " of " << request.size() << " bytes";
                break;
            }
        }
        EXPECT_EQ(requestOf(HTTPRequestParser::parse(QByteArrayView(request))).consumed,
                  static_cast<qsizetype>(request.size()));
    }
}
