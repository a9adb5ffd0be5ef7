#pragma once

#include "mcp/HTTPRequest.h"

#include <QByteArrayView>
#include <QString>

#include <variant>

// Reads one request from the bytes buffered on a connection. The parser keeps
// nothing between calls: the connection calls it again from the start of its
// buffer whenever bytes arrive, and removes what a request consumed.
namespace tavlin::mcp::HTTPRequestParser {

// The request line and header lines, without the blank line after them.
inline constexpr qsizetype maxHeadBytes = 16384;
// The largest Content-Length accepted.
inline constexpr qint64 maxBodyBytes = 4194304;

// A complete request; `consumed` counts its head, blank line and body.
// Bytes after those belong to the next request.
struct Request {
    HTTPRequest request;
    qsizetype consumed = 0;
    bool operator==(const Request&) const = default;
};

// The bytes can never become a valid request: answer with this status and
// reason, then close the connection.
struct Malformed {
    int status = 0;
    QString reason;
    bool operator==(const Malformed&) const = default;
};

// Wait for more bytes.
struct Incomplete {
    bool operator==(const Incomplete&) const = default;
};

using Outcome = std::variant<Request, Malformed, Incomplete>;

Outcome parse(QByteArrayView buffer);

// Whether the buffer holds a request's whole head (its body may still be
// coming).
bool holdsWholeHead(QByteArrayView buffer);

}  // namespace tavlin::mcp::HTTPRequestParser
