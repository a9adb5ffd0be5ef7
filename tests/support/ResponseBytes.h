#pragma once

#include <QByteArray>

#include <optional>

// Where the HTTP response that starts at `start` in `bytes` ends: after its
// head, the blank line and Content-Length bytes of body (none without that
// header). Nothing until all of it has arrived.
inline std::optional<qsizetype> responseEnd(const QByteArray& bytes, qsizetype start = 0) {
    const qsizetype headEnd = bytes.indexOf("\r\n\r\n", start);
    if (headEnd < 0) return std::nullopt;
    const QByteArray head = bytes.mid(start, headEnd - start);
    const QByteArray name = "Content-Length: ";
    const qsizetype lengthAt = head.indexOf(name);
    const qsizetype length =
        lengthAt < 0
            ? 0
            : head.mid(lengthAt + name.size(), head.indexOf("\r\n", lengthAt) - lengthAt - name.size()).toLongLong();
    const qsizetype end = headEnd + 4 + length;
    if (end > bytes.size()) return std::nullopt;
    return end;
}
