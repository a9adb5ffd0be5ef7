#include "mcp/HTTPResponse.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace tavlin::mcp;

TEST(HTTPResponse, WritesStatusLineHeadersAndBody) {
    struct Case {
        const char* name;
        HTTPResponse response;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"an answer without a reply",
         {202, {}, {}},
         "HTTP/1.1 202 Accepted\r\nContent-Length: 0\r\nConnection: keep-alive\r\n\r\n"},
        {"a JSON reply",
         {200, {{u"Content-Type"_s, u"application/json"_s}}, R"({"id":1})"},
         "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: 8\r\n"
         "Connection: keep-alive\r\n\r\n{\"id\":1}"},
        {"headers in their order",
         {204, {{u"B"_s, u"2"_s}, {u"A"_s, u"1"_s}}, {}},
         "HTTP/1.1 204 No Content\r\nB: 2\r\nA: 1\r\nContent-Length: 0\r\nConnection: keep-alive\r\n\r\n"},
        {"a status without a phrase",
         {299, {}, {}},
         "HTTP/1.1 299 Status 299\r\nContent-Length: 0\r\nConnection: keep-alive\r\n\r\n"},
        {"the long phrases",
         {431, {}, "x"},
         "HTTP/1.1 431 Request Header Fields Too Large\r\nContent-Length: 1\r\nConnection: keep-alive\r\n\r\nx"},
        {"a body that is not text",
         {413, {}, QByteArray("\0\xFF", 2)},
         QByteArray("HTTP/1.1 413 Content Too Large\r\nContent-Length: 2\r\nConnection: keep-alive\r\n\r\n") +
             QByteArray("\0\xFF", 2)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.response.serialize(), c.bytes);
    }
}

TEST(HTTPResponse, PlainTextPutsItsContentTypeFirstAndCountsUTF8Bytes) {
    const HTTPResponse unauthorized =
        HTTPResponse::text(401, u"Send the token from “mcp.json”."_s, {{u"WWW-Authenticate"_s, u"Bearer"_s}});
    EXPECT_EQ(unauthorized.serialize(),
              "HTTP/1.1 401 Unauthorized\r\n"
              "Content-Type: text/plain; charset=utf-8\r\n"
              "WWW-Authenticate: Bearer\r\n"
              "Content-Length: 36\r\n"
              "Connection: keep-alive\r\n"
              "\r\n"
              "Send the token from \xE2\x80\x9Cmcp.json\xE2\x80\x9D.\n");

    EXPECT_EQ(HTTPResponse::text(400, u"Malformed header"_s).serialize(),
              "HTTP/1.1 400 Bad Request\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Length: 17\r\n"
              "Connection: keep-alive\r\n\r\nMalformed header\n");
}
