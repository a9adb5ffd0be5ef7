#pragma once

#include <QByteArray>
#include <QString>

#include <map>
#include <optional>

namespace tavlin::mcp {

// One request as the server's connections read it off the wire.
struct HTTPRequest {
    QString method;                      // upper-cased
    QString target;                      // as sent: path and query
    std::map<QString, QString> headers;  // names lower-cased; the last of repeated names wins
    QByteArray body;

    // The value of a header, whatever the case of `name`.
    std::optional<QString> header(const QString& name) const;
    // The target up to its first "?".
    QString path() const;

    bool operator==(const HTTPRequest&) const = default;
};

}  // namespace tavlin::mcp
