#pragma once

#include <QByteArray>
#include <QString>

#include <utility>
#include <vector>

namespace tavlin::mcp {

// One answer on a connection. The writer adds Content-Length and Connection
// itself; `headers` never carries them.
struct HTTPResponse {
    using Headers = std::vector<std::pair<QString, QString>>;

    int status = 200;
    Headers headers;  // written in this order
    QByteArray body;

    // A plain-text answer: the message and a line feed, as UTF-8.
    static HTTPResponse text(int status, const QString& message, Headers extraHeaders = {});

    // The bytes to send.
    QByteArray serialize() const;
};

}  // namespace tavlin::mcp
