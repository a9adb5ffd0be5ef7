#include "mcp/HTTPRequestParser.h"

#include "platform/Text.h"

#include <QStringDecoder>
#include <QStringList>

#include <algorithm>
#include <limits>
#include <optional>

using namespace Qt::StringLiterals;

namespace tavlin::mcp::HTTPRequestParser {

namespace {

constexpr QByteArrayView headTerminator = "\r\n\r\n";

Malformed malformedHeader() { return {400, u"Malformed header"_s}; }

// Whether the head can still end within the limit: the buffer holds no more
// than the limit, or it ends in the first bytes of a terminator that starts
// at or before it. So a head of exactly the limit waits for the rest of its
// terminator however TCP splits the bytes.
bool headCanStillEnd(QByteArrayView buffer) {
    const qsizetype size = buffer.size();
    const qsizetype lastStart = std::min(size, maxHeadBytes);
    for (qsizetype start = std::max<qsizetype>(0, size - (headTerminator.size() - 1)); start <= lastStart; ++start) {
        if (headTerminator.startsWith(buffer.sliced(start))) return true;
    }
    return false;
}

std::optional<QString> decodedUtf8(QByteArrayView bytes) {
    // Kept as sent: an initial byte-order mark stays part of the text.
    QStringDecoder decoder(QStringConverter::Utf8,
                           QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) return std::nullopt;
    return text;
}

// A decimal integer with an optional sign, as long as it is not negative and
// fits in 64 bits.
std::optional<qint64> nonNegativeDecimal(QStringView text) {
    bool negative = false;
    if (text.startsWith(u'+') || text.startsWith(u'-')) {
        negative = text.front() == u'-';
        text = text.sliced(1);
    }
    if (text.isEmpty()) return std::nullopt;
    qint64 value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        const int digit = c.unicode() - u'0';
        if (value > (std::numeric_limits<qint64>::max() - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
    }
    if (negative && value != 0) return std::nullopt;
    return value;
}

// The request without its body.
std::variant<HTTPRequest, Malformed> parsedHead(const QString& text) {
    const QStringList lines = text.split(u"\r\n"_s);
    const QStringList words = lines.front().split(u' ', Qt::SkipEmptyParts);
    if (words.size() != 3 || !words[2].startsWith(u"HTTP/1."_s)) {
        return Malformed{400, u"Malformed request line"_s};
    }

    HTTPRequest head{platform::uppercasedPosix(words[0]), words[1], {}, {}};
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString& line = lines[i];
        const qsizetype colon = line.indexOf(u':');
        if (colon < 0) return malformedHeader();
        QString name = platform::lowercasedPosix(platform::trimmedWhitespace(line.first(colon)));
        if (name.isEmpty()) return malformedHeader();
        head.headers.insert_or_assign(std::move(name), platform::trimmedWhitespace(line.sliced(colon + 1)));
    }
    return head;
}

// The body length the head announces, or why it is refused.
std::variant<qint64, Malformed> bodyLength(const HTTPRequest& head) {
    const std::optional<QString> transferEncoding = head.header(u"transfer-encoding"_s);
    if (transferEncoding && platform::lowercasedPosix(*transferEncoding) != u"identity"_s) {
        return Malformed{501, u"Transfer-Encoding is not supported"_s};
    }
    const std::optional<QString> contentLength = head.header(u"content-length"_s);
    if (!contentLength) return qint64{0};
    const std::optional<qint64> length = nonNegativeDecimal(*contentLength);
    if (!length) return Malformed{400, u"Malformed Content-Length"_s};
    if (*length > maxBodyBytes) return Malformed{413, u"Request body too large"_s};
    return *length;
}

// Where the head ends, or -1. A terminator that starts past the limit would
// refuse the head anyway, so the search stops there and rescanning a growing
// buffer stays cheap.
qsizetype headEndIn(QByteArrayView buffer) {
    const qsizetype searched = std::min(buffer.size(), maxHeadBytes + headTerminator.size());
    return buffer.first(searched).indexOf(headTerminator);
}

}  // namespace

bool holdsWholeHead(QByteArrayView buffer) { return headEndIn(buffer) >= 0; }

Outcome parse(QByteArrayView buffer) {
    const qsizetype headEnd = headEndIn(buffer);
    if (headEnd < 0) {
        if (headCanStillEnd(buffer)) return Incomplete{};
        return Malformed{431, u"Request headers too large"_s};
    }

    const std::optional<QString> headText = decodedUtf8(buffer.first(headEnd));
    if (!headText) return Malformed{400, u"Request head is not UTF-8"_s};

    auto head = parsedHead(*headText);
    if (auto* malformed = std::get_if<Malformed>(&head)) return std::move(*malformed);
    HTTPRequest& parsed = std::get<HTTPRequest>(head);

    const auto length = bodyLength(parsed);
    if (auto* malformed = std::get_if<Malformed>(&length)) return *malformed;
    const qint64 bodySize = std::get<qint64>(length);

    const qsizetype bodyStart = headEnd + headTerminator.size();
    if (buffer.size() - bodyStart < bodySize) return Incomplete{};

    parsed.body = buffer.sliced(bodyStart, bodySize).toByteArray();
    return Request{.request = std::move(parsed), .consumed = bodyStart + bodySize};
}

}  // namespace tavlin::mcp::HTTPRequestParser
